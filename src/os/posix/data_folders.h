// Where the game's data and saves live on Linux, as a rule on plain facts.
#pragma once

#include <string>
#include <vector>

#include "os/os.h"

// ./data/, <exe dir>/data/ and <exe dir>/../share/games/brindlewick/data/ in
// that order. Only the last one is an installed copy, which keeps its state
// in ${XDG_DATA_HOME:-$HOME/.local/share}/brindlewick/. Without a known
// executable only the current folder is searched.
std::vector<os::DataFolderChoice> PosixDataFolderChoices(const std::string& exePath,
                                                         const char* xdgDataHome, const char* home);

// The per-user state folder, or "" when neither variable names a usable folder.
std::string UserStateFolder(const char* xdgDataHome, const char* home);
