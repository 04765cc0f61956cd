// docs/authoring.md against the code: it names every error and warning code
// and every word the readers test keyword fields for, and its whole-document
// examples compile as it says they do.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "tools/explanations.h"
#include "tools/reported_codes.h"

namespace {

std::string authoring() {
    std::ifstream in(AUTHORING_PATH, std::ios::binary);
    EXPECT_TRUE(in) << AUTHORING_PATH;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The codes in the first column of the tables of the "Errors and warnings" section.
std::set<std::string> table_codes(const std::string& doc) {
    std::set<std::string> codes;
    std::istringstream lines(doc);
    bool inSection = false;
    const std::regex row(R"(^\|\s*(W?\d+)\s*\|)");
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("## ", 0) == 0) inSection = line.find("Errors and warnings") != std::string::npos;
        std::smatch m;
        if (inSection && std::regex_search(line, m, row)) codes.insert(m[1]);
    }
    return codes;
}

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

TEST(AuthoringReference, ItsCodeTablesListExactlyTheExplainedCodes) {
    std::set<std::string> explained;
    for (const Explanation& e : explanations()) explained.insert(code_name(e.code));
    EXPECT_EQ(table_codes(authoring()), explained);
}

TEST(AuthoringReference, NamesEveryWordTheReadersTestKeywordFieldsFor) {
    // The words of the line description reader's and the train description
    // reader's keyword tests, the section opener among them.
    const char* words[] = {
        "[generale]", "lunghezza", "percorso", "progressiva", "uno", "due", "tre", "sfondo", "ripetizione",
        "segnali", "pendenza", "curva", "curvad", "curvas", "montagna", "indicatori_v", "cartello", "indicat",
        "frenata", "massa", "vetture", "velocit", "aderenza", "orologio", "sabbia", "segnale", "rallentamento",
        "abbattimento", "stazione",
    };
    const std::string doc = authoring();
    for (const char* word : words) EXPECT_NE(doc.find("`" + std::string(word) + "`"), std::string::npos) << word;
}

TEST(AuthoringReference, WholeDocumentExamplesCompileWithoutErrorOrWarning) {
    const auto pairs = whole_examples(authoring());
    ASSERT_GE(pairs.size(), 2u);
    for (const auto& [name, pair] : pairs) {
        ASSERT_FALSE(pair.line.empty()) << name;
        ASSERT_FALSE(pair.train.empty()) << name;
        EXPECT_EQ(reported_codes(pair.line, pair.train), std::vector<CodeRef>{}) << name;
    }
}

TEST(AuthoringReference, ItsSmallestScenarioIsTheOneTheExplanationsBuildOn) {
    const auto pairs = whole_examples(authoring());
    ASSERT_TRUE(pairs.count("smallest"));
    EXPECT_EQ(pairs.at("smallest").line, example_line_document(Example{}));
    EXPECT_EQ(pairs.at("smallest").train, example_train_document(Example{}));
}
