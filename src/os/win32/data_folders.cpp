// Data folder candidates and the per-user state folder on Windows.
#include "os/win32/data_folders.h"

#include <shlobj.h>
#include <windows.h>

#include "os/win32/wide.h"

namespace {

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

// A known folder's path in UTF-8, "" when Windows has none.
std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string utf8;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        utf8 = Utf8FromWide(path);
    CoTaskMemFree(path);
    return utf8;
}

// The folder of this program, ending in a separator; "" if unknown.
std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // a long path: try again with room for it
    }
    return Utf8FromWide(path.substr(0, path.find_last_of(L"\\/") + 1));
}

}  // namespace

bool IsInstalledCopy(const std::string& exeDir, bool markerBeside,
                     const std::vector<std::string>& programFolders) {
    if (markerBeside) return true;
    std::wstring dir = WideFromUtf8(exeDir);
    for (const std::string& folder : programFolders) {
        std::wstring inside = WideFromUtf8(WithSeparator(folder));
        if (folder.empty() || dir.size() < inside.size()) continue;
        // File names compare without regard to case, as Windows does.
        if (CompareStringOrdinal(dir.c_str(), static_cast<int>(inside.size()), inside.c_str(),
                                 static_cast<int>(inside.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

std::vector<os::DataFolderChoice> WindowsDataFolderChoices(const std::string& exeDir,
                                                           bool installed,
                                                           const std::string& appData) {
    std::string beside = WithSeparator(exeDir) + "data\\";
    if (installed)
        return {{beside, appData.empty() ? std::string() : WithSeparator(appData) + "Brindlewick"}};
    std::vector<os::DataFolderChoice> choices{{".\\data\\", ""}};
    if (!exeDir.empty()) choices.push_back({beside, ""});
    return choices;
}

std::vector<os::DataFolderChoice> os::DataFolderChoices() {
    std::string exeDir = ProgramFolder();
    bool installed =
        !exeDir.empty() && IsInstalledCopy(exeDir, os::IsRegularFile(exeDir + kInstalledMarker),
                                           {KnownFolder(FOLDERID_ProgramFiles),
                                            KnownFolder(FOLDERID_ProgramFilesX86)});
    return WindowsDataFolderChoices(exeDir, installed, KnownFolder(FOLDERID_RoamingAppData));
}
