// scenario_compiler: writes the built-in scenario's documents and compiles them
// into the three files the simulator loads, in the program's own folder.
#include <iostream>
#include <new>

#include "core/form1.h"
#include "platform/platform.h"

int main() {
    try {
        Form1 form(platform::program_folder());
        form.Form_Load();
        if (form.errorCode > 0) {
            std::cerr << "scenario_compiler: the scenario was compiled with error code "
                      << form.errorCode << std::endl;
            platform::end_process(kExitScenarioError);
        }
        platform::end_process(kExitClean);
    } catch (const ProgramEnd& end) {
        platform::end_process(end.status);
    } catch (const platform::RunTimeFailure& failure) {
        platform::report_failure(failure);
        platform::end_process(kExitRunTimeFailure);
    } catch (const std::bad_alloc&) {
        platform::report_failure(platform::RunTimeFailure("allocate", "memory", "out of memory"));
        platform::end_process(kExitRunTimeFailure);
    }
}
