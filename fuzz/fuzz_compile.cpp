// Fuzz target: the whole compile pass on a pair of documents. The input is
// the line description, a NUL byte and the train description; without a NUL
// byte there is no train description at all.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_harness.h"
#include "fuzz/invariants.h"
#include "platform/platform.h"

std::vector<std::string> fuzz_compile(std::string_view input) {
    Form1 form = fresh_form();
    const size_t split = input.find('\0');
    put_document(form, form.line_document_name(), input.substr(0, split));
    if (split != std::string_view::npos) put_document(form, form.train_document_name(), input.substr(split + 1));
    std::vector<std::string> out;
    const RunEnd end = run_to_end([&] {
        form.memorizza_percorso(1);
        return kExitClean;
    });
    const bool written = end.status == kExitClean;
    if (end.failure) {
        // Only a grid that was never sized, or a caption too long for its
        // file, may end the pass.
        const platform::RunTimeFailure& failure = *end.failure;
        const bool expected = !form.grid.sized() || failure.operation == "encode scenario table";
        if (!expected)
            out.push_back("run-time failure: " + failure.operation + " " + failure.path + ": " + failure.reason);
    } else if (!written && end.status != kExitErrore) {
        out.push_back("the pass ended with status " + std::to_string(end.status));
    }
    append(out, form_violations(form, {}));
    append(out, document_violations(form));
    if (written) append(out, compiled_file_violations(form));
    if (!written) {
        for (const std::string& name : {form.line_data_name(), form.scenario_file_name(), form.grid_file_name()}) {
            if (platform::file_exists(form.file_path(name))) out.push_back(name + " written by a pass that failed");
        }
    }
    return out;
}

#ifdef SCENARIO_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_verdict(fuzz_compile(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
#endif
