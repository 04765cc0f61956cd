#include "tools/diagnostics/warnings.h"

#include "tools/diagnostics/lost_rows_warnings.h"
#include "tools/diagnostics/route_and_timetable_warnings.h"
#include "tools/diagnostics/stored_value_warnings.h"
#include "tools/diagnostics/warning_finder.h"

std::vector<FoundWarning> find_warnings(const Form1& form, const AuthorDocument& line, const AuthorDocument& train) {
    warning_rules::WarningFinder finder(form, line, train);
    // The rule of every warning, as the warning table names it; a rule that
    // finds several warnings stands on their consecutive rows and runs once.
    using Rule = void (*)(warning_rules::WarningFinder&);
    static constexpr Rule kRules[] = {
#define WARNING_CODE(name, number, rule, title) &warning_rules::rule,
#include "tools/codes/warning_codes.def"
    };
    const Rule* previous = nullptr;
    for (const Rule& rule : kRules) {
        if (previous == nullptr || rule != *previous) rule(finder);
        previous = &rule;
    }
    return finder.take_found();
}
