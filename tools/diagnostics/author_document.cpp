#include "tools/diagnostics/author_document.h"

#include <filesystem>

#include "platform/platform.h"

namespace {

constexpr const char* kDoesNotExist = "does not exist";
constexpr const char* kIsAFolder = "is a folder, not a file";

}  // namespace

AuthorDocument read_author_document(const std::string& path) {
    AuthorDocument document{path, std::nullopt, ""};
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        document.absence = kIsAFolder;
        return document;
    }
    if (!platform::file_exists(path)) {
        document.absence = kDoesNotExist;
        return document;
    }
    try {
        document.text = platform::read_file(path);
    } catch (const platform::RunTimeFailure& failure) {
        document.absence = "cannot be read (" + failure.reason + ")";
    }
    return document;
}

bool AuthorDocument::unreadable() const { return !text && absence != kDoesNotExist; }

std::string unreadable_document_message(const char* which, const std::string& absence) {
    const std::string document = std::string("the ") + which + " description document ";
    if (absence == kIsAFolder) return document + absence + "; give the path of the document itself";
    if (absence.empty() || absence == kDoesNotExist)
        return document + kDoesNotExist + "; give the path of an existing file";
    return document + absence + "; give a file you may read, or allow reading it";
}
