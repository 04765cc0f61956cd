// The explanation of every code, read from its embedded file and titled by
// the code tables, and their rendering for `scenario_tool explain`. Each
// example is a few rows added to the smallest scenario; the tests compile
// every one of them and expect exactly its code.
#include "tools/codes/explanations.h"

#include <algorithm>
#include <sstream>

#include "core/record_fields.h"
#include "tools/codes/explanation_files.h"

namespace {

// The explanation of every code of the tables that has a file, the
// compiler's numbers its texts name in braces ({most_stations}) written in.
std::vector<Explanation> read_explanations() {
    const auto files = explanation_files();
    std::vector<Explanation> all;
    for (const CodeEntry& entry : kCodes) {
        const std::string name = code_name(entry.code);
        const auto file = std::find_if(files.begin(), files.end(), [&](const ExplanationFile& f) { return f.code == name; });
        if (file == files.end()) continue;
        ExplanationText text;
        try {
            text = parse_explanation_file(file->text);
        } catch (const MalformedExplanation& e) {
            throw MalformedExplanation("tools/codes/explanations/" + name + ".md, " + e.what());
        }
        all.push_back({.code = entry.code,
                       .title = std::string(entry.title),
                       .meaning = format_text(text.meaning),
                       .example = std::move(text.example),
                       .fix = format_text(text.fix)});
    }
    return all;
}

// The smallest sound scenario: a 10000 m line with nothing on it, and a
// train with its general values, adhesion and speed limit.
constexpr const char* kSmallestLine =
    "[generale]\n"
    "lunghezza percorso,    10000\n";
constexpr const char* kSmallestTrain =
    "[generale]\n"
    "numero vetture,    4\n"
    "percentuale massa frenata,    120\n"
    "sabbia,    300\n"
    "orologio,    8               0            0\n"
    "aderenza,    0,    100\n"
    "velocita,    0,    80\n";
constexpr const char* kEnd = "[fine]\n";

std::string with_crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// Words of a paragraph laid out in lines of at most `width` characters after the indent.
std::string wrapped(const std::string& text, size_t width, const std::string& indent) {
    std::istringstream words(text);
    std::string out, line;
    for (std::string word; words >> word;) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += indent + line + "\n";
    return out;
}

// An example's rows; a long run of rows of one kind shows its first and last
// rows around the count of those left out, and a very long row its start.
std::vector<std::string> shown_rows(const std::string& rows) {
    constexpr size_t kLongest = 10, kHead = 4, kTail = 2;
    constexpr size_t kLongestRow = 100, kRowHead = 80;
    auto lines = lines_of(rows);
    for (std::string& line : lines) {
        if (line.size() > kLongestRow)
            line = line.substr(0, kRowHead) + "... (" + std::to_string(line.size() - kRowHead) + " more characters)";
    }
    std::vector<std::string> out;
    for (size_t n = 0; n < lines.size(); ++n) {
        if (lines.size() > kLongest && n == kHead) {
            out.push_back("... (" + std::to_string(lines.size() - kHead - kTail) + " more rows like these)");
            n = lines.size() - kTail;
        }
        out.push_back(lines[n]);
    }
    return out;
}

// A lead-in sentence and the rows under it: indented in text, a code block in Markdown.
std::string rows_block(const std::string& lead, const std::string& rows, Markup markup) {
    std::string out;
    if (markup == Markup::Text) {
        out = "  " + lead + "\n";
        for (const std::string& row : shown_rows(rows)) out += "    " + row + "\n";
    } else {
        out = lead + "\n\n```text\n";
        for (const std::string& row : shown_rows(rows)) out += row + "\n";
        out += "```\n\n";
    }
    return out;
}

std::string sentence(const std::string& text, Markup markup) {
    return markup == Markup::Text ? wrapped(text, 76, "  ") : text + "\n\n";
}

std::string shown_document(const char* name, const std::string& rows, Placement placement, Markup markup) {
    switch (placement) {
        case Placement::Missing: return sentence(std::string("No ") + name + " at all.", markup);
        case Placement::Whole: return rows_block(std::string("The whole ") + name + ":", rows, markup);
        case Placement::Added: break;
    }
    return rows.empty() ? "" : rows_block(std::string("In the ") + name + ":", rows, markup);
}

std::string shown_example(const Example& example, Markup markup) {
    std::string out = shown_document("line description", example.line, example.linePlacement, markup) +
                      shown_document("train description", example.train, example.trainPlacement, markup);
    const bool added = (example.linePlacement == Placement::Added && !example.line.empty()) ||
                       (example.trainPlacement == Placement::Added && !example.train.empty());
    const bool other = example.linePlacement == Placement::Added || example.trainPlacement == Placement::Added;
    const std::string smallest = markup == Markup::Text
                                     ? "the smallest scenario of docs/authoring.md"
                                     : "[the smallest scenario](authoring.md#81-the-smallest-scenario)";
    if (added) {
        out += sentence("(added to " + smallest + ", a 10000 m route)", markup);
    } else if (other) {
        out += sentence("(the other document is that of " + smallest + ")", markup);
    }
    for (size_t n = 0; n < example.alsoReported.size(); ++n) {
        const Code also = example.alsoReported[n];
        if (std::find(example.alsoReported.begin(), example.alsoReported.begin() + n, also) !=
            example.alsoReported.begin() + n)
            continue;  // named once
        const CodeEntry* entry = find_code(also);
        out += sentence("The same rows also give " + std::string(severity_word(also.severity())) + " " +
                            code_name(also) + (entry ? ": " + std::string(entry->title) : "") + ".",
                        markup);
    }
    return out;
}

std::string document_with(const char* smallest, const std::string& rows, Placement placement) {
    switch (placement) {
        case Placement::Missing: return "";
        case Placement::Whole: return with_crlf(rows);
        case Placement::Added: break;
    }
    return with_crlf(smallest + rows + kEnd);
}

std::string kind_word(Severity kind, size_t count) {
    std::string word = severity_word(kind);
    return count == 1 ? word : word + "s";
}

}  // namespace

