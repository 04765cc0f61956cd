# Writes a C++ source holding the explanation files (CODE.md) as byte arrays.
#   cmake -DSOURCE_DIR=tools/codes/explanations -DOUTPUT=file.cpp -P embed_explanations.cmake
include(${CMAKE_CURRENT_LIST_DIR}/byte_array.cmake)
file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.md)
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "${SOURCE_DIR} holds no explanation file")
endif()
set(arrays "")
set(entries "")
set(n 0)
foreach(file IN LISTS files)
  string(REGEX REPLACE "\\.md$" "" code "${file}")
  append_byte_array(${SOURCE_DIR}/${file} kFile${n} arrays size)
  string(APPEND entries "    {\"${code}\", {reinterpret_cast<const char*>(kFile${n}), ${size}}},\n")
  math(EXPR n "${n} + 1")
endforeach()
write_generated(${OUTPUT} "// Generated at build time from tools/codes/explanations by cmake/embed_explanations.cmake.\n"
  "#include \"tools/codes/explanation_files.h\"\n\nnamespace {\n${arrays}\n"
  "const ExplanationFile kFiles[] = {\n${entries}};\n\n}  // namespace\n\n"
  "std::span<const ExplanationFile> explanation_files() { return kFiles; }\n")
