// The three compiled files: line data, scenario and grid.
#include "core/form1.h"

void Form1::scrivi_file_compilati() {}
