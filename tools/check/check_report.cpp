#include "tools/check/check_report.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "tools/common/uri_path.h"
#include "tools/codes/explanations.h"
#include "tools/common/version.h"
#include "tools/diagnostics/diagnostics.h"
#include "tools/places/related_json.h"

namespace {

using nlohmann::ordered_json;

ordered_json diagnostic_json(const Diagnostic& d, const FindingPlaces* places) {
    ordered_json j;
    j["file"] = d.file;
    j["line"] = d.line;
    j["severity"] = severity_word(d.severity());
    j["code"] = code_name(d.code);
    j["message"] = d.message;
    if (d.cell) j["cell"] = *d.cell;
    if (d.position) j["position"] = *d.position;
    j["related"] = related_json(d, places != nullptr ? places->related_spans(d) : std::vector<std::optional<TextSpan>>());
    return j;
}

// The base that relative paths are resolved against: the folder check runs in.
constexpr const char* kBase = "%SRCROOT%";
// Where to learn more about the tool: its manual page, which `make install` installs.
constexpr const char* kInformationUri = "man:scenario_tool(1)";

bool is_separator(char c) { return c == '/' || c == '\\'; }

// Whether the path begins with a Windows drive and its root: "C:\\" or "C:/".
bool has_drive(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           is_separator(path[2]);
}

bool is_absolute(const std::string& path) { return (!path.empty() && is_separator(path[0])) || has_drive(path); }

// An absolute path as a file URI: file:///home/a.txt, file:///C:/a.txt.
std::string file_uri(const std::string& path) {
    if (has_drive(path)) return "file:///" + path.substr(0, 2) + uri_path(path.substr(2));
    return "file://" + uri_path(path);
}

// The path relative to the folder when it lies inside it, else empty.
std::string inside(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() <= folder.size() + 1 || path.compare(0, folder.size(), folder) != 0)
        return "";
    if (!is_separator(path[folder.size()]) && !is_separator(folder.back())) return "";
    const size_t from = is_separator(folder.back()) ? folder.size() : folder.size() + 1;
    return path.substr(from);
}

// A document's place: a path relative to the folder check runs in as a
// relative reference from the base, an absolute one as a file URI of its own
// (relative when it lies in that folder after all).
ordered_json artifact_location(const std::string& path, const std::string& folder) {
    std::string relative = is_absolute(path) ? inside(path, folder) : path;
    if (is_absolute(path) && relative.empty()) return {{"uri", file_uri(path)}};
    return {{"uri", uri_path(relative)}, {"uriBaseId", kBase}};
}

// A row's line, with the columns of a span that stands on it.
ordered_json region(int32_t line, const std::optional<TextSpan>& span) {
    ordered_json r = {{"startLine", line}};
    if (const auto columns = columns_on(span, line)) {
        r["startColumn"] = columns->first;
        r["endColumn"] = columns->second;
    }
    return r;
}

// The other rows a finding names, each with its label and an id of its own in the result.
ordered_json related_locations(const Diagnostic& d, const std::string& folder, const FindingPlaces* places) {
    ordered_json list = ordered_json::array();
    for (const RelatedPlace& place : d.related) {
        ordered_json physical = {{"artifactLocation", artifact_location(place.file, folder)}};
        if (place.line > 0)
            physical["region"] = region(place.line, places != nullptr ? places->related(place) : std::nullopt);
        list.push_back({{"id", list.size() + 1}, {"physicalLocation", physical}, {"message", {{"text", place.label}}}});
    }
    return list;
}

}  // namespace

void write_check_text(std::ostream& out, const CheckResult& result, const CheckOptions& options) {
    for (const Diagnostic& d : result.diagnostics)
        out << diagnostic_text(d.file, d.line, d.code, d.message) << '\n';
    if (result.stoppedAtMaxErrors)
        out << "check stopped at " << options.maxErrors << (options.maxErrors == 1 ? " error" : " errors")
            << " (--max-errors " << options.maxErrors
            << "): any later ones are not shown\n";
    out << result.errors << (result.errors == 1 ? " error, " : " errors, ") << result.warnings
        << (result.warnings == 1 ? " warning" : " warnings") << '\n';
    std::vector<Code> printed;
    for (const Diagnostic& d : result.diagnostics) {
        if (find_code(d.code) != nullptr) printed.push_back(d.code);
    }
    if (!printed.empty()) out << explain_hint(printed) << '\n';
}

