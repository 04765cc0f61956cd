# byte_array(FILE NAME DEFINITION SIZE): sets DEFINITION to the C++ definition
# of an array NAME holding FILE's bytes and a closing 0, and SIZE to the count
# of the file's bytes (the 0 aside).
function(byte_array file name definition size)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR count "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  set(${definition} "const unsigned char ${name}[${count} + 1] = {\n${bytes}0};\n" PARENT_SCOPE)
  set(${size} ${count} PARENT_SCOPE)
endfunction()
