#pragma once
// The texts of the "Open Database" chooser without its widgets: the list entry of
// a database found in a folder, the "Filename:" text of a selection or of files
// picked with "Browse", and the chosen-databases text handed to the settings
// pages ("server;path;path...", an empty server meaning the local machine).

#include <string>
#include <vector>

namespace velk {

// The local machine as dialogs show it.
inline constexpr char kLocalServerText[] = "Local";
// "Local" for the empty server, otherwise the name itself.
std::string ServerDisplayText(const std::string& server);

struct ChosenDatabases {
  std::string server;  // empty: the local machine
  std::vector<std::string> paths;
  bool operator==(const ChosenDatabases&) const = default;
};

// "server;fileName"; empty when the file name is empty (nothing was chosen).
std::string ChosenDatabasesText(const std::string& server, const std::string& fileName);
// The server up to the first ";", then every non-empty path up to the next ";".
ChosenDatabases ParseChosenDatabases(const std::string& text);

// The list entry of a database the store found below `directory`: its path
// relative to that folder, so that a database in a subfolder keeps the subfolder
// and joining folder and entry names it again.
std::string DatabaseEntryText(const std::string& filePath, const std::string& directory);
// The folder and the entry joined by the folder separator; an empty folder (the
// data directory) gives the entry alone.
std::string JoinDatabasePath(const std::string& directory, const std::string& entry);

// Where a chosen path is looked for: on a server, or in the local data
// directory (relative paths) and file system.
struct ChooserPlace {
  std::string server;         // empty: the local machine
  std::string dataDirectory;  // the local data directory
};

// Paths are made lower case as the chooser always did, except where that would
// name another file: a local path on a file system that tells cases apart keeps
// its case unless its lower-case form is the same file.
std::string ChosenPathCase(const std::string& path, const ChooserPlace& place);
// The "Filename:" text: the paths in order, each in ChosenPathCase, joined by ";".
std::string JoinChosenPaths(const std::vector<std::string>& paths, const ChooserPlace& place);

}  // namespace velk
