// The two check codes computed from the scenario's names.
#include "core/form1.h"

int32_t Form1::codice_gara_st() { return 0; }
int32_t Form1::codice_gara_og() { return 0; }
