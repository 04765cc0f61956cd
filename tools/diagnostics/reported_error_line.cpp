#include "tools/diagnostics/reported_error_line.h"

std::vector<Code> write_reported_error(const Form1& form, const SourceDocument& line, const SourceDocument& train,
                                       std::ostream& err) {
    if (form.errorCode <= 0) return {};
    err << diagnostic(form, line, train) << '\n';
    return {reported_error(form)};
}
