// The documents the check's and the language server's benchmarks run on.
#include "bench/check_documents.h"

#include "bench/bench_support.h"
#include "core/form1.h"
#include "platform/platform.h"
#include "tools/testing/test_folder.h"

namespace {

// Rewrites every `every`-th row that begins with `key` (counting from `first`)
// by `change`, at most `count` rows.
template <typename Change>
std::string rewrite_rows(const std::string& text, const std::string& key, int first, int every, int count,
                         Change change) {
    std::string out;
    size_t start = 0;
    int seen = 0;
    int changed = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        end = end == std::string::npos ? text.size() : end + 2;
        std::string row = text.substr(start, end - start);
        if (row.rfind(key, 0) == 0) {
            if (seen >= first && (seen - first) % every == 0 && changed < count) {
                row = change(row);
                ++changed;
            }
            ++seen;
        }
        out += row;
        start = end;
    }
    return out;
}

}  // namespace

RouteDocuments with_fifty_errors(RouteDocuments docs) {
    // Boards stand every 2000 m from 800 m; signals every 1000 m from 550 m.
    docs.line = rewrite_rows(docs.line, "indicatori_vmax,", 10, 20, 25, [](std::string row) {
        const size_t second = row.find(',', row.find(',') + 1);
        return row.substr(0, second) + ",  2000" + row.substr(row.find(',', second + 1));
    });
    docs.train = rewrite_rows(docs.train, "segnale,", 0, 40, 25, [](const std::string& row) {
        const size_t first = row.find(',');
        const size_t second = row.find(',', first + 1);
        const long position = std::stol(row.substr(first + 1, second - first - 1));
        return "segnale, " + std::to_string(position + 250) + row.substr(second);
    });
    return docs;
}

RouteDocuments built_in_documents() {
    TestFolder folder;
    Form1 form(folder.path());
    name_scenario(form);
    form.dati_linea();
    form.dati_treno();
    return {platform::read_file(form.file_path(form.line_document_name())),
            platform::read_file(form.file_path(form.train_document_name()))};
}

