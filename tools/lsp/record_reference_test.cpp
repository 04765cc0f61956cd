// The table hover and completion read, held to the authors' reference
// (docs/authoring.md): every record kind is there, with its keyword, and every
// range and width the table gives a field is written in the page as it stands.
#include "tools/lsp/record_reference.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

// The page with every run of blanks and line ends as one blank, as it reads.
std::string authoring() {
    std::ifstream in(AUTHORING_PATH, std::ios::binary);
    EXPECT_TRUE(in) << AUTHORING_PATH;
    std::ostringstream text;
    text << in.rdbuf();
    std::string page;
    for (char c : text.str()) {
        const bool blank = c == ' ' || c == '\n' || c == '\r';
        if (!blank) page += c;
        else if (!page.empty() && page.back() != ' ') page += ' ';
    }
    return page;
}

}  // namespace

TEST(RecordReference, EveryKindOnceInTheReadersOrder) {
    const auto refs = record_references();
    ASSERT_EQ(refs.size(), static_cast<size_t>(RecordKind::Station) + 1);
    for (size_t i = 0; i < refs.size(); ++i) {
        EXPECT_EQ(refs[i].kind, static_cast<RecordKind>(i)) << refs[i].title;
        EXPECT_EQ(static_cast<int>(refs[i].fields.size()), traced_field_count(refs[i].kind)) << refs[i].title;
        EXPECT_EQ(&record_reference(refs[i].kind), &refs[i]);
        // Every name of a format number in the texts is one reference_text knows.
        EXPECT_EQ(reference_text(refs[i].summary).find('{'), std::string::npos) << refs[i].title;
        for (const FieldReference& f : refs[i].fields)
            EXPECT_EQ(reference_text(f.range).find('{'), std::string::npos) << refs[i].title << " " << f.name;
    }
}

TEST(RecordReference, SaysWhatTheAuthorsReferenceSays) {
    const std::string page = authoring();
    std::set<std::string> missing;
    for (const RecordReference& r : record_references()) {
        if (page.find(std::string(r.keyword)) == std::string::npos) missing.insert("keyword " + std::string(r.keyword));
        for (const FieldReference& f : r.fields) {
            if (page.find(reference_text(f.range)) == std::string::npos)
                missing.insert(std::string(r.title) + " " + std::string(f.name) + ": " + reference_text(f.range));
        }
    }
    for (const SectionHeader& h : section_headers()) {
        if (page.find(std::string(h.text)) == std::string::npos) missing.insert(std::string(h.text));
    }
    for (const CurveClass& c : curve_classes()) {
        if (page.find("| " + std::string(c.turnRate) + " |") == std::string::npos ||
            page.find(" " + std::string(c.radius) + " |") == std::string::npos)
            missing.insert("curve class " + std::to_string(c.number));
    }
    EXPECT_EQ(missing, std::set<std::string>{});
}
