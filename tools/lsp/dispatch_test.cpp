// The server through its dispatch, as an editor meets it: the lifecycle and
// the protocol's error replies, then diagnostics, hover, completion, the
// outline and a quick fix on the built-in documents held in memory.
#include "tools/lsp/dispatch.h"

#include <gtest/gtest.h>

#include "documents/test_documents.h"

namespace {

constexpr const char* kLineUri = "file:///nowhere/Bresta_Vilcar_linea.txt";
constexpr const char* kTrainUri = "file:///nowhere/Bresta_Vilcar_RX907-.txt";

// An editor talking to a server that sees only the open documents.
struct Editor {
    LanguageServer server{false};
    int nextId = 1;

    std::optional<Json> send(const Json& message) { return dispatch(server, Frame{message.dump(), ""}); }
    Json request(const std::string& method, const Json& params) {
        const std::optional<Json> reply = send({{"jsonrpc", "2.0"}, {"id", nextId++}, {"method", method}, {"params", params}});
        EXPECT_TRUE(reply.has_value()) << method;
        return reply.value_or(Json());
    }
    void notify(const std::string& method, const Json& params) {
        EXPECT_FALSE(send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}).has_value()) << method;
    }
    void start() { request("initialize", {{"capabilities", Json::object()}}), notify("initialized", Json::object()); }
    void open(const char* uri, const std::string& cp1252) {
        notify("textDocument/didOpen",
               {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", cp1252_to_utf8(cp1252)}}}});
    }
    void change(const char* uri, const std::string& utf8) {
        notify("textDocument/didChange",
               {{"textDocument", {{"uri", uri}, {"version", 2}}}, {"contentChanges", {{{"text", utf8}}}}});
    }
    // The diagnostics published for each document, by URI.
    std::map<std::string, Json> diagnostics() {
        std::map<std::string, Json> out;
        for (const Json& n : server.publish_diagnostics()) out[n["params"]["uri"]] = n["params"]["diagnostics"];
        return out;
    }
};

Json position(const char* uri, int64_t line, int64_t character) {
    return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
}

// Line (from 0) and column of the first occurrence of `text` in the document.
std::pair<int64_t, int64_t> where(const std::string& document, const std::string& text) {
    const size_t at = document.find(text);
    EXPECT_NE(at, std::string::npos) << text;
    const size_t start = document.rfind('\n', at) + 1;
    return {std::count(document.begin(), document.begin() + static_cast<long>(at), '\n'), static_cast<int64_t>(at - start)};
}

// UTF-16 code units of UTF-8 text of the Basic Multilingual Plane: one per character.
int64_t utf16_units(const std::string& utf8) {
    return std::count_if(utf8.begin(), utf8.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; });
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

// The built-in documents open in a started editor, then one row of the
// document `uri` changed from `from` to `to`; returns that document's text.
std::string open_with_one_row_changed(Editor& editor, const WrittenDocuments& built, const char* uri,
                                      const std::string& from, const std::string& to) {
    editor.start();
    editor.open(kLineUri, built.linea.bytes);
    editor.open(kTrainUri, built.treno.bytes);
    const std::string original = cp1252_to_utf8(std::string(uri) == kLineUri ? built.linea.bytes : built.treno.bytes);
    const std::string changed = replaced(original, from, to);
    editor.change(uri, changed);
    return changed;
}

}  // namespace

