// Which scenario document a file is, by the naming convention of the pair:
// ROUTE_linea.txt is the line description of route ROUTE, ROUTE_TRAIN-.txt
// the train description of train TRAIN on it, both in the same folder; and
// the file: URIs an editor names them by.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/read_trace.h"

struct DocumentName {
    Document document = Document::None;  // None: the name follows neither pattern
    std::string folder;                  // with no trailing separator
    std::string file;                    // the name in the folder
    std::string stem;                    // ROUTE for a line description, ROUTE_TRAIN for a train description
};

DocumentName document_name(std::string_view path);

// The file name of the line description of `route`: "ROUTE_linea.txt".
std::string line_document_file(std::string_view route);
// Whether `file` names a train description of `route`, and its train code if so.
std::optional<std::string> train_of(std::string_view file, std::string_view route);

// The ways a train description's stem splits into route and train code, the
// route longest first ("A_B_RX907": A_B and RX907, then A and B_RX907).
struct RouteAndTrain {
    std::string route, train;
};
std::vector<RouteAndTrain> route_splits(std::string_view stem);

// "file:///home/a%20b/x.txt" -> "/home/a b/x.txt"; "file:///C:/x" -> "C:/x".
// Nothing for a URI of another scheme.
std::optional<std::string> uri_to_path(std::string_view uri);
std::string path_to_uri(std::string_view path);
