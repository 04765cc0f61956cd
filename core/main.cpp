// scenario_compiler: writes the built-in scenario's documents and compiles them
// into the three files the simulator loads, in the program's own folder.
#include <iostream>

#include "core/form1.h"
#include "core/run_end.h"
#include "platform/platform.h"

int main() {
    const RunEnd end = run_to_end([] {
        Form1 form(platform::program_folder());
        form.Form_Load();
        if (form.errorCode > 0) {
            std::cerr << "scenario_compiler: the scenario was compiled with error code " << form.errorCode
                      << std::endl;
            return kExitScenarioError;
        }
        return kExitClean;
    });
    platform::end_process(reported_status(end));
}
