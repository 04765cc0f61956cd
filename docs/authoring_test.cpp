// docs/authoring.md against the code: it names every error and warning code
// and every word the readers test keyword fields for, and its whole-document
// examples compile as it says they do.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string_view>
#include <vector>

#include "core/format.h"
#include "tools/codes/explanations.h"
#include "tools/testing/reported_codes.h"

namespace {

// The rows of the tables of the "Errors and warnings" section: code, title
// and the link to the explanation.
struct CodeRow {
    std::string title, link;
    bool operator==(const CodeRow&) const = default;
};
std::map<std::string, CodeRow> code_rows(const std::string& doc) {
    std::map<std::string, CodeRow> rows;
    std::istringstream lines(doc);
    bool inSection = false;
    const std::regex row(R"(^\|\s*(W?\d+)\s*\|\s*(.*?)\s*\|\s*(.*?)\s*\|$)");
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("## ", 0) == 0) inSection = line.find("Errors and warnings") != std::string::npos;
        std::smatch m;
        if (inSection && std::regex_match(line, m, row)) rows[m[1]] = {m[2], m[3]};
    }
    return rows;
}

std::string read_doc(const char* path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string authoring() { return read_doc(AUTHORING_PATH); }

std::string with_crlf(const std::string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }

// The whole-document examples: a fenced block after a marker
// "<!-- example NAME: line description -->" or "...: train description -->".
struct DocumentPair {
    std::string line, train;
};
std::map<std::string, DocumentPair> whole_examples(const std::string& doc) {
    std::map<std::string, DocumentPair> pairs;
    const std::regex block(R"(<!-- example (\S+): (line|train) description -->\n```text\n([\s\S]*?)```)");
    for (std::sregex_iterator m(doc.begin(), doc.end(), block), end; m != end; ++m) {
        DocumentPair& pair = pairs[(*m)[1]];
        ((*m)[2] == "line" ? pair.line : pair.train) = with_crlf((*m)[3]);
    }
    return pairs;
}

}  // namespace

TEST(AuthoringReference, ItsCodeTablesListEveryCodeWithItsTitleAndLink) {
    std::map<std::string, CodeRow> expected;
    for (const CodeEntry& entry : kCodes) {
        const std::string code = code_name(entry.code);
        expected[code] = {std::string(entry.title), "[explain " + code + "](explanations.md#" + code + ")"};
    }
    EXPECT_EQ(code_rows(authoring()), expected);
}

TEST(AuthoringReference, TheExplanationsPageIsWhatExplainWrites) {
    // Written by: scenario_tool explain --all --markdown > docs/explanations.md
    EXPECT_EQ(read_doc(EXPLANATIONS_PATH), render_explanations_page());
}

TEST(AuthoringReference, NamesEveryWordTheReadersTestKeywordFieldsFor) {
    // The words of the line description reader's and the train description
    // reader's keyword tests, the section opener and the curve's two forms among them.
    std::vector<std::string_view> words = {kGeneralSection, kCurveForms[0], kCurveForms[1]};
    for (const RecordFormat& format : kRecordFormats) {
        for (std::string_view word : format.words) {
            if (!word.empty()) words.push_back(word);
        }
    }
    ASSERT_GE(words.size(), std::size(kRecordFormats) + 3);  // every kind has one word at least
    const std::string doc = authoring();
    for (std::string_view word : words)
        EXPECT_NE(doc.find("`" + std::string(word) + "`"), std::string::npos) << word;
}

TEST(AuthoringReference, WholeDocumentExamplesCompileWithoutErrorOrWarning) {
    const auto pairs = whole_examples(authoring());
    ASSERT_GE(pairs.size(), 2u);
    for (const auto& [name, pair] : pairs) {
        ASSERT_FALSE(pair.line.empty()) << name;
        ASSERT_FALSE(pair.train.empty()) << name;
        EXPECT_EQ(reported_codes(pair.line, pair.train), std::vector<Code>{}) << name;
    }
}

TEST(AuthoringReference, ItsSmallestScenarioIsTheOneTheExplanationsBuildOn) {
    const auto pairs = whole_examples(authoring());
    ASSERT_TRUE(pairs.count("smallest"));
    EXPECT_EQ(pairs.at("smallest").line, example_line_document(Example{}));
    EXPECT_EQ(pairs.at("smallest").train, example_train_document(Example{}));
}
