// Data folder search and the per-user state folder of the desktop game.
#include "platform/glfw/install_paths.h"

#include "platform/platform_game.h"

namespace {

bool StartsWith(StringView text, StringView prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// File names are UTF-8 on the desktop; our strings are 16-bit characters.
String PathToString(const std::string& path) {
    return DecodeText(reinterpret_cast<const uint8_t*>(path.data()), path.size());
}

}  // namespace

InstallPaths LocateInstallPaths(const std::vector<os::DataFolderChoice>& choices,
                                const std::function<bool(const std::string&)>& isDataFolder) {
    InstallPaths paths;
    for (const os::DataFolderChoice& choice : choices) paths.tried.push_back(choice.dataFolder);
    for (const os::DataFolderChoice& choice : choices) {
        if (!isDataFolder(choice.dataFolder)) continue;
        paths.dataFolder = choice.dataFolder;
        paths.stateFolder = choice.stateFolder;
        return paths;
    }
    paths.dataFolder.clear();
    return paths;
}

InstallPaths LocateInstallPaths() {
    return LocateInstallPaths(os::DataFolderChoices(), [](const std::string& folder) {
        return os::IsRegularFile(folder + kDataMarker);
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