const std::vector<Explanation>& explanations() {
    static const std::vector<Explanation> all = read_explanations();
    return all;
}

const Explanation* find_explanation(Code code) {
    for (const Explanation& e : explanations()) {
        if (e.code == code) return &e;
    }
    return nullptr;
}

std::string example_line_document(const Example& example) {
    return document_with(kSmallestLine, example.line, example.linePlacement);
}

std::string example_train_document(const Example& example) {
    return document_with(kSmallestTrain, example.train, example.trainPlacement);
}

std::string render_explanation(const Explanation& e, Markup markup) {
    const std::string heading =
        std::string(severity_word(e.code.severity())) + " " + code_name(e.code) + ": " + e.title;
    if (markup == Markup::Markdown) {
        return "<a id=\"" + code_name(e.code) + "\"></a>\n### " + heading + "\n\n**What it means.** " + e.meaning +
               "\n\n**Example.**\n\n" + shown_example(e.example, markup) + "**How to fix it.** " + e.fix + "\n";
    }
    return heading + "\n\nWhat it means\n" + wrapped(e.meaning, 76, "  ") + "\nExample\n" +
           shown_example(e.example, markup) + "\nHow to fix it\n" + wrapped(e.fix, 76, "  ");
}

std::string render_code_list() {
    std::string out;
    for (const CodeEntry& entry : kCodes) {
        std::string name = code_name(entry.code);
        out += std::string(name.size() < 6 ? 6 - name.size() : 0, ' ') + name + "  " + std::string(entry.title) + "\n";
    }
    return out;
}

std::string explain_hint(const std::vector<Code>& printed) {
    constexpr Severity kFamilies[] = {Severity::Error, Severity::Warning};
    std::vector<Code> codes;
    for (Severity kind : kFamilies) {
        for (Code c : printed) {
            if (c.severity() == kind && std::find(codes.begin(), codes.end(), c) == codes.end()) codes.push_back(c);
        }
    }
    if (codes.empty()) return "";
    std::string named, command;
    for (Severity kind : kFamilies) {
        std::string list;
        size_t count = 0;
        for (Code c : codes) {
            if (c.severity() != kind) continue;
            list += (count++ ? ", " : "") + code_name(c);
        }
        if (count == 0) continue;
        named += (named.empty() ? "" : " and ") + kind_word(kind, count) + " " + list;
    }
    for (Code c : codes) command += " " + code_name(c);
    return "for more on " + named + ", run: scenario_tool explain" + command;
}

std::string render_explanations_page() {
    std::string page =
        "# Errors and warnings of scenario_tool\n\n"
        "What every code means, a minimal example of the rows that cause it and how to fix it: the text of "
        "`scenario_tool explain CODE`. The format of the documents is in [authoring.md](authoring.md). "
        "This page is written by `scenario_tool explain --all --markdown`; the tests keep it equal to it.\n";
    for (const Explanation& e : explanations()) page += "\n" + render_explanation(e, Markup::Markdown);
    return page;
}
