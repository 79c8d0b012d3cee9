# Script mode: writes OUT, a C++ source defining velk::SiteFiles() with the text
# of every file of FILES (relative to BASE) under its relative name, so that the
# publishing pages stay template files in the source tree and the program needs
# no data directory at run time.
#   cmake -DBASE=dir -DFILES="a|b" -DOUT=file.cpp -P EmbedFiles.cmake
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
foreach(name IN LISTS FILES)
  file(READ "${BASE}/${name}" text)
  string(FIND "${text}" ")velk-embed\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${name} holds the embedding delimiter")
  endif()
  string(APPEND body "      {\"${name}\", R\"velk-embed(${text})velk-embed\"},\n")
endforeach()
file(WRITE "${OUT}.tmp"
"// Generated from ${BASE} by cmake/EmbedFiles.cmake; do not edit.
#include \"publish/sitefiles.h\"

namespace velk {

const std::vector<SiteFile>& SiteFiles() {
  static const std::vector<SiteFile> files = {
${body}  };
  return files;
}

}  // namespace velk
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
