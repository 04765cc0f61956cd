// What the fuzz targets share: one program folder per process, emptied
// before every input, and the verdict on the violations an input caused.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/form1.h"

// The folder of this process (made on first use, removed at exit), emptied.
const std::string& fresh_program_folder();

// A form on the emptied folder with the built-in names.
Form1 fresh_form();

// Writes a document into the form's folder.
void put_document(const Form1& form, const std::string& name, std::string_view text);

// The entry of each target: runs one input, returns what went wrong (empty when all holds).
std::vector<std::string> fuzz_field_stream(std::string_view input);
std::vector<std::string> fuzz_line_reader(std::string_view input);
std::vector<std::string> fuzz_train_reader(std::string_view input);
std::vector<std::string> fuzz_compile(std::string_view input);
std::vector<std::string> fuzz_check(std::string_view input);
std::vector<std::string> fuzz_lsp(std::string_view input);

// For the fuzzer binaries: prints the violations and aborts when there are any.
void fuzz_verdict(const std::vector<std::string>& violations);

// Adds `more` to `out`.
void append(std::vector<std::string>& out, const std::vector<std::string>& more);
