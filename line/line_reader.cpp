// The line description reader, first half of memorizza_dati.
#include "core/form1.h"

bool Form1::leggi_linea() {
    errorCode = 101;
    return false;
}
