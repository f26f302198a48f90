#include "host.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <filesystem>

std::string ExeFolder() {
    wchar_t path[32768];
    DWORD n = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
    if (n == 0 || n >= sizeof path / sizeof path[0]) return ".";
    std::u8string folder = std::filesystem::path(path, path + n).parent_path().generic_u8string();
    return std::string(folder.begin(), folder.end());
}

long PeakResidentKb() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

// No leak checker runs the Windows build.
void PinGlDrivers() {}
