#include "tools/explain/explain.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/codes/explanations.h"

TEST(Explanations, ExplainPrintsTheFourPartsAndRefusesUnknownCodes) {
    std::ostringstream out, err;
    ASSERT_EQ(explain_codes({.codes = {"6"}}, out, err), 0);
    const std::string text = out.str();
    const Explanation& six = *find_explanation(kIndicationBoardCellTaken);
    size_t title = text.find("error 6: " + six.title);
    size_t meaning = text.find("What it means");
    size_t example = text.find("cartello_indicatore,  5000,   (PONTE)");
    size_t fix = text.find("How to fix it");
    EXPECT_EQ(title, 0u) << text;
    EXPECT_LT(title, meaning);
    EXPECT_LT(meaning, example);
    EXPECT_LT(example, fix);
    EXPECT_NE(fix, std::string::npos);

    for (std::vector<std::string> bad : {std::vector<std::string>{"9999"}, {"6", "x"}, {"W9999"}, {}}) {
        std::ostringstream o, e;
        EXPECT_EQ(explain_codes({.codes = bad}, o, e), 64);
        EXPECT_EQ(o.str(), "");
        EXPECT_NE(e.str(), "");
    }
}

TEST(Explanations, ListNamesEveryCodeOnceWithItsTitle) {
    std::ostringstream out, err;
    ASSERT_EQ(explain_codes({.codes = {}, .list = true}, out, err), 0);
    std::istringstream lines(out.str());
    std::vector<std::string> listed;
    for (std::string l; std::getline(lines, l);) listed.push_back(l);
    ASSERT_EQ(listed.size(), explanations().size());
    for (size_t n = 0; n < listed.size(); ++n) {
        const Explanation& e = explanations()[n];
        EXPECT_NE(listed[n].find(code_name(e.code) + "  " + e.title), std::string::npos) << listed[n];
    }
}
