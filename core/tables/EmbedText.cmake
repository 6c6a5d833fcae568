# Turns a text file into a C++ source that holds it as a byte array, so that
# the table declarations are part of the program and need no file at run
# time. Run as: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -P EmbedText.cmake
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n"
  "namespace terraq::ui::resources {\n"
  "extern const unsigned char ${SYMBOL}[] = {\n${bytes}0x00};\n"
  "extern const std::size_t ${SYMBOL}Size = ${size};\n"
  "}\n")
# Only a changed text rebuilds what depends on it.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
