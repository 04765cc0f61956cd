// Diagnostics for the open documents: each is checked with its partner (the
// open buffer where the editor has one, else the file on disk) by the check
// itself, and every finding is marked on the field or keyword it names.
#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

#include "platform/platform.h"
#include "tools/common/text_encoding.h"
#include "tools/places/field_spans.h"
#include "tools/places/finding_places.h"
#include "tools/lsp/language_server.h"

namespace {

// Bounded so that a document of nothing but mistakes is still checked quickly.
constexpr int kMostErrors = 200;

struct Pair {
    std::string linePath, trainPath;
    ScenarioNames names;
    bool operator<(const Pair& other) const {
        return std::tie(linePath, trainPath) < std::tie(other.linePath, other.trainPath);
    }
};

struct Checked {
    CheckResult result;
    ReadTrace trace;
    std::string failure;  // a run-time failure that ended the check
};

// The pairs a document belongs to; empty with `missing` naming the partner looked for.
struct Partners {
    std::vector<Pair> pairs;
    std::string missing;
};

bool path_exists(const std::string& path) {
    try {
        return platform::file_exists(path);
    } catch (const platform::RunTimeFailure&) {
        return false;
    }
}

std::string code_point_name(uint32_t cp) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(cp));
    return hex;
}

Json diagnostic_json(const TextSpan& span, int severity, const std::string& message) {
    return {{"range", range_json(span)}, {"severity", severity}, {"source", "scenario_tool"}, {"message", message}};
}

}  // namespace

namespace {

class Publisher {
public:
    Publisher(const std::map<std::string, OpenDocument>& documents, bool disk) : documents_(documents), disk_(disk) {}

    Partners partners(const OpenDocument& document) const;
    const Checked& check(const Pair& pair);

private:
    std::optional<std::string> text_at(const std::string& path) const;
    bool known(const std::string& path) const { return open_at(path) != nullptr || (disk_ && path_exists(path)); }
    const OpenDocument* open_at(const std::string& path) const {
        for (const auto& [uri, document] : documents_) {
            if (document.path == path) return &document;
        }
        return nullptr;
    }

    const std::map<std::string, OpenDocument>& documents_;
    bool disk_;
    std::map<Pair, Checked> checked_;
};

std::optional<std::string> Publisher::text_at(const std::string& path) const {
    if (const OpenDocument* open = open_at(path)) return open->text;
    if (!disk_) return std::nullopt;
    try {
        if (platform::file_exists(path)) return platform::read_file(path);
    } catch (const platform::RunTimeFailure&) {
        // Unreadable: the check reports the document as missing.
    }
    return std::nullopt;
}

Partners Publisher::partners(const OpenDocument& document) const {
    const DocumentName name = document_name(document.path);
    Partners found;
    const auto in_folder = [&](const std::string& file) { return platform::join(name.folder, file); };
    if (name.document == Document::Line) {
        std::set<std::string> trains;
        for (const auto& [uri, open] : documents_) {
            const DocumentName other = document_name(open.path);
            if (other.folder == name.folder && train_of(other.file, name.stem)) trains.insert(other.file);
        }
        try {
            const std::vector<std::string> files = disk_ ? platform::list_files(name.folder) : std::vector<std::string>();
            for (const std::string& file : files) {
                if (train_of(file, name.stem)) trains.insert(file);
            }
        } catch (const platform::RunTimeFailure&) {
            // A folder that cannot be listed: the open buffers are all there is.
        }
        for (const std::string& file : trains)
            found.pairs.push_back({document.path, in_folder(file), {name.stem, *train_of(file, name.stem)}});
        if (trains.empty()) found.missing = name.stem + "_TRAIN-.txt (TRAIN being the train code)";
    } else if (name.document == Document::Train) {
        const std::vector<RouteAndTrain> splits = route_splits(name.stem);
        for (const RouteAndTrain& split : splits) {
            const std::string line = in_folder(line_document_file(split.route));
            if (!known(line)) continue;
            found.pairs.push_back({line, document.path, {split.route, split.train}});
            break;
        }
        if (found.pairs.empty()) found.missing = line_document_file(splits.front().route);
    }
    return found;
}

const Checked& Publisher::check(const Pair& pair) {
    const auto it = checked_.find(pair);
    if (it != checked_.end()) return it->second;
    Checked& checked = checked_[pair];
    try {
        checked.result = check_sources({pair.linePath, text_at(pair.linePath)}, {pair.trainPath, text_at(pair.trainPath)},
                                       pair.names, kMostErrors, &checked.trace);
    } catch (const platform::RunTimeFailure& failure) {
        checked.failure = failure.what();
    }
    return checked;
}

// Where a finding of the check is marked: its field, else its keyword when it
// names the record or no field, as FindingPlaces finds them; a finding of no
// one line marks the first line, one of no record its row.
// A feature refused on a taken cell, with a free cell recorded for it, is
// fixed by writing the position that puts it there.
TextSpan mark_of(PublishedDiagnostic& p, const FindingPlaces& places, const TextLines& lines) {
    const Diagnostic& d = p.diagnostic;
    if (d.line < 1) return lines.trimmed_line(0);
    if (const RefusedRecord* refused = places.refusal(d)) {
        const RefusedRow& row = refused->row;
        if (refused->record && row.freePosition >= 0 && row.field >= 0) {
            if (const auto at = field_span(*refused->record, row.field + 1)) {
                const std::string position = std::to_string(row.freePosition);
                p.move = CellMove{*at, position, "Move to " + position + " m: cell " + std::to_string(row.freeCell) +
                                                     ", the nearest free cell"};
            }
        }
    }
    const std::optional<FindingMark> mark = places.mark(d);
    if (mark && mark->named && d.fix) p.fixSpan = mark->span;
    return mark ? mark->span : lines.trimmed_line(static_cast<size_t>(d.line) - 1);
}

}  // namespace

