#include "tools/common/scenario_names.h"

#include <cstdint>
#include <string_view>

#include "tools/common/text_encoding.h"

namespace {

constexpr std::string_view kLineTail = "_linea.txt";
constexpr std::string_view kTrainTail = "-.txt";
// The longest file named after both names, the slow-down order document, must
// fit the 255 characters most file systems allow.
constexpr std::string_view kLongestTail = "_rallentamenti.txt";
constexpr size_t kLongestFileName = 255;

std::string file_name_of(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A character of a name quoted for a message.
std::string quoted_character(const std::string& c) {
    if (c.size() == 1 && static_cast<uint8_t>(c[0]) >= 0x80) {
        static const char kDigits[] = "0123456789ABCDEF";
        const auto b = static_cast<uint8_t>(c[0]);
        return std::string("byte 0x") + kDigits[b >> 4] + kDigits[b & 0xF];
    }
    return c == "\"" ? "'\"'" : "\"" + c + "\"";
}

// Why a name cannot be part of a file name; empty when it can, and then
// `stored` holds its Windows-1252 bytes.
std::string name_fault(const std::string& typed, std::string& stored) {
    if (typed.empty()) return "it is empty";
    const TypedText text = typed_to_cp1252(typed);
    if (!text.missing.empty()) return "it holds " + quoted_character(text.missing) + ", which Windows-1252 cannot hold";
    for (char c : text.bytes) {
        const std::string one(1, c);
        if (c == '/' || c == '\\') return "it holds " + quoted_character(one) + ", a path separator";
        if (std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return "it holds " + quoted_character(one) + ", which Windows refuses in a file name";
        if (static_cast<uint8_t>(c) < 0x20) return "it holds a control character, which Windows refuses in a file name";
    }
    if (text.bytes.find("..") != std::string::npos) return "it holds \"..\"";
    stored = text.bytes;
    return "";
}

// One of the two names: as typed, where it came from, and its bytes.
struct Name {
    std::optional<std::string> typed;
    std::string origin;  // "--route", or "the name of FILE"
    std::string stored;
};

bool take(Name& name, const char* what, std::ostream& err) {
    if (!name.typed) return true;
    const std::string fault = name_fault(*name.typed, name.stored);
    if (fault.empty()) return true;
    err << "scenario_tool: the " << what << " \"" << *name.typed << "\" (" << name.origin
        << ") cannot name files: " << fault << '\n';
    return false;
}

}  // namespace

std::optional<std::string> route_of_line_document(const std::string& path) {
    const std::string name = file_name_of(path);
    if (!name.ends_with(kLineTail) || name.size() == kLineTail.size()) return std::nullopt;
    return name.substr(0, name.size() - kLineTail.size());
}

std::optional<std::string> train_of_train_document(const std::string& path, const std::string& route) {
    const std::string name = file_name_of(path);
    const std::string head = route + "_";
    if (name.size() <= head.size() + kTrainTail.size() || name.compare(0, head.size(), head) != 0 ||
        !name.ends_with(kTrainTail))
        return std::nullopt;
    return name.substr(head.size(), name.size() - head.size() - kTrainTail.size());
}

std::optional<ScenarioNames> chosen_names(const NameOptions& options, const std::string& lineDocument,
                                          const std::string& trainDocument, std::ostream& err) {
    const bool documents = options.source == NameSource::Refuse || options.source == NameSource::DocumentsOrBuiltIn;
    const std::optional<std::string> documentRoute =
        documents ? route_of_line_document(lineDocument) : std::optional<std::string>();
    Name route{options.route, "--route", ""};
    if (!route.typed && documentRoute) {
        route.typed = documentRoute;
        route.origin = "from the name " + file_name_of(lineDocument);
    }
    if (!take(route, "route name", err)) return std::nullopt;
    // The train description may be named after the route given or after the
    // line description's (a route renamed with --route keeps its train).
    Name train{options.train, "--train-code", ""};
    for (const std::optional<std::string>& named : {route.typed, documentRoute}) {
        if (train.typed || !documents || !named) continue;
        train.typed = train_of_train_document(trainDocument, *named);
        train.origin = "from the name " + file_name_of(trainDocument);
    }
    if (!take(train, "train code", err)) return std::nullopt;

    // What the names of the documents could not give, and how to give it.
    std::string unnamed;
    if (!route.typed) {
        unnamed = file_name_of(lineDocument) + " is not named ROUTE_linea.txt";
    } else if (!train.typed) {
        unnamed = file_name_of(trainDocument) + " is not named " + *route.typed + "_TRAIN-.txt";
    }
    const std::string options_needed = !route.typed && !train.typed ? "--route and --train-code"
                                       : !route.typed               ? "--route"
                                                                    : "--train-code";
    if (!unnamed.empty() && options.source == NameSource::Refuse) {
        err << "scenario_tool: " << unnamed << ", so the document names give no "
            << (!route.typed && !train.typed ? "route name and train code" : !route.typed ? "route name" : "train code")
            << "; give " << options_needed << ", or name the documents ROUTE_linea.txt and ROUTE_TRAIN-.txt\n";
        return std::nullopt;
    }
    ScenarioNames names;
    if (route.typed) names.route = route.stored;
    if (train.typed) names.train = train.stored;
    if (names.route.size() + 1 + names.train.size() + kLongestTail.size() > kLongestFileName) {
        err << "scenario_tool: the route name and train code are too long together: the files named after them "
            << "would have names of " << names.route.size() + 1 + names.train.size() + kLongestTail.size()
            << " characters, and at most " << kLongestFileName << " are allowed\n";
        return std::nullopt;
    }
    if (!unnamed.empty() && options.source == NameSource::DocumentsOrBuiltIn) {
        err << "scenario_tool: note: " << unnamed << "; using route \"" << cp1252_to_utf8(names.route)
            << "\" and train \"" << cp1252_to_utf8(names.train) << "\" (give " << options_needed
            << " to choose)\n";
    }
    return names;
}

Form1 named_form(const std::string& folder, const ScenarioNames& names) {
    Form1 form(folder);
    form.routeName = names.route;
    form.trainCode = names.train;
    return form;
}