void write_check_json(std::ostream& out, const CheckResult& result, const FindingPlaces* places) {
    ordered_json j;
    j["diagnostics"] = ordered_json::array();
    for (const Diagnostic& d : result.diagnostics) j["diagnostics"].push_back(diagnostic_json(d, places));
    j["errors"] = result.errors;
    j["warnings"] = result.warnings;
    j["stoppedAtMaxErrors"] = result.stoppedAtMaxErrors;
    out << j.dump(2, ' ', false, ordered_json::error_handler_t::replace) << '\n';
}

void write_check_sarif(std::ostream& out, const CheckResult& result, const std::string& folder,
                       const FindingPlaces* places) {
    // A rule for every code the tool can report, in the order of the code
    // tables, with its explanation where it has one.
    ordered_json rules = ordered_json::array();
    std::vector<Code> ids;
    for (const CodeEntry& entry : kCodes) {
        rules.push_back({{"id", code_name(entry.code)},
                         {"shortDescription", {{"text", entry.title}}},
                         {"defaultConfiguration", {{"level", severity_word(entry.code.severity())}}}});
        ids.push_back(entry.code);
        if (const Explanation* e = find_explanation(entry.code)) {
            // Editors show the whole explanation beside the finding.
            rules.back()["fullDescription"] = {{"text", e->meaning}};
            rules.back()["help"] = {{"text", render_explanation(*e, Markup::Text)},
                                    {"markdown", render_explanation(*e, Markup::Markdown)}};
        }
    }
    ordered_json results = ordered_json::array();
    for (const Diagnostic& d : result.diagnostics) {
        ordered_json physical = {{"artifactLocation", artifact_location(d.file, folder)}};
        if (d.line > 0) {
            // As the language server marks it: the field, else the keyword of the record the finding is about.
            const std::optional<FindingMark> mark = places != nullptr ? places->mark(d) : std::nullopt;
            physical["region"] = region(d.line, mark ? std::optional<TextSpan>(mark->span) : std::nullopt);
        }
        ordered_json r = {{"ruleId", code_name(d.code)}};
        for (size_t i = 0; i < ids.size(); ++i) {
            if (ids[i] == d.code) r["ruleIndex"] = i;
        }
        r["level"] = severity_word(d.severity());
        r["message"] = {{"text", d.message}};
        r["locations"] = ordered_json::array({{{"physicalLocation", physical}}});
        if (!d.related.empty()) r["relatedLocations"] = related_locations(d, folder, places);
        results.push_back(r);
    }
    ordered_json run = {{"tool",
                         {{"driver",
                           {{"name", "scenario_tool"},
                            {"version", kScenarioVersion},
                            {"informationUri", kInformationUri},
                            {"rules", rules}}}}}};
    if (is_absolute(folder)) {
        std::string base = file_uri(folder);
        if (base.back() != '/') base += '/';
        run["originalUriBaseIds"] = {
            {kBase, {{"uri", base}, {"description", {{"text", "The folder scenario_tool check ran in"}}}}}};
    }
    // The documents are Windows-1252, one UTF-16 code unit for each byte, which the columns count.
    run["defaultEncoding"] = "windows-1252";
    run["columnKind"] = "utf16CodeUnits";
    run["results"] = results;
    ordered_json log = {
        {"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
        {"version", "2.1.0"},
        {"runs", ordered_json::array({run})},
    };
    out << log.dump(2, ' ', false, ordered_json::error_handler_t::replace) << '\n';
}

void write_check_report(std::ostream& out, const CheckResult& result, const CheckOptions& options,
                        const ReadTrace* trace) {
    std::optional<FindingPlaces> places;
    if (trace != nullptr) places.emplace(options.lineDocument, options.trainDocument, *trace, result.refused);
    if (options.format == "json") {
        write_check_json(out, result, places ? &*places : nullptr);
    } else if (options.format == "sarif") {
        std::error_code failed;
        const std::filesystem::path here = std::filesystem::current_path(failed);
        write_check_sarif(out, result, failed ? std::string() : here.string(), places ? &*places : nullptr);
    } else {
        write_check_text(out, result, options);
    }
}
