// An author's document read whole, or why it could not be read: the check,
// compile and the preview read the documents they are given so, and say the
// same thing about one they cannot read.
#pragma once

#include <optional>
#include <string>

// Why a document could not be read, as the end of "the line description
// document ...": "does not exist", "is a folder, not a file", "cannot be read
// (Permission denied)".
struct AuthorDocument {
    std::string path;
    std::optional<std::string> text{};  // nothing when it could not be read
    std::string absence{};              // why not; empty when read
    // There is something at the path, but no document could be read from it.
    bool unreadable() const;
};

AuthorDocument read_author_document(const std::string& path);

// The message for a description document that could not be read, `which`
// being "line" or "train".
std::string unreadable_document_message(const char* which, const std::string& absence);
