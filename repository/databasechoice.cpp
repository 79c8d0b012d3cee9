#include "repository/databasechoice.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace velk {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

std::string WithoutTrailingSeparators(std::string text) {
  while (text.size() > 1 && IsSeparator(text.back())) text.pop_back();
  return text;
}

// The part of `path` after `directory` and a separator, when `path` lies there.
bool StripDirectory(const std::string& path, const std::string& directory, std::string& rest) {
  const std::string dir = WithoutTrailingSeparators(directory);
  if (dir.empty() || path.size() <= dir.size() + 1) return false;
  if (path.compare(0, dir.size(), dir) != 0) return false;
  const bool root = dir.size() == 1 && IsSeparator(dir[0]);
  const std::size_t start = root ? 1 : dir.size() + 1;
  if (!root && !IsSeparator(path[dir.size()])) return false;
  rest = path.substr(start);
  return true;
}

// The file a local path names; the store reads "\\" as a folder separator too.
fs::path LocalFile(std::string path, const ChooserPlace& place) {
  std::replace(path.begin(), path.end(), '\\', '/');
  const fs::path named(path);
  return named.is_absolute() ? named : fs::path(place.dataDirectory) / named;
}

}  // namespace

std::string ServerDisplayText(const std::string& server) {
  return server.empty() ? std::string(kLocalServerText) : server;
}

std::string ChosenDatabasesText(const std::string& server, const std::string& fileName) {
  return fileName.empty() ? std::string() : server + ";" + fileName;
}

ChosenDatabases ParseChosenDatabases(const std::string& text) {
  ChosenDatabases chosen;
  const std::size_t first = text.find(';');
  chosen.server = text.substr(0, first);
  if (first == std::string::npos) return chosen;
  std::size_t start = first + 1;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) chosen.paths.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return chosen;
}

std::string DatabaseEntryText(const std::string& filePath, const std::string& directory) {
  std::string rest;
  if (StripDirectory(filePath, directory, rest)) return rest;
  if (directory.empty()) return filePath;  // already relative to the data directory
  const std::size_t last = filePath.find_last_of("/\\");
  return last == std::string::npos ? filePath : filePath.substr(last + 1);
}

std::string JoinDatabasePath(const std::string& directory, const std::string& entry) {
  if (directory.empty()) return entry;
  if (IsSeparator(directory.back())) return directory + entry;
  return directory + "/" + entry;
}

std::string ChosenPathCase(const std::string& path, const ChooserPlace& place) {
  const std::string lower = Lower(path);
  if (!place.server.empty() || lower == path) return lower;
  std::error_code error;
  const bool same = fs::equivalent(LocalFile(lower, place), LocalFile(path, place), error);
  return same && !error ? lower : path;
}

std::string JoinChosenPaths(const std::vector<std::string>& paths, const ChooserPlace& place) {
  std::string joined;
  for (const std::string& path : paths) {
    if (!joined.empty()) joined += ";";
    joined += ChosenPathCase(path, place);
  }
  return joined;
}

}  // namespace velk
