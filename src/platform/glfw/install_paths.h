// Where the desktop game finds its data folder and keeps the player's saves:
// a build tree or an unpacked copy keeps both beside the player, an installed
// copy uses its own data folder and a per-user state folder. Which folders
// those are is the operating system's rule (os::DataFolderChoices).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/text.h"
#include "os/os.h"

struct InstallPaths {
    std::string dataFolder = "./data/";  // ends in a separator; empty when no folder was found
    std::string stateFolder;             // empty: the folder the game was started from
    std::vector<std::string> tried;      // data folders looked at, in order
};

// A folder counts as the game's data only when it holds this file, so an
// unrelated "data" folder in the player's current folder is passed over.
inline constexpr const char* kDataMarker = "tavo_font.png";

// The first of the choices whose folder holds the game's data, with that
// choice's state folder. `isDataFolder` tells whether a folder (ending in a
// separator) holds the game's data.
InstallPaths LocateInstallPaths(const std::vector<os::DataFolderChoice>& choices,
                                const std::function<bool(const std::string&)>& isDataFolder);

// The same for this process and this operating system's folders.
InstallPaths LocateInstallPaths();

// One line for standard error when no data folder was found.
std::string MissingDataMessage(const InstallPaths& paths);

// Maps a resource path for the desktop platform: "vorlek://data/" into the
// data folder, the state file into the state folder, the rest as usual.
String ResolveInstalledPath(const InstallPaths& paths, StringView path, StringView stateFile);
