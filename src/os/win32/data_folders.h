// Where the game's data and saves live on Windows, as a rule on plain facts.
#pragma once

#include <string>
#include <vector>

#include "os/os.h"

// The installer writes this file beside the program; an unpacked zip has none.
inline constexpr const char* kInstalledMarker = "brindlewick.installed";

// An installed copy is one the installer put there (its marker beside the
// program) or one under a Program Files folder, where a player may not write
// anyway. `programFolders` are those folders; `exeDir` ends in a separator.
bool IsInstalledCopy(const std::string& exeDir, bool markerBeside,
                     const std::vector<std::string>& programFolders);

// An installed copy uses the data folder beside the program only and keeps
// its state in <appData>\Brindlewick (the start folder if there is no
// <appData>). An unpacked or build-tree copy searches .\data\ and then the
// data folder beside the program, and keeps its state in the start folder.
std::vector<os::DataFolderChoice> WindowsDataFolderChoices(const std::string& exeDir,
                                                           bool installed,
                                                           const std::string& appData);
