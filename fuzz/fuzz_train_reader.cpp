// Fuzz target: the train description reader and the completion pass that
// works on what it placed. The input is the train description; the line
// description is the built-in one.
#include <cstddef>
#include <cstdint>

#include "core/error_codes.h"
#include "fuzz/fuzz_harness.h"
#include "fuzz/invariants.h"
#include "platform/platform.h"

std::vector<std::string> fuzz_train_reader(std::string_view input) {
    Form1 form = fresh_form();
    form.dati_linea();
    put_document(form, form.train_document_name(), input);
    std::vector<std::string> out;
    const RunEnd end = run_to_end([&] {
        form.memorizza_percorso(0);  // no line table: the train half does not use it
        return kExitClean;
    });
    const bool written = end.status == kExitClean;
    if (end.failure) {
        // The grid is always sized here: only a caption or name too long for
        // the scenario file may end the pass.
        const platform::RunTimeFailure& failure = *end.failure;
        if (failure.operation != "encode scenario table")
            out.push_back("run-time failure: " + failure.operation + " " + failure.path + ": " + failure.reason);
    } else if (!written && end.status != kExitErrore) {
        out.push_back("the pass ended with status " + std::to_string(end.status));
    }
    append(out, form_violations(form, {
        kProgressiveNotOnCell, kAbbattimentoCellTaken, kStationNotOnCell, kStationLengthOdd,
        kStationSlotsUsedUp, kSignalCapsTaken, kStartCapsTaken, kInsideCapsTaken, kNoRoomOnGrid,
        kSignalCellTaken, kWarningCellTaken, kStartCellTaken, kEndCellTaken, kApproachCellTaken,
        kStationsTooClose, kStationTooEarly, kReadFailure, kNegativePosition, kStationBeyondGrid,
        kSlowDownOutside}));
    append(out, document_violations(form));
    if (written) append(out, compiled_file_violations(form));
    if (!written) {
        for (const std::string& name : {form.scenario_file_name(), form.grid_file_name()}) {
            if (platform::file_exists(form.file_path(name))) out.push_back(name + " written by a pass that failed");
        }
    }
    return out;
}

#ifdef SCENARIO_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_verdict(fuzz_train_reader(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
#endif
