// Ordering of the three kilometric progressive definitions in slots 81 to 83.
#include "core/form1.h"

void Form1::progressive_ordina() {}
