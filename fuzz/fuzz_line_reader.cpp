// Fuzz target: the line description reader. The input is the line
// description; the train description that follows it holds no record.
#include <cstddef>
#include <cstdint>

#include "core/error_codes.h"
#include "fuzz/fuzz_harness.h"
#include "fuzz/invariants.h"
#include "platform/platform.h"

std::vector<std::string> fuzz_line_reader(std::string_view input) {
    Form1 form = fresh_form();
    put_document(form, form.line_document_name(), input);
    put_document(form, form.train_document_name(), "[generale]\r\n[fine]\r\n");
    form.j = 1;
    form.errorCode = 0;
    form.azzera_tabella();
    form.memorizza_dati();  // the readers handle every failure of their own
    std::vector<std::string> out =
        form_violations(form, {
            kRouteTooLong, kProgressiveNotOnCell, kRepetitionStartNotOnCell, kRepetitionEndNotOnCell,
            kRepetitionCodesUnnamed, kIndicationBoardCellTaken, kNoRoomOnGrid, kSpeedBoardCellTaken,
            kReadFailure, kNoGeneralSection, kBadCurve, kNegativePosition, kStretchBeyondGrid,
            kStretchListFull, kBoardListFull, kBoardValueTooLarge, kCurveBeyondLine, kGradientsCrowded,
            kNegativeRouteLength});
    append(out, document_violations(form));
    return out;
}

#ifdef SCENARIO_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_verdict(fuzz_line_reader(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
#endif
