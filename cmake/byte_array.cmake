# append_byte_array(FILE NAME ARRAYS SIZE): appends to ARRAYS the C++
# definition of an array NAME holding FILE's bytes and a closing 0, under a
# comment naming the file, and sets SIZE to the count of the file's bytes (the
# 0 aside).
function(append_byte_array file name out_arrays out_size)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR count "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  get_filename_component(shown ${file} NAME)
  set(${out_arrays} "${${out_arrays}}// ${shown}\nconst unsigned char ${name}[${count} + 1] = {\n${bytes}0};\n" PARENT_SCOPE)
  set(${out_size} ${count} PARENT_SCOPE)
endfunction()

# write_generated(OUTPUT TEXT...): writes the texts, one after the other, as a
# generated source, leaving it (and so what is built from it) untouched when
# its text is the same. Each text is taken whole, semicolons and all.
function(write_generated output)
  set(text "")
  math(EXPR last "${ARGC} - 1")
  foreach(i RANGE 1 ${last})
    string(APPEND text "${ARGV${i}}")
  endforeach()
  file(WRITE ${output}.new "${text}")
  file(COPY_FILE ${output}.new ${output} ONLY_IF_DIFFERENT)
  file(REMOVE ${output}.new)
endfunction()
