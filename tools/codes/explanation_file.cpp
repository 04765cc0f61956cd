// Reading an explanation file: a few fixed parts in a fixed order, each
// checked, so that a slip in a file fails its test with the line it is on.
#include "tools/codes/explanation_file.h"

#include <optional>

#include "tools/common/ascii_text.h"

namespace {

// The file's lines, without their line ends.
std::vector<std::string_view> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

class Reader {
public:
    explicit Reader(std::string_view text) : lines_(lines_of(text)) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw MalformedExplanation("line " + std::to_string(at_ + 1) + ": " + what);
    }
    void skip_blank_lines() {
        while (at_ < lines_.size() && lines_[at_].empty()) ++at_;
    }
    // The next line that is not blank; nothing at the end of the file.
    std::optional<std::string_view> next() {
        skip_blank_lines();
        if (at_ == lines_.size()) return std::nullopt;
        return lines_[at_];
    }
    void expect(std::string_view heading) {
        if (next() != heading) fail("expected \"" + std::string(heading) + "\"");
        ++at_;
    }
    // One paragraph: its lines joined by a blank.
    std::string paragraph() {
        skip_blank_lines();
        std::string text;
        for (; at_ < lines_.size() && !lines_[at_].empty() && !lines_[at_].starts_with("## "); ++at_)
            text += (text.empty() ? "" : " ") + std::string(lines_[at_]);
        if (text.empty()) fail("expected a paragraph");
        return text;
    }
    // The rows of a ```text block, each with its line end.
    std::string rows() {
        if (next() != "```text") fail("expected the rows in a ```text block");
        const size_t opening = at_++;
        std::string rows;
        for (; at_ < lines_.size() && lines_[at_] != "```"; ++at_) rows += std::string(lines_[at_]) + "\n";
        if (at_ == lines_.size()) {
            at_ = opening;
            fail("the ```text block is never closed");
        }
        if (rows.empty()) fail("the ```text block holds no rows");
        ++at_;
        return rows;
    }
    void advance() { ++at_; }

private:
    std::vector<std::string_view> lines_;
    size_t at_ = 0;
};

struct DocumentPart {
    const char* name;  // "line description"
    std::string Example::*rows;
    Placement Example::*placement;
};
constexpr DocumentPart kDocuments[] = {
    {"line description", &Example::line, &Example::linePlacement},
    {"train description", &Example::train, &Example::trainPlacement},
};

// The codes after "Also reported:", separated by commas.
std::vector<Code> reported_list(std::string_view list, const Reader& reader) {
    std::vector<Code> codes;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view item = spaces_trimmed(list.substr(0, comma));
        const std::optional<Code> code = parse_code(item);
        if (!code) reader.fail("\"" + std::string(item) + "\" is no error or warning code");
        codes.push_back(*code);
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
    if (codes.empty()) reader.fail("\"Also reported:\" names no code");
    return codes;
}

Example example(Reader& reader) {
    Example example;
    bool given[std::size(kDocuments)] = {};
    constexpr std::string_view kAlso = "Also reported:";
    for (std::optional<std::string_view> line = reader.next(); line && *line != "## How to fix it";
         line = reader.next()) {
        if (line->starts_with(kAlso)) {
            example.alsoReported = reported_list(line->substr(kAlso.size()), reader);
            reader.advance();
            continue;
        }
        bool known = false;
        for (size_t d = 0; d < std::size(kDocuments) && !known; ++d) {
            const std::string name = kDocuments[d].name;
            const std::pair<std::string, Placement> leads[] = {{"In the " + name + ":", Placement::Added},
                                                               {"The whole " + name + ":", Placement::Whole},
                                                               {"No " + name + " at all.", Placement::Missing}};
            for (const auto& [lead, placement] : leads) {
                if (*line != lead) continue;
                if (given[d]) reader.fail("the " + name + " is given twice");
                given[d] = known = true;
                reader.advance();
                example.*kDocuments[d].placement = placement;
                if (placement != Placement::Missing) example.*kDocuments[d].rows = reader.rows();
            }
        }
        if (!known)
            reader.fail("expected \"In the line description:\", \"The whole train description:\", \"No line "
                        "description at all.\" or the like, or \"Also reported:\"");
    }
    if (!given[0] && !given[1]) reader.fail("the example shows no document");
    return example;
}

}  // namespace

ExplanationText parse_explanation_file(std::string_view text) {
    Reader reader(text);
    ExplanationText out;
    reader.expect("## What it means");
    out.meaning = reader.paragraph();
    reader.expect("## Example");
    out.example = example(reader);
    reader.expect("## How to fix it");
    out.fix = reader.paragraph();
    if (reader.next()) reader.fail("nothing may follow the fix");
    return out;
}