TEST(Dispatch, AnswersOutOfTurnAndMalformedMessagesWithTheProtocolsErrors) {
    Editor editor;
    struct Step {
        const char* name;
        std::string body;
        std::optional<int> error;  // the error code expected, or a plain result
        bool silent = false;       // no reply at all
    } steps[] = {
        {"a request before initialize", R"({"jsonrpc":"2.0","id":1,"method":"textDocument/hover","params":{}})", -32002},
        {"a notification before initialize", R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{}})", {}, true},
        {"initialize", R"({"jsonrpc":"2.0","id":2,"method":"initialize","params":{"capabilities":{}}})", {}},
        {"initialize again", R"({"jsonrpc":"2.0","id":3,"method":"initialize","params":{}})", -32600},
        {"not JSON", "{\"jsonrpc\":", -32700},
        {"not an object", "[1,2]", -32600},
        {"no jsonrpc member", R"({"id":4,"method":"shutdown"})", -32600},
        {"an id that is an object", R"({"jsonrpc":"2.0","id":{},"method":"shutdown"})", -32600},
        {"params neither object nor array", R"({"jsonrpc":"2.0","id":5,"method":"shutdown","params":7})", -32600},
        {"an unknown request", R"({"jsonrpc":"2.0","id":6,"method":"textDocument/rename","params":{}})", -32601},
        {"an unknown notification", R"({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":1}})", {}, true},
        {"a reply from the editor", R"({"jsonrpc":"2.0","id":9,"result":null})", {}, true},
        {"hover without a position", R"({"jsonrpc":"2.0","id":7,"method":"textDocument/hover","params":{}})", -32602},
        {"hover on a document never opened",
         R"({"jsonrpc":"2.0","id":8,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///x_linea.txt"},"position":{"line":0,"character":0}}})",
         -32602},
        {"a change of part of the text",
         R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":"file:///x"},"contentChanges":[{"range":{},"text":""}]}})",
         {}, true},
        {"shutdown", R"({"jsonrpc":"2.0","id":10,"method":"shutdown"})", {}},
        {"a request after shutdown", R"({"jsonrpc":"2.0","id":11,"method":"textDocument/hover","params":{}})", -32600},
    };
    for (const Step& s : steps) {
        const std::optional<Json> reply = dispatch(editor.server, Frame{s.body, ""});
        if (s.silent) {
            EXPECT_FALSE(reply.has_value()) << s.name;
            continue;
        }
        ASSERT_TRUE(reply.has_value()) << s.name;
        if (s.error) {
            EXPECT_EQ((*reply)["error"]["code"], *s.error) << s.name << ": " << reply->dump();
        } else {
            EXPECT_TRUE(reply->contains("result")) << s.name << ": " << reply->dump();
        }
    }
    EXPECT_EQ(dispatch(editor.server, Frame{"", "a header block without Content-Length"}).value()["error"]["code"],
              -32700);
    editor.notify("exit", Json::object());
    EXPECT_EQ(editor.server.stage(), LanguageServer::Stage::Exited);
    EXPECT_EQ(editor.server.exit_status(), 0);

    Editor leaving;
    leaving.start();
    leaving.notify("exit", Json::object());
    EXPECT_EQ(leaving.server.exit_status(), 1);  // no shutdown first
}

TEST(LanguageServer, MarksTheFieldAtFaultFixesItAndClearsTheMark) {
    const WrittenDocuments& built = built_in_documents();
    Editor editor;
    editor.start();
    editor.open(kLineUri, built.linea.bytes);
    editor.open(kTrainUri, built.treno.bytes);
    auto published = editor.diagnostics();
    EXPECT_EQ(published[kLineUri], Json::array());
    EXPECT_EQ(published[kTrainUri], Json::array());

    // A speed off the 5 km/h step, in a row that starts with an accented letter.
    const std::string train = cp1252_to_utf8(built.treno.bytes);
    const std::string broken = replaced(train, "velocita,    6350,   110", "\xC3\x80velocita,    6350,   112");
    editor.change(kTrainUri, broken);
    published = editor.diagnostics();
    ASSERT_EQ(published[kTrainUri].size(), 1u) << published[kTrainUri].dump();
    const Json& mark = published[kTrainUri][0];
    const auto [line, column] = where(broken, "112");
    EXPECT_EQ(mark["code"], "W102");
    EXPECT_EQ(mark["severity"], 2);
    EXPECT_EQ(mark["range"], Json({{"start", {{"line", line}, {"character", column - 1}}},  // "À" is one code unit
                                   {"end", {{"line", line}, {"character", column + 2}}}}));

    const Json hover = editor.request("textDocument/hover", position(kTrainUri, line, column));
    EXPECT_NE(hover["result"]["contents"]["value"].get<std::string>().find("multiple of 5"), std::string::npos);

    const Json actions = editor.request(
        "textDocument/codeAction",
        {{"textDocument", {{"uri", kTrainUri}}}, {"range", mark["range"]}, {"context", {{"diagnostics", {mark}}}}});
    ASSERT_EQ(actions["result"].size(), 1u) << actions.dump();
    const Json& edit = actions["result"][0]["edit"]["changes"][kTrainUri][0];
    EXPECT_EQ(edit["newText"], "110");
    EXPECT_EQ(edit["range"], mark["range"]);

    editor.change(kTrainUri, replaced(broken, "112", "110"));
    EXPECT_EQ(editor.diagnostics()[kTrainUri], Json::array());
}

