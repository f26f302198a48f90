// Data folder candidates and the per-user state folder on Linux.
#include "os/posix/data_folders.h"

#include <cstdlib>
#include <filesystem>

namespace {

// "/usr/games/../share/x/" reads better as "/usr/share/x/" in a message.
std::string Folder(const std::filesystem::path& path) {
    std::string text = path.lexically_normal().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

}  // namespace

std::string UserStateFolder(const char* xdgDataHome, const char* home) {
    // XDG base directories must be absolute; relative values are ignored.
    if (xdgDataHome && xdgDataHome[0] == '/') return Folder(xdgDataHome) + "brindlewick";
    if (home && home[0] == '/') return Folder(home) + ".local/share/brindlewick";
    return std::string();
}

std::vector<os::DataFolderChoice> PosixDataFolderChoices(const std::string& exePath,
                                                         const char* xdgDataHome,
                                                         const char* home) {
    std::vector<os::DataFolderChoice> choices{{"./data/", ""}};
    if (exePath.empty()) return choices;
    std::filesystem::path exeDir = std::filesystem::path(exePath).parent_path();
    choices.push_back({Folder(exeDir / "data"), ""});
    choices.push_back({Folder(exeDir / ".." / "share" / "games" / "brindlewick" / "data"),
                       UserStateFolder(xdgDataHome, home)});
    return choices;
}

std::vector<os::DataFolderChoice> os::DataFolderChoices() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return PosixDataFolderChoices(error ? std::string() : exe.string(), getenv("XDG_DATA_HOME"),
                                  getenv("HOME"));
}
