#include "core/form1.h"

void Form1::dati_linea() {}
void Form1::dati_treno() {}
void Form1::dati_note() {}
void Form1::dati_rallentamenti() {}
void Form1::dati_scheda() {}
