// Files on Windows: wide names, binary mode, and the atomic save with a
// temporary file moved over the target by MoveFileExW. A symbolic link in the
// target's place is replaced, not followed: making one takes rights a player
// seldom has, so Windows saves do not keep them as Linux saves do.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "os/os.h"
#include "os/win32/wide.h"

namespace {

struct OpenMode {
    DWORD access = 0;
    DWORD disposition = 0;
    int flags = _O_BINARY;
};

// fopen's modes as CreateFileW wants them; false for anything else.
bool ParseMode(const char* mode, OpenMode* out) {
    bool update = false;
    for (const char* c = mode + 1; *c; c++) update = update || *c == '+';
    switch (mode[0]) {
        case 'r':
            out->disposition = OPEN_EXISTING;
            out->access = GENERIC_READ | (update ? GENERIC_WRITE : 0);
            out->flags |= update ? _O_RDWR : _O_RDONLY;
            return true;
        case 'w':
            out->disposition = CREATE_ALWAYS;
            out->access = GENERIC_WRITE | (update ? GENERIC_READ : 0);
            out->flags |= update ? _O_RDWR : _O_WRONLY;
            return true;
        case 'a':
            out->disposition = OPEN_ALWAYS;
            out->access = GENERIC_WRITE | (update ? GENERIC_READ : 0);
            out->flags |= _O_APPEND | (update ? _O_RDWR : _O_WRONLY);
            return true;
        default:
            return false;
    }
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// Writes, flushes to the disk and closes; false if any of it failed.
bool WriteAndClose(HANDLE file, const std::string& bytes) {
    bool complete = WriteAll(file, bytes) && FlushFileBuffers(file);
    return CloseHandle(file) && complete;
}

// The plain save: truncate and rewrite the file itself.
int WriteInPlace(const std::wstring& target, const std::string& bytes) {
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    return WriteAndClose(file, bytes) ? 0 : -2;
}

// A name of its own for every save, so two running copies never share one.
std::wstring TemporaryName(const std::wstring& full, unsigned attempt) {
    static LONG counter = 0;
    wchar_t suffix[64];
    swprintf(suffix, 64, L".tmp.%lx.%lx.%x", GetCurrentProcessId(),
             static_cast<unsigned long>(InterlockedIncrement(&counter)), attempt);
    return LongForm(full + suffix);
}

// A scanner or indexer may hold the target for a moment; a folder in the
// way never gives way.
bool MoveOver(const std::wstring& temp, const std::wstring& target) {
    for (DWORD wait = 1;; wait *= 2) {
        if (MoveFileExW(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                    (error == ERROR_ACCESS_DENIED && !IsFolder(target));
        if (!busy || wait > 128) return false;
        Sleep(wait);
    }
}

}  // namespace

FILE* os::OpenFile(const std::string& path, const char* mode) {
    OpenMode parsed;
    if (!mode || !ParseMode(mode, &parsed)) return nullptr;
    // Shared for deletion too, so a save may replace a file while it is read.
    HANDLE handle = CreateFileW(WidePath(path).c_str(), parsed.access,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                parsed.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), parsed.flags);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::string binary = mode;
    if (binary.find('b') == std::string::npos) binary += 'b';
    FILE* file = _fdopen(fd, binary.c_str());
    if (!file) _close(fd);
    return file;
}

int64_t os::RegularFileSize(FILE* file) {
    if (!file) return -1;
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return static_cast<int64_t>(static_cast<uint64_t>(info.nFileSizeHigh) << 32 |
                                info.nFileSizeLow);
}

bool os::IsRegularFile(const std::string& path) {
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool os::MakeFolders(const std::string& folder) {
    std::wstring path = WidePath(folder);
    // Every folder on the way down from the root; those that exist already,
    // and the root itself, simply refuse.
    size_t first = path.rfind(L"\\\\?\\", 0) == 0 ? 4 : 1;
    for (size_t i = first; i < path.size(); i++)
        if (path[i] == L'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    return IsFolder(path);
}

int os::WriteFileAtomically(const std::string& path, const std::string& bytes) {
    std::wstring full = FullPath(path);
    if (full.empty()) return -1;
    std::wstring target = LongForm(full);
    DWORD old = GetFileAttributesW(target.c_str());
    bool replacing = old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY);
    // The new file keeps the old one's hidden or system mark.
    DWORD kept = replacing ? old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; attempt++) {
        temp = TemporaryName(full, attempt);
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        // No new file can be made beside it (a folder we may not write in, a
        // name too long): the file itself may still be writable. A full disk
        // would only tear the old file.
        DWORD error = GetLastError();
        if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return -1;
        return WriteInPlace(target, bytes);
    }
    if (!WriteAndClose(file, bytes)) {
        DeleteFileW(temp.c_str());
        return -2;
    }
    // Read-only would refuse the move, and the next save after it: the owner
    // keeps the right to write, as on the other systems.
    DWORD writable = old & ~FILE_ATTRIBUTE_READONLY;
    bool unlocked = replacing && (old & FILE_ATTRIBUTE_READONLY) &&
                    SetFileAttributesW(target.c_str(), writable ? writable : FILE_ATTRIBUTE_NORMAL);
    if (!MoveOver(temp, target)) {
        if (unlocked) SetFileAttributesW(target.c_str(), old);
        DeleteFileW(temp.c_str());
        return -2;  // the previous file, if any, is untouched
    }
    return 0;
}
