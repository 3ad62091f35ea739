# Writes a C++ source that holds a file's bytes as a character array, so a
# table of data/ is part of the program and read without a file at run time.
# cmake -DINPUT=<file> -DOUTPUT=<source.cpp> -DNAMESPACE=<ns> -DSYMBOL=<name> -P embed_file.cmake
# The source defines `const char SYMBOL[]` (the bytes, then a 0 that is not
# counted) and `const std::size_t SYMBOL_SIZE`.
foreach(var INPUT OUTPUT NAMESPACE SYMBOL)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed_file.cmake: ${var} is not set")
  endif()
endforeach()
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# Sixteen bytes a line.
string(REGEX REPLACE "(('[^']*',){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}.new
"// Made by data/embed_file.cmake from ${name}; edit that file, not this one.
#include <cstddef>

namespace ${NAMESPACE} {

extern const char ${SYMBOL}[];
extern const std::size_t ${SYMBOL}_SIZE;
const char ${SYMBOL}[] = {
    ${bytes}'\\0'};
const std::size_t ${SYMBOL}_SIZE = ${size};

}  // namespace ${NAMESPACE}
")
# Rewritten only when it changes, so an unchanged table compiles nothing.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
