#pragma once
// A data directory of the fuzzer's own, made once per process and removed at exit.

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "repository/store/lnnotes.h"

inline const std::filesystem::path& FuzzDataDirectory() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkfuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    setenv("VELK_DATA_DIR", pattern.c_str(), 1);
    setenv("VELK_USER", "CN=Fuzz/O=Marvelund", 1);
    std::atexit([] { std::filesystem::remove_all(FuzzDataDirectory()); });
    return std::filesystem::path(pattern);
  }();
  return dir;
}

inline LNNotesSession& FuzzSession() {
  FuzzDataDirectory();
  static LNNotesSession session;
  if (!session.IsInitialized()) session.Init(410);
  return session;
}
