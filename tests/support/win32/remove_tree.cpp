// Folders deeper than MAX_PATH, which std::filesystem cannot walk on Windows,
// go through the wide functions in their long "\\?\" form.
#include <windows.h>

#include <string>

#include "support/test_platform.h"

namespace {

void RemoveWide(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring inner = path + L"\\" + name;
            SetFileAttributesW(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveWide(inner);
            else
                DeleteFileW(inner.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path) {
    if (path.empty()) return;
    std::wstring wide(
        static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.pop_back();  // the terminator
    wchar_t full[32768];
    DWORD n = GetFullPathNameW(wide.c_str(), 32768, full, nullptr);
    if (n == 0 || n >= 32768) return;
    std::wstring absolute(full, n);
    if (absolute.rfind(L"\\\\", 0) != 0) absolute = L"\\\\?\\" + absolute;
    RemoveWide(absolute);
}