TEST(LanguageServer, OffersEachFixTheCheckCarriesOnItsField) {
    const WrittenDocuments& built = built_in_documents();
    struct Case {
        const char* name;
        const char* uri;
        std::string from, to;  // the row as written and as broken
        std::string code;
        std::string marked, fix;  // the text under the mark and what the fix writes there
    } cases[] = {
        {"a misspelt keyword", kTrainUri, "segnale,    1550,", "segnalr,    1550,", "W101", "segnalr", "segnale"},
        {"a speed off the step", kTrainUri, "velocita,    6350,   110", "velocita,    6350,   108", "W102", "108", "110"},
        {"a position off the grid", kLineUri, "cartello_indicatore,  11100,", "cartello_indicatore,  11120,", "W115",
         "11120", "11100"},
    };
    for (const Case& c : cases) {
        Editor editor;
        const std::string broken = open_with_one_row_changed(editor, built, c.uri, c.from, c.to);
        const Json published = editor.diagnostics()[c.uri];
        ASSERT_EQ(published.size(), 1u) << c.name << ": " << published.dump();
        EXPECT_EQ(published[0]["code"], c.code) << c.name;
        const auto [line, column] = where(broken, c.to);
        const int64_t at = column + static_cast<int64_t>(c.to.find(c.marked));
        EXPECT_EQ(published[0]["range"], Json({{"start", {{"line", line}, {"character", at}}},
                                               {"end", {{"line", line}, {"character", at + static_cast<int64_t>(c.marked.size())}}}}))
            << c.name;
        const Json actions = editor.request("textDocument/codeAction", {{"textDocument", {{"uri", c.uri}}},
                                                                        {"range", published[0]["range"]},
                                                                        {"context", {{"diagnostics", published}}}});
        ASSERT_EQ(actions["result"].size(), 1u) << c.name;
        EXPECT_EQ(actions["result"][0]["edit"]["changes"][c.uri][0]["newText"], c.fix) << c.name;
        EXPECT_EQ(actions["result"][0]["edit"]["changes"][c.uri][0]["range"], published[0]["range"]) << c.name;
    }
}

TEST(LanguageServer, MarksEachErrorOnItsFieldOrKeywordAsTheRefusingPassReadIt) {
    const WrittenDocuments& built = built_in_documents();
    struct Case {
        const char* name;
        const char* uri;
        std::string from, to;  // the row as written and as broken
        int code;
        std::string marked;  // the text under the mark, found in `to`
    } cases[] = {
        {"a signal on a taken cell, after a letter of two UTF-8 bytes", kTrainUri, "segnale,    2700,",
         "\xC3\x80segnale,    1560,", 16, "1560"},
        {"text where a number belongs", kTrainUri, "velocita,    6350,   110", "velocita,    6350,   1x0", 25, "1x0"},
        {"a number too wide for its field", kTrainUri, "velocita,    6350,   110",
         "velocita,    6350,   99999999999", 25, "99999999999"},
        {"a negative position", kTrainUri, "segnale,    6000,", "segnale,   -6000,", 201, "-6000"},
        {"a curve without its class: the row as a whole", kLineUri, "curvad5,  1850,  300", "curva,  1850,  300", 103,
         "curva"},
    };
    for (const Case& c : cases) {
        Editor editor;
        const std::string broken = open_with_one_row_changed(editor, built, c.uri, c.from, c.to);
        const Json published = editor.diagnostics()[c.uri];
        const Json* error = nullptr;
        for (const Json& d : published) {
            if (d["severity"] == 1) error = &d;
        }
        ASSERT_NE(error, nullptr) << c.name << ": " << published.dump();
        EXPECT_EQ((*error)["code"], c.code) << c.name;
        const auto [line, column] = where(broken, c.to);
        // The protocol counts UTF-16 code units: "À" is one, its UTF-8 two bytes.
        const int64_t at = column + utf16_units(c.to.substr(0, c.to.find(c.marked)));
        EXPECT_EQ((*error)["range"], Json({{"start", {{"line", line}, {"character", at}}},
                                          {"end", {{"line", line}, {"character", at + static_cast<int64_t>(c.marked.size())}}}}))
            << c.name << ": " << error->dump();
    }
}