Json published_diagnostic_json(const PublishedDiagnostic& p) {
    const Diagnostic& d = p.diagnostic;
    Json out = diagnostic_json(p.span, d.severity() == Severity::Error ? 1 : 2, d.message);
    // As check prints it: a number for an error, "W101" for a warning.
    if (d.code.severity() == Severity::Warning) out["code"] = code_name(d.code);
    else if (find_code(d.code) != nullptr) out["code"] = d.code.number();
    if (d.fix) out["data"] = {{"fix", cp1252_to_utf8(d.fix->text)}};
    return out;
}

namespace {

// The other rows a finding names, as locations: their field where the trace
// knows it, else their whole line (as the editor has it when the document is open).
Json related_information(const Diagnostic& d, const FindingPlaces& places,
                         const std::map<std::string, OpenDocument>& documents) {
    Json related = Json::array();
    for (const RelatedPlace& place : d.related) {
        if (place.line < 1) continue;
        std::string uri = path_to_uri(place.file);
        const OpenDocument* open = nullptr;
        for (const auto& [openUri, document] : documents) {
            if (document.path != place.file) continue;
            uri = openUri;
            open = &document;
        }
        Json range;
        if (const std::optional<TextSpan> field = places.related(place)) {
            range = range_json(*field);
        } else if (open != nullptr) {
            range = range_json(TextLines(open->text).trimmed_line(static_cast<size_t>(place.line) - 1));
        } else {  // from the start of the line to the start of the next
            range = {{"start", {{"line", place.line - 1}, {"character", 0}}},
                     {"end", {{"line", place.line}, {"character", 0}}}};
        }
        related.push_back({{"location", {{"uri", uri}, {"range", range}}}, {"message", place.label}});
    }
    return related;
}

}  // namespace

std::vector<Json> LanguageServer::publish_diagnostics() {
    stale_ = false;
    std::vector<Json> notifications;
    for (const std::string& uri : closed_)
        notifications.push_back({{"jsonrpc", "2.0"},
                                 {"method", "textDocument/publishDiagnostics"},
                                 {"params", {{"uri", uri}, {"diagnostics", Json::array()}}}});
    closed_.clear();

    Publisher publisher(documents_, partnersFromDisk_);
    for (auto& [uri, document] : documents_) {
        const TextLines lines(document.text);
        const Document role = document_name(document.path).document;
        document.records.clear();
        document.recordCells.clear();
        document.published.clear();
        Json diagnostics = Json::array();
        const Partners partners = publisher.partners(document);
        if (role == Document::None) {
            diagnostics.push_back(diagnostic_json(
                lines.trimmed_line(0), 3,
                "not checked: the file name tells neither a line description (ROUTE_linea.txt) nor a train "
                "description (ROUTE_TRAIN-.txt)"));
        } else if (partners.pairs.empty()) {
            diagnostics.push_back(diagnostic_json(
                lines.trimmed_line(0), 2,
                "not checked: its partner " + partners.missing + " is neither open nor in this document's folder"));
        }
        std::set<std::tuple<int32_t, Code, std::string>> seen;
        for (const Pair& pair : partners.pairs) {
            const Checked& checked = publisher.check(pair);
            if (!checked.failure.empty()) {
                diagnostics.push_back(diagnostic_json(lines.trimmed_line(0), 1, "the check failed: " + checked.failure));
                continue;
            }
            if (document.records.empty()) {
                const std::vector<TracedRecord>& all = checked.trace.records;
                for (size_t i = 0; i < all.size(); ++i) {
                    if (all[i].document != role) continue;
                    document.records.push_back(all[i]);
                    std::vector<int32_t> cells;
                    for (const FeatureCell& c : checked.trace.cells) {
                        if (c.record == static_cast<int32_t>(i) && takes_cell(c.role)) cells.push_back(c.cell);
                    }
                    document.recordCells.push_back(std::move(cells));
                }
            }
            const FindingPlaces places(pair.linePath, pair.trainPath, checked.trace, checked.result.refused);
            for (const Diagnostic& d : checked.result.diagnostics) {
                if (d.file != document.path || !seen.insert({d.line, d.code, d.message}).second) continue;
                PublishedDiagnostic p{{}, d, std::nullopt, std::nullopt};
                p.span = mark_of(p, places, lines);
                diagnostics.push_back(published_diagnostic_json(p));
                if (Json related = related_information(d, places, documents_); !related.empty())
                    diagnostics.back()["relatedInformation"] = std::move(related);
                document.published.push_back(std::move(p));
            }
        }
        for (const Unrepresentable& u : document.unrepresentable) {
            const std::string what = u.codePoint == 0 ? std::string("a byte that is not UTF-8")
                                                      : "\"" + utf8_of(u.codePoint) + "\" (" +
                                                            code_point_name(u.codePoint) + ")";
            diagnostics.push_back(diagnostic_json(
                lines.span_at(u.offset, u.length), 1,
                what + " cannot be written in Windows-1252, the code page of the documents: the compiler would "
                       "read \"?\"; write another character, and have the editor open and save the document as "
                       "Windows-1252"));
        }
        notifications.push_back({{"jsonrpc", "2.0"},
                                 {"method", "textDocument/publishDiagnostics"},
                                 {"params", {{"uri", uri}, {"version", document.version}, {"diagnostics", diagnostics}}}});
    }
    return notifications;
}
