// Test helper for the Windows build: shows the wait window, then reports the
// error number given as first argument (default the first reserved-field
// message) through Form1::errore, which waits for the box to be closed and
// ends the program. Never shipped.
#include <string>

#include "core/error_codes.h"
#include "core/form1.h"
#include "core/run_end.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    const RunEnd end = run_to_end([&] {
        Form1 form(platform::program_folder());
        form.routeName = "Bresta_Vilcar";
        form.trainCode = "RX907";
        platform::show_wait_window("Attendere");
        form.errore(argc > 1 ? argv[1] : std::to_string(kMarkerFieldsInUse));
        return kExitClean;
    });
    platform::end_process(reported_status(end));
}
