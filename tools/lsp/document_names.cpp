#include "tools/lsp/document_names.h"

#include "tools/common/uri_path.h"

namespace {

constexpr std::string_view kLineTail = "_linea.txt";
constexpr std::string_view kTrainTail = "-.txt";

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

DocumentName document_name(std::string_view path) {
    DocumentName name;
    const size_t slash = path.find_last_of("/\\");
    name.folder = slash == std::string_view::npos ? "." : std::string(path.substr(0, slash));
    name.file = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    const std::string_view file = name.file;
    if (file.ends_with(kLineTail) && file.size() > kLineTail.size()) {
        name.document = Document::Line;
        name.stem = file.substr(0, file.size() - kLineTail.size());
    } else if (file.ends_with(kTrainTail) && !route_splits(file.substr(0, file.size() - kTrainTail.size())).empty()) {
        name.document = Document::Train;
        name.stem = file.substr(0, file.size() - kTrainTail.size());
    }
    return name;
}

std::string line_document_file(std::string_view route) { return std::string(route) + std::string(kLineTail); }

std::optional<std::string> train_of(std::string_view file, std::string_view route) {
    if (!file.ends_with(kTrainTail) || file.size() < route.size() + 1 + kTrainTail.size()) return std::nullopt;
    if (file.substr(0, route.size()) != route || file[route.size()] != '_') return std::nullopt;
    const std::string_view train = file.substr(route.size() + 1, file.size() - route.size() - 1 - kTrainTail.size());
    if (train.empty()) return std::nullopt;
    return std::string(train);
}

std::vector<RouteAndTrain> route_splits(std::string_view stem) {
    std::vector<RouteAndTrain> splits;
    for (size_t at = stem.size(); at-- > 0;) {
        if (stem[at] != '_' || at == 0 || at + 1 == stem.size()) continue;
        splits.push_back({std::string(stem.substr(0, at)), std::string(stem.substr(at + 1))});
    }
    return splits;
}

std::optional<std::string> uri_to_path(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (uri.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    std::string_view rest = uri.substr(kScheme.size());
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(slash);  // an authority ("localhost") is dropped
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hex_value(rest[i + 1]) >= 0 && hex_value(rest[i + 2]) >= 0) {
            path += static_cast<char>(hex_value(rest[i + 1]) * 16 + hex_value(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    // A Windows drive: "/C:/x" names "C:/x".
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':' &&
        ((path[1] >= 'A' && path[1] <= 'Z') || (path[1] >= 'a' && path[1] <= 'z')))
        path.erase(0, 1);
    return path;
}

std::string path_to_uri(std::string_view path) {
    std::string uri = "file://";
    if (path.empty() || (path[0] != '/' && path[0] != '\\')) uri += '/';
    return uri + uri_path(path, ":");  // a drive's ":" stays
}