TEST(LanguageServer, MovesAFeatureOffATakenCellToTheNearestFreeOne) {
    const WrittenDocuments& built = built_in_documents();
    struct Case {
        const char* name;
        const char* uri;
        std::string from, to;  // the row as written and as broken
        int code;
        std::string position;  // the position as broken, and the one the fix writes
        std::string fixed;
    } cases[] = {
        {"a signal on the cell of the signal at 1550 m", kTrainUri, "segnale,    2700,", "segnale,    1560,", 16, "1560",
         "1600"},
        {"a speed board on the cell of the one at 6350 m", kLineUri, "indicatori_vmax,  15350,",
         "indicatori_vmax,  6340,", 21, "6340", "6400"},
        {"an indication board on a speed board's cell, after \"\xC3\x80\"", kLineUri, "cartello_indicatore,  11100,",
         "\xC3\x80" "cartello_indicatore,  6360,", 6, "6360", "6400"},
    };
    for (const Case& c : cases) {
        Editor editor;
        const std::string broken = open_with_one_row_changed(editor, built, c.uri, c.from, c.to);
        const Json published = editor.diagnostics()[c.uri];
        const auto error_of = [&](const Json& diagnostics) {
            for (const Json& d : diagnostics) {
                if (d["code"] == c.code) return d;
            }
            return Json();
        };
        const Json error = error_of(published);
        ASSERT_FALSE(error.is_null()) << c.name << ": " << published.dump();
        const auto [line, column] = where(broken, c.to);
        const int64_t at = column + utf16_units(c.to.substr(0, c.to.find(c.position)));
        const Json range = {{"start", {{"line", line}, {"character", at}}},
                            {"end", {{"line", line}, {"character", at + static_cast<int64_t>(c.position.size())}}}};
        EXPECT_EQ(error["range"], range) << c.name;

        const Json actions = editor.request("textDocument/codeAction", {{"textDocument", {{"uri", c.uri}}},
                                                                        {"range", error["range"]},
                                                                        {"context", {{"diagnostics", {error}}}}});
        ASSERT_EQ(actions["result"].size(), 1u) << c.name << ": " << actions.dump();
        const Json& edit = actions["result"][0]["edit"]["changes"][c.uri][0];
        EXPECT_EQ(edit["range"], range) << c.name;
        EXPECT_EQ(edit["newText"], c.fixed) << c.name;

        // The fix applied: the error is gone, and no other error takes its place.
        editor.change(c.uri, replaced(broken, c.to, replaced(c.to, c.position, c.fixed)));
        const std::map<std::string, Json> after = editor.diagnostics();
        for (const char* uri : {kLineUri, kTrainUri}) {
            for (const Json& d : after.at(uri)) EXPECT_NE(d["severity"], 1) << c.name << ": " << d.dump();
        }
    }
}

