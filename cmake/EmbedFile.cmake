# Writes a C++ source that holds a file's bytes: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -P EmbedFile.cmake
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n"
  "namespace talveron::detail {\n"
  "extern const unsigned char ${SYMBOL}[] = {${bytes} 0};\n"
  "extern const std::size_t ${SYMBOL}Size = ${byteCount};\n"
  "}\n")
