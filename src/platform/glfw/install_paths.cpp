// Data folder search and the per-user state folder of the desktop game.
#include "platform/glfw/install_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/platform_game.h"

namespace {

bool StartsWith(StringView text, StringView prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// File names are UTF-8 on the desktop; our strings are 16-bit characters.
String PathToString(const std::string& path) {
    return DecodeText(reinterpret_cast<const uint8_t*>(path.data()), path.size());
}

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

InstallPaths LocateInstallPaths(const std::string& exePath, const char* xdgDataHome,
                                const char* home,
                                const std::function<bool(const std::string&)>& isDataFolder) {
    InstallPaths paths;
    paths.tried.push_back("./data/");
    if (!exePath.empty()) {
        std::filesystem::path exeDir = std::filesystem::path(exePath).parent_path();
        paths.tried.push_back(Folder(exeDir / "data"));
        paths.tried.push_back(Folder(exeDir / ".." / "share" / "games" / "brindlewick" / "data"));
    }
    for (size_t i = 0; i < paths.tried.size(); i++) {
        if (!isDataFolder(paths.tried[i])) continue;
        paths.dataFolder = paths.tried[i];
        if (i == 2) paths.stateFolder = UserStateFolder(xdgDataHome, home);
        return paths;
    }
    paths.dataFolder.clear();
    return paths;
}

InstallPaths LocateInstallPaths() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return LocateInstallPaths(error ? std::string() : exe.string(), getenv("XDG_DATA_HOME"),
                              getenv("HOME"), [](const std::string& folder) {
                                  std::error_code ignored;
                                  return std::filesystem::is_regular_file(folder + kDataMarker,
                                                                          ignored);
                              });
}

std::string MissingDataMessage(const InstallPaths& paths) {
    std::string message = "brindlewick: cannot find the game's data folder; looked in";
    for (size_t i = 0; i < paths.tried.size(); i++)
        message += (i == 0 ? " " : ", ") + paths.tried[i];
    return message;
}

String ResolveInstalledPath(const InstallPaths& paths, StringView path, StringView stateFile) {
    constexpr StringView kData = u"vorlek://data/";
    if (StartsWith(path, kData) && !paths.dataFolder.empty())
        return PathToString(paths.dataFolder) + String(path.substr(kData.size()));
    if (path == stateFile && !paths.stateFolder.empty()) {
        StringView name = path.substr(path.find_last_of(u'/') + 1);
        return PathToString(paths.stateFolder) + u"/" + String(name);
    }
    return MapVorlekPath(path);
}

bool MakeFolders(const std::string& folder) {
    std::filesystem::path path(folder);
    std::filesystem::path built;
    for (const std::filesystem::path& part : path) {
        built /= part;
        if (mkdir(built.c_str(), 0700) == 0) {
            // A umask of 0777 would leave a folder even its owner cannot enter.
            chmod(built.c_str(), 0700);
        } else if (errno != EEXIST) {
            return false;
        }
    }
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}
