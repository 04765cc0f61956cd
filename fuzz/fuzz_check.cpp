// Fuzz target: scenario_tool check against the compile pass. The input is the
// line description, a NUL byte and the train description, as for the compile
// target. The first error check reports must be the error compile reports
// (same code, document and line; a document in the other's place as compile
// refuses it), and without a compile error check reports none.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_harness.h"
#include "fuzz/invariants.h"
#include "platform/platform.h"
#include "tools/diagnostics/checker.h"
#include "tools/diagnostics/diagnostics.h"
#include "tools/diagnostics/misplaced_documents.h"

namespace {

// Enough passes to go past the first errors; a fuzzed million-metre route
// compiled fifty times would outlast the fuzzer's time limit per input.
constexpr int kFuzzMaxErrors = 8;

// What compile reports for the documents: its diagnostic's code, file and line.
struct Reported {
    std::optional<Code> code;  // nothing: no error
    std::string file;
    int32_t line = 0;
    bool boxOnly = false;  // a reserved-field message ended the pass: its box names no line
    bool failed = false;   // a run-time failure ended the pass
};

Reported compile_report(std::string_view lineText, std::optional<std::string_view> trainText,
                        std::vector<std::string>& violations) {
    Form1 form = fresh_form();
    form.erroreBox = false;
    form.trace.on = true;  // as scenario_tool compile runs it
    put_document(form, form.line_document_name(), lineText);
    if (trainText) put_document(form, form.train_document_name(), *trainText);
    Reported r;
    bool errore = false;
    try {
        form.memorizza_percorso(1);
    } catch (const ProgramEnd&) {
        errore = true;
    } catch (const platform::RunTimeFailure&) {
        r.failed = true;
    }
    append(violations, trace_violations(form));
    const SourceDocument line{"line.txt", std::string(lineText)};
    const SourceDocument train{"train.txt", std::string(trainText.value_or("")), trainText.has_value()};
    // compile refuses a document given in the other's place before anything else.
    const PassDocuments documents{line.text, trainText ? std::optional<std::string>(train.text) : std::nullopt};
    if (const std::optional<MisplacedDocument> misplaced = misplaced_document(form, documents, ScenarioNames{})) {
        r.code = kDocumentMisplaced;
        r.file = misplaced->place == Document::Line ? line.path : train.path;
        r.line = 1;
        r.failed = false;
        return r;
    }
    if (reported_error(form) > 0) {
        const ErrorPlace place = error_place(form, line, train);
        r.code = reported_error(form);
        r.file = place.document->path;
        r.line = place.line;
    } else if (errore) {
        const std::optional<ReservedFieldMessage> stop = reserved_field_stop(form);
        r.code = stop ? Code(*stop) : Code(kNoError);
        r.boxOnly = true;
    }
    return r;
}

}  // namespace

std::vector<std::string> fuzz_check(std::string_view input) {
    const size_t split = input.find('\0');
    const std::string_view lineText = input.substr(0, split);
    std::optional<std::string_view> trainText;
    if (split != std::string_view::npos) trainText = input.substr(split + 1);

    std::vector<std::string> out;
    const Reported compiled = compile_report(lineText, trainText, out);
    CheckResult result;
    try {
        result = check_sources({"line.txt", std::string(lineText)},
                               {"train.txt", trainText ? std::optional<std::string>(std::string(*trainText))
                                                       : std::nullopt},
                               ScenarioNames{}, kFuzzMaxErrors);
    } catch (const platform::RunTimeFailure& failure) {
        // Only what ends compile with a run-time failure may end the check.
        if (!compiled.failed) out.push_back(std::string("check failed: ") + failure.what());
        return out;
    }
    const Diagnostic* first = nullptr;
    for (const Diagnostic& d : result.diagnostics) {
        if (d.severity() == Severity::Error) {
            first = &d;
            break;
        }
    }
    if (!compiled.code) {
        if (first != nullptr)
            out.push_back("check reports error " + code_name(first->code) + " at " + first->file + ":" +
                          std::to_string(first->line) + " where compile reports none");
    } else if (first == nullptr) {
        out.push_back("check reports no error where compile reports " + code_name(*compiled.code));
    } else {
        const bool same = first->code == *compiled.code &&
                          (compiled.boxOnly || (first->file == compiled.file && first->line == compiled.line));
        if (!same)
            out.push_back("check's first error " + code_name(first->code) + " at " + first->file + ":" +
                          std::to_string(first->line) + ", compile's " + code_name(*compiled.code) + " at " +
                          compiled.file + ":" + std::to_string(compiled.line));
    }
    int errors = 0;
    for (const Diagnostic& d : result.diagnostics) errors += d.severity() == Severity::Error ? 1 : 0;
    if (errors != result.errors) out.push_back("error count does not match the diagnostics");
    if (result.errors > kFuzzMaxErrors) out.push_back("more errors than --max-errors");
    return out;
}

#ifdef SCENARIO_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_verdict(fuzz_check(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
#endif