TEST(LanguageServer, NamesTheMissingPartnerAndCharactersTheCodePageCannotHold) {
    const WrittenDocuments& built = built_in_documents();
    Editor editor;
    editor.start();
    editor.open(kTrainUri, built.treno.bytes);
    Json published = editor.diagnostics()[kTrainUri];
    ASSERT_EQ(published.size(), 1u);
    EXPECT_EQ(published[0]["range"]["start"]["line"], 0);
    EXPECT_NE(published[0]["message"].get<std::string>().find("Bresta_Vilcar_linea.txt"), std::string::npos);

    editor.open(kLineUri, built.linea.bytes);
    const std::string line = replaced(cp1252_to_utf8(built.linea.bytes), "(P.C.CAVRIA)", "(P.C.\xE2\x84\xA6 CAVRIA)");
    editor.change(kLineUri, line);
    published = editor.diagnostics()[kLineUri];
    ASSERT_EQ(published.size(), 1u) << published.dump();
    const auto [row, column] = where(line, "\xE2\x84\xA6");
    EXPECT_EQ(published[0]["severity"], 1);
    EXPECT_EQ(published[0]["range"]["start"], Json({{"line", row}, {"character", column}}));
    EXPECT_EQ(published[0]["range"]["end"], Json({{"line", row}, {"character", column + 1}}));
    EXPECT_NE(published[0]["message"].get<std::string>().find("U+2126"), std::string::npos);
}

TEST(LanguageServer, PointsAtTheOtherLineAMessageNames) {
    const WrittenDocuments& built = built_in_documents();
    Editor editor;
    editor.start();
    editor.open(kLineUri, built.linea.bytes);
    editor.open(kTrainUri, built.treno.bytes);
    // The sand given twice: the warning names the first row.
    const std::string train = replaced(cp1252_to_utf8(built.treno.bytes), "[aderenze]", "sabbia,    200\r\n[aderenze]");
    editor.change(kTrainUri, train);
    const Json published = editor.diagnostics()[kTrainUri];
    ASSERT_EQ(published.size(), 1u) << published.dump();
    EXPECT_EQ(published[0]["code"], "W105");
    const auto [first, column] = where(train, "sabbia,    300");
    ASSERT_EQ(published[0]["relatedInformation"].size(), 1u) << published[0].dump();  // named twice, given once
    const Json& location = published[0]["relatedInformation"][0]["location"];
    EXPECT_EQ(location["uri"], kTrainUri);
    EXPECT_EQ(location["range"]["start"], Json({{"line", first}, {"character", column}}));
}

// A feature refused on a taken cell names the row that holds the cell: the
// editor links it beside the error, on its position field where the check
// names it, else on its whole line.
TEST(LanguageServer, ATakenCellErrorLinksTheRowHoldingTheCell) {
    const WrittenDocuments& built = built_in_documents();
    struct Case {
        const char* name;
        const char* uri;  // the document changed, where the error is
        std::string from, to;
        const char* holderUri;
        std::string holder;  // the holder's row, from its first character
        int64_t fieldColumn;  // where its position field begins in it; -1: the whole line is linked
        int64_t fieldLength;
        std::string label;
    } cases[] = {
        {.name = "a signal on a station's stop cell",
         .uri = kTrainUri, .from = "segnale,    2700,", .to = "segnale,    18800,",
         .holderUri = kTrainUri, .holder = "stazione,   18550,  4,  700,  0, 1, 0,  1,1,0,  4,1,1,   30,   9,57, 0, PIANCASTELLO",
         .fieldColumn = -1, .fieldLength = 0, .label = "the stop cell of station PIANCASTELLO"},
        {.name = "an indication board on a speed board's cell",
         .uri = kLineUri, .from = "cartello_indicatore,  11100,", .to = "cartello_indicatore,  15350,",
         .holderUri = kLineUri, .holder = "indicatori_vmax,  15350,",
         .fieldColumn = 18, .fieldLength = 5, .label = "the cell of the speed board at 15350 m"},
    };
    for (const Case& c : cases) {
        Editor editor;
        const std::string changed = open_with_one_row_changed(editor, built, c.uri, c.from, c.to);
        const Json published = editor.diagnostics()[c.uri];
        ASSERT_EQ(published.size(), 1u) << c.name << published.dump();
        ASSERT_EQ(published[0]["severity"], 1) << c.name;
        const std::string holderText = cp1252_to_utf8(std::string(c.holderUri) == kLineUri ? built.linea.bytes : built.treno.bytes);
        const auto [line, column] = where(std::string(c.holderUri) == c.uri ? changed : holderText, c.holder);
        const int64_t trimmedEnd = column + static_cast<int64_t>(c.holder.size());
        const Json range = c.fieldColumn < 0
                               ? Json{{"start", {{"line", line}, {"character", column}}},
                                      {"end", {{"line", line}, {"character", trimmedEnd}}}}
                               : Json{{"start", {{"line", line}, {"character", column + c.fieldColumn}}},
                                      {"end", {{"line", line}, {"character", column + c.fieldColumn + c.fieldLength}}}};
        EXPECT_EQ(published[0]["relatedInformation"],
                  Json::array({{{"location", {{"uri", c.holderUri}, {"range", range}}}, {"message", c.label}}}))
            << c.name;
    }
}

