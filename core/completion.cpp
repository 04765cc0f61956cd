// Reset of the scenario table and the grid completion pass.
#include "core/form1.h"

void Form1::azzera_tabella() {
    for (ScenarioSlot& slot : scenario) slot = ScenarioSlot{};
}

void Form1::completa_griglia() { (void)grid.upper(); }

void Form1::verifica_riservati() {}
