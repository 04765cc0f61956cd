// A file's path as the path of a URI, for the editor's file URIs and the
// locations of SARIF.
#pragma once

#include <string>
#include <string_view>

// The path with its separators as "/" and every byte but the unreserved ones
// (letters, digits, "-", ".", "_", "~") and "/" written as "%XX", a ":" too,
// which would otherwise read as a scheme; the bytes of `alsoPlain` are kept as
// they are (a drive's ":" after "file:///").
std::string uri_path(std::string_view path, std::string_view alsoPlain = "");
