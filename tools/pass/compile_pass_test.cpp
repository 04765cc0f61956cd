// The pass from memory: the compiler's own results, byte for byte, and not a
// file opened, written or deleted.
#include "tools/pass/compile_pass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/error_codes.h"
#include "core/run_end.h"
#include "tools/testing/test_folder.h"

namespace fs = std::filesystem;

namespace {

const char* const kCompiledNames[] = {"Bresta_Vilcar_linea.dat", "Bresta_Vilcar_RX907.sim", "Bresta_Vilcar_RX907.dat"};

struct Documents {
    std::string line;
    std::string train;
};

// The built-in scenario's two description documents, as the compiler writes them.
Documents built_in() {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    form.dati_linea();
    form.dati_treno();
    return {folder.read(form.line_document_name()), folder.read(form.train_document_name())};
}

const std::string kShortLine = "[generale]\r\nlunghezza percorso,    2000\r\n[fine]\r\n";

std::string train_with(const std::string& row) { return "[generale]\r\nvelocita, 0, 80\r\n" + row + "[fine]\r\n"; }

struct PassCase {
    const char* name;
    std::optional<std::string> line;
    std::optional<std::string> train;
    bool lineTable = true;
};

std::vector<PassCase> pass_cases() {
    const Documents b = built_in();
    return {
        {.name = "built-in scenario", .line = b.line, .train = b.train},
        {.name = "without line table", .line = b.line, .train = b.train, .lineTable = false},
        {.name = "a refused row", .line = kShortLine, .train = train_with("stazione, 175, 200, 0, 0, 0, A\r\n")},
        {.name = "a number too wide", .line = kShortLine, .train = train_with("velocita, 500, 99999999999\r\n")},
        {.name = "no train description", .line = b.line, .train = std::nullopt},
        {.name = "no line description", .line = std::nullopt, .train = b.train},
        {.name = "a signal in cell 1", .line = kShortLine, .train = train_with("segnale, 0, 1, 4, 1, 0, 0, 1, 3, 1, 0, 0\r\n")},
    };
}

// What a pass leaves: its error fields, how it ended, and the compiled files
// (name to bytes) it gave.
struct Outcome {
    int32_t errorCode = 0, errorReported = 0, errorLine = 0, errorCell = 0;
    Document errorDocument = Document::None;
    std::string errorDetail, erroreNumber;
    int status = 0;
    std::map<std::string, std::string> files;
    bool operator==(const Outcome&) const = default;
};

Outcome outcome_of(const Form1& form, int status) {
    Outcome o;
    o.errorCode = form.errorCode;
    o.errorReported = form.errorReported;
    o.errorLine = form.errorLine;
    o.errorCell = form.errorCell;
    o.errorDocument = form.errorDocument;
    o.errorDetail = form.errorDetail;
    o.erroreNumber = form.erroreNumber;
    o.status = status;
    return o;
}

// The compiler's own pass: the documents written into its program folder, read and deleted there.
Outcome compiler_pass(const PassCase& c) {
    TestFolder folder;
    Form1 form(folder.path());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    form.erroreBox = false;
    if (c.line) folder.write(form.line_document_name(), *c.line);
    if (c.train) folder.write(form.train_document_name(), *c.train);
    const RunEnd end = run_to_end([&] {
        form.memorizza_percorso(c.lineTable ? 1 : 0);
        return kExitClean;
    });
    Outcome o = outcome_of(form, end.status);
    for (const char* name : kCompiledNames) {
        if (folder.exists(name)) o.files[name] = folder.read(name);
    }
    return o;
}

Outcome memory_pass(const PassCase& c) {
    CompilePass pass({.names = {}, .lineTable = c.lineTable});
    const PassEnd& end = pass.run({c.line, c.train});
    Outcome o = outcome_of(pass.form(), end.errore ? kExitErrore : end.failure ? kExitRunTimeFailure : kExitClean);
    if (end.files) {
        if (end.files->lineData) o.files[kCompiledNames[0]] = *end.files->lineData;
        o.files[kCompiledNames[1]] = end.files->scenario;
        o.files[kCompiledNames[2]] = *end.files->grid;
    }
    return o;
}

TEST(CompilePass, GivesWhatTheCompilerWrites) {
    for (const PassCase& c : pass_cases()) {
        const Outcome compiler = compiler_pass(c);
        const Outcome memory = memory_pass(c);
        EXPECT_EQ(memory, compiler) << c.name << ": error " << memory.errorReported << " against "
                                    << compiler.errorReported << ", status " << memory.status << " against "
                                    << compiler.status << ", " << memory.files.size() << " files against "
                                    << compiler.files.size();
    }
    // The cases reach every way a pass ends.
    std::map<int, int> statuses;
    for (const PassCase& c : pass_cases()) ++statuses[memory_pass(c).status];
    EXPECT_EQ(statuses.size(), 3u);
}

TEST(CompilePass, AMissingTrainDescriptionFailsAsAMissingFile) {
    const Outcome o = memory_pass({.name = "", .line = kShortLine, .train = std::nullopt});
    EXPECT_EQ(o.errorReported, kReadFailure);
    EXPECT_EQ(o.errorDocument, Document::Train);
    EXPECT_EQ(o.errorDetail, std::strerror(ENOENT));
}

TEST(CompilePass, EachRunStartsAfresh) {
    const Documents b = built_in();
    CompilePass pass({});
    ASSERT_TRUE(pass.run({kShortLine, train_with("sabbia, 70000\r\n")}).went_through());
    ASSERT_GT(pass.form().errorCode, 0);
    const PassEnd& end = pass.run({b.line, b.train});
    ASSERT_TRUE(end.files);
    EXPECT_EQ(pass.form().errorCode, 0);
    EXPECT_EQ(*end.files->grid, memory_pass({.name = "", .line = b.line, .train = b.train}).files[kCompiledNames[2]]);
    // Without the line data file's bytes the other two are the same.
    CompilePass streaming({.names = {}, .lineDataBytes = false});
    const PassEnd& streamed = streaming.run({b.line, b.train});
    ASSERT_TRUE(streamed.files);
    EXPECT_FALSE(streamed.files->lineData);
    EXPECT_EQ(streamed.files->scenario, end.files->scenario);
    EXPECT_EQ(*streamed.files->grid, *end.files->grid);
    // Without bytes asked for, none are given; the tables are still there.
    CompilePass checking({.names = {}, .compiledFiles = false});
    EXPECT_FALSE(checking.run({b.line, b.train}).files);
    EXPECT_EQ(checking.form().grid.upper(), pass.form().grid.upper());
}

// Runs the test with the current folder changed, back again however it ends.
class InFolder {
public:
    explicit InFolder(const std::string& path) : before_(fs::current_path()) { fs::current_path(path); }
    ~InFolder() { fs::current_path(before_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path before_;
};

// The pass's form has the current folder as its program folder: an empty one
// stays empty, and one that holds files of the compiler's own names keeps
// them as they were, unread (a document missing in memory is missing).
TEST(CompilePass, TouchesNoFile) {
    TestFolder empty;
    TestFolder decoys;
    decoys.write("Bresta_Vilcar_linea.txt", "[generale]\r\nlunghezza percorso, 5000\r\n[fine]\r\n");
    decoys.write("Bresta_Vilcar_RX907-.txt", train_with(""));
    for (const char* name : kCompiledNames) decoys.write(name, "older");
    for (const TestFolder* folder : {&empty, &decoys}) {
        const FolderSnapshot before = folder_snapshot(folder->path());
        InFolder here(folder->path());
        for (const PassCase& c : pass_cases()) {
            const Outcome o = memory_pass(c);
            if (!c.line) {
                EXPECT_EQ(o.errorReported, kLineDocumentMissing) << c.name;
            } else if (!c.train) {
                EXPECT_EQ(o.errorReported, kReadFailure) << c.name;
            }
            EXPECT_EQ(folder_snapshot(folder->path()), before) << c.name;
        }
    }
    EXPECT_TRUE(empty.list().empty());
}

}  // namespace