TEST(LanguageServer, HoverCompletionAndOutlineOnTheBuiltInDocuments) {
    const WrittenDocuments& built = built_in_documents();
    Editor editor;
    editor.start();
    editor.open(kLineUri, built.linea.bytes);
    editor.open(kTrainUri, built.treno.bytes);
    editor.diagnostics();
    const std::string train = built.treno.bytes;

    const auto [signalLine, signalColumn] = where(train, "segnale,    1550");
    const std::string keyword = editor.request("textDocument/hover", position(kTrainUri, signalLine, signalColumn + 2))
                                    ["result"]["contents"]["value"];
    EXPECT_NE(keyword.find("**Signal**"), std::string::npos) << keyword;
    EXPECT_NE(keyword.find("| 11 tempo |"), std::string::npos) << keyword;
    const std::string number = editor.request("textDocument/hover", position(kTrainUri, signalLine, signalColumn + 13))
                                   ["result"]["contents"]["value"];
    EXPECT_NE(number.find("Read as 1550."), std::string::npos) << number;
    EXPECT_NE(number.find("cell 32, the cell of 1550 m"), std::string::npos) << number;

    // At the start of a row under [vel_limite]: the speed limit first, every train keyword, the headers.
    const auto [limitLine, limitColumn] = where(train, "velocita,       0");
    const Json items = editor.request("textDocument/completion", position(kTrainUri, limitLine, 0))["result"]["items"];
    std::map<std::string, std::string> sortTexts;
    for (const Json& item : items) sortTexts[item["label"]] = item["sortText"];
    EXPECT_EQ(sortTexts.count("[stazioni]"), 1u);
    EXPECT_EQ(sortTexts.count("pendenza"), 0u);  // a line description row
    EXPECT_EQ(sortTexts["velocita"].substr(0, 1), "0");
    EXPECT_EQ(sortTexts["segnale"].substr(0, 1), "1");
    EXPECT_TRUE(editor.request("textDocument/completion", position(kTrainUri, limitLine, limitColumn + 12))["result"]
                    ["items"].empty());  // among the values
    const auto [curveLine, curveColumn] = where(built.linea.bytes, "curvad5");
    const Json curves = editor.request("textDocument/completion", position(kLineUri, curveLine, 0))["result"]["items"];
    size_t curveItems = 0;
    for (const Json& item : curves) curveItems += item["label"].get<std::string>().rfind("curva", 0) == 0;
    EXPECT_EQ(curveItems, 12u);

    const Json outline = editor.request("textDocument/documentSymbol", {{"textDocument", {{"uri", kTrainUri}}}})["result"];
    std::map<std::string, size_t> children;
    for (const Json& section : outline) children[section["name"]] = section["children"].size();
    EXPECT_EQ(children, (std::map<std::string, size_t>{{"[generale]", 0}, {"[aderenze]", 0}, {"[vel_limite]", 0},
                                                         {"[stazioni]", 24}, {"[rallentamenti]", 0}, {"[segnali]", 44},
                                                         {"[codici]", 0}, {"[fine]", 0}}));
    EXPECT_EQ(outline[3]["children"][0]["name"], "BRESTA km 0.000");
}
