// The warnings of the check as a whole: a sound pair gives none, and every
// warning code has a fixture in its family's test.
#include "tools/diagnostics/warnings.h"

#include <gtest/gtest.h>

#include <set>

#include "tools/codes/code.h"
#include "tools/diagnostics/test_warning_fixtures.h"

namespace {

using namespace warning_fixtures;

TEST(CheckWarnings, TheSoundBaseGivesNone) {
    const Fixture base{.name = "base"};
    EXPECT_TRUE(check_fixture(base).diagnostics.empty());
}

TEST(CheckWarnings, EveryWarningCodeHasAFixture) {
    std::set<std::string> covered;
    for (const auto* family : {&kLostRowFixtures, &kStoredValueFixtures, &kRouteAndTimetableFixtures}) {
        for (const Fixture& f : *family) {
            for (const Found& found : f.expected) covered.insert(std::get<2>(found));
        }
    }
    size_t warnings = 0;
    for (const CodeEntry& entry : kCodes) {
        if (entry.code.severity() != Severity::Warning) continue;
        ++warnings;
        EXPECT_TRUE(covered.count(code_name(entry.code))) << code_name(entry.code) << " has no fixture";
    }
    EXPECT_GT(warnings, 0u);
}

}  // namespace
