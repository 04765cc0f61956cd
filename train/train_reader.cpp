// The train description reader, second half of memorizza_dati.
#include "core/form1.h"

void Form1::leggi_treno() {}
