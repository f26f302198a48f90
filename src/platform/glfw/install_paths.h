// Where the desktop game finds its data folder and keeps the player's saves:
// a build tree keeps both beside the player, an installed copy uses the
// shared data folder and a per-user state folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/text.h"

struct InstallPaths {
    std::string dataFolder = "./data/";  // ends in '/'; empty when no folder was found
    std::string stateFolder;             // empty: the folder the game was started from
    std::vector<std::string> tried;      // data folders looked at, in order
};

// A folder counts as the game's data only when it holds this file, so an
// unrelated "data" folder in the player's current folder is passed over.
inline constexpr const char* kDataMarker = "tavo_font.png";

// Searches ./data/, <exe dir>/data/ and <exe dir>/../share/games/brindlewick/data/
// in that order. Only the last one is an installed copy, which keeps its
// state in ${XDG_DATA_HOME:-$HOME/.local/share}/brindlewick/.
// `isDataFolder` tells whether a folder (ending in '/') holds the game's data.
InstallPaths LocateInstallPaths(const std::string& exePath, const char* xdgDataHome,
                                const char* home,
                                const std::function<bool(const std::string&)>& isDataFolder);

// The same for this process: /proc/self/exe, the environment, the file system.
InstallPaths LocateInstallPaths();

// The per-user state folder, or "" when neither variable names a usable folder.
std::string UserStateFolder(const char* xdgDataHome, const char* home);

// One line for standard error when no data folder was found.
std::string MissingDataMessage(const InstallPaths& paths);

// Maps a resource path for the desktop platform: "vorlek://data/" into the
// data folder, the state file into the state folder, the rest as usual.
String ResolveInstalledPath(const InstallPaths& paths, StringView path, StringView stateFile);

// Creates a folder and its missing parents (new ones private to the user).
bool MakeFolders(const std::string& folder);
