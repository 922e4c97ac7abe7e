# Writes the export list into a C++ source as one string, so the checking
# layer carries it wherever the test program runs.
#   cmake -DLIST=win98se-exports.txt -DOUT=Win98Exports.cpp -P EmbedExports.cmake
file(READ ${LIST} text)
file(WRITE ${OUT} "extern const char g_win98seExports[];\nconst char g_win98seExports[] = R\"exports(${text})exports\";\n")
