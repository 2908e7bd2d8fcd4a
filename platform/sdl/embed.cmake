# Writes a C++ source that holds a file's bytes as an array.
# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kName -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes to a line keeps the file readable and the compiler happy.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n  " bytes "${bytes}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${source} at build time; do not edit.\n"
  "#include \"platform/sdl/embedded.h\"\n\n"
  "namespace orvo::sdl::embedded {\n\n"
  "const unsigned char ${NAME}[] = {\n  ${bytes}\n};\n"
  "const std::size_t ${NAME}Size = ${size};\n\n"
  "}  // namespace orvo::sdl::embedded\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
