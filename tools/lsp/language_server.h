// The language server's state and features: the documents the editor has
// open, their checks, and the answers to the editor's requests. It knows
// nothing of framing or of the JSON-RPC envelope: dispatch hands it the
// parameters of each method and sends back what it returns.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/read_trace.h"
#include "tools/diagnostics/checker.h"
#include "tools/lsp/document_names.h"
#include "tools/lsp/text_positions.h"
#include "tools/common/text_encoding.h"

using Json = nlohmann::json;

// Parameters that do not say what the method needs: the reply is the
// protocol's "invalid params" error with this message.
struct InvalidParams : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A feature moved off a taken cell: the position written into its position field.
struct CellMove {
    TextSpan span;
    std::string text;
    std::string title;
};

// A diagnostic as published: where it stands and what the check said.
struct PublishedDiagnostic {
    TextSpan span;
    Diagnostic diagnostic;
    std::optional<TextSpan> fixSpan;  // where the fix's text goes, when it has one
    std::optional<CellMove> move;     // for a feature on a taken cell, when a free one was recorded
};

// The protocol's form of a published diagnostic.
Json published_diagnostic_json(const PublishedDiagnostic& published);

// A document the editor has open.
struct OpenDocument {
    std::string uri;
    std::string path;
    int64_t version = 0;
    std::string text;  // Windows-1252, as the compiler reads it
    std::vector<Unrepresentable> unrepresentable;
    // From the last check that covered it:
    std::vector<TracedRecord> records;  // what the reader took from it
    std::vector<std::vector<int32_t>> recordCells;  // the grid cells each record's feature holds, as the pass placed it
    std::vector<PublishedDiagnostic> published;
};

class LanguageServer {
public:
    // A server that reads no partner from disk sees only the open documents
    // (the fuzz target's: it must not wander the file system).
    explicit LanguageServer(bool partnersFromDisk = true) : partnersFromDisk_(partnersFromDisk) {}

    enum class Stage { Starting, Running, ShutDown, Exited };
    Stage stage() const { return stage_; }
    // The status of the process once it ends: 0 after shutdown and exit, 1 otherwise.
    int exit_status() const { return shutdownAsked_ ? 0 : 1; }

    // Lifecycle.
    Json initialize(const Json& params);
    void initialized(const Json&) {}
    Json shutdown(const Json& params);
    void exit(const Json& params);

    // Document sync: the whole text at every change.
    void did_open(const Json& params);
    void did_change(const Json& params);
    void did_save(const Json& params);
    void did_close(const Json& params);

    // Features.
    Json hover(const Json& params);
    Json completion(const Json& params);
    Json document_symbol(const Json& params);
    Json code_action(const Json& params);

    // Checking is left until the editor has been quiet a while: a change
    // marks the documents stale, and the owner of the loop calls
    // publish_diagnostics when it sees fit. What it returns are the
    // notifications to send, one per open document.
    bool diagnostics_stale() const { return stale_; }
    // Counts the changes that made the documents stale: a request leaves it alone.
    uint64_t changes() const { return changes_; }
    std::vector<Json> publish_diagnostics();

    const OpenDocument* document(const std::string& uri) const;

private:
    OpenDocument& open_document(const Json& params);  // by params.textDocument.uri; invalid params when not open
    void set_text(OpenDocument& document, const std::string& utf8);

    bool partnersFromDisk_;
    Stage stage_ = Stage::Starting;
    bool shutdownAsked_ = false;
    bool stale_ = false;
    uint64_t changes_ = 0;
    std::map<std::string, OpenDocument> documents_;
    std::vector<std::string> closed_;  // documents closed since the last publication: their marks are cleared
};
