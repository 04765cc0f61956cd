// The route and train a command works on: they name the documents and the
// compiled files, and the compiled scenario carries them. They come from the
// --route and --train-code options, else from the document names when these
// follow the convention ROUTE_linea.txt and ROUTE_TRAIN-.txt.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "core/form1.h"

// Names as Windows-1252 bytes, ready for the form; by default the built-in scenario's.
struct ScenarioNames {
    std::string route = "Bresta_Vilcar";
    std::string train = "RX907";
};

// What a command does when neither its options nor its documents' names give
// the route and train code.
enum class NameSource {
    Refuse,               // compile: the author's own names, or nothing is written
    DocumentsOrBuiltIn,   // check, serve: the built-in names, said once
    BuiltIn,              // commands without documents: the built-in names
    FolderOrBuiltIn,      // plot: the one scenario compiled in its folder (the command looks), else the built-in names
};

// The names as the command line gave them (as typed), and how the command
// falls back; the shared option helper of the command table fills it.
struct NameOptions {
    std::optional<std::string> route{};
    std::optional<std::string> train{};
    NameSource source = NameSource::BuiltIn;
};

// The route a line description's name gives (ROUTE_linea.txt); nothing for any other name.
std::optional<std::string> route_of_line_document(const std::string& path);
// The train code a train description's name gives for this route (ROUTE_TRAIN-.txt); nothing otherwise.
std::optional<std::string> train_of_train_document(const std::string& path, const std::string& route);

// The names the command works on, as Windows-1252 bytes: the options, else
// the document names, else as `options.source` says. A name that cannot name
// files (empty, a path separator, "..", a character Windows refuses in a file
// name or Windows-1252 cannot hold, or too long) is refused, as are names a
// compile cannot have: the reason goes to `err` and nothing is returned (exit
// status 64). The documents are empty for commands without any.
std::optional<ScenarioNames> chosen_names(const NameOptions& options, const std::string& lineDocument,
                                          const std::string& trainDocument, std::ostream& err);

// A form working in `folder` on the documents and compiled files of these names.
Form1 named_form(const std::string& folder, const ScenarioNames& names);
