// Resource paths, whole-file reads, the text codec's file side and the
// state file, which is replaced atomically so a crash never tears it.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform_game.h"

namespace {

bool StartsWith(StringView text, StringView prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

}  // namespace

String ApplyDataPathRule(StringView path) {
    size_t slash = path.find(u'/');
    if (slash != StringView::npos && slash > 0 && path[slash - 1] == u':') return String(path);
    if (StartsWith(path, u"./") || StartsWith(path, u"/")) return String(path);
    return String(u"vorlek://data/") + String(path);
}

String MapVorlekPath(StringView path) {
    if (!StartsWith(path, u"vorlek:")) return String(path);
    struct Location {
        StringView scheme;
        StringView folder;
    };
    static constexpr Location kLocations[] = {
        {u"vorlek://data/", u"./data/"},
        {u"vorlek://internal/", u"./internal/"},
        {u"vorlek://external/", u"./external/"},
    };
    for (const Location& l : kLocations)
        if (StartsWith(path, l.scheme))
            return String(l.folder) + String(path.substr(l.scheme.size()));
    return String();
}

FileHandle PlGame::OpenFile(StringView path, const char* mode) {
    String resolved = ResolveResourcePath(path);
    if (resolved.empty()) return nullptr;
    return FileHandle(fopen(EncodeUtf8(resolved).c_str(), mode));
}

ByteBlock PlGame::ReadWholeFile(StringView path, int* length) {
    return ReadFileUpTo(path, INT_MAX, Oversize::Refuse, length);
}

// Reads in 4096-byte chunks until a short read. Past `limit` bytes a file is
// either refused before it is held in memory (a regular file's size is
// checked before reading at all) or cut there, so a hostile size never costs
// more than the limit.
ByteBlock PlGame::ReadFileUpTo(StringView path, size_t limit, Oversize oversize, int* length) {
    FileHandle file = OpenFile(path, "rb");
    if (!file) return nullptr;
    struct stat info {};
    if (oversize == Oversize::Refuse && fstat(fileno(file.get()), &info) == 0 &&
        S_ISREG(info.st_mode) && static_cast<unsigned long long>(info.st_size) > limit)
        return nullptr;
    std::string bytes;
    char chunk[4096];
    for (;;) {
        size_t room = std::min(sizeof chunk, limit - bytes.size());
        size_t n = fread(chunk, 1, room, file.get());
        bytes.append(chunk, n);
        if (n < room) break;
        if (bytes.size() == limit) {
            if (oversize == Oversize::Truncate) break;
            if (fgetc(file.get()) != EOF) return nullptr;  // grew, or not a plain file
            break;
        }
    }
    ByteBlock block(static_cast<uint8_t*>(malloc(bytes.size() ? bytes.size() : 1)));
    if (!block) return nullptr;
    std::copy(bytes.begin(), bytes.end(), block.get());
    if (length) *length = static_cast<int>(bytes.size());
    return block;
}

String PlGame::ReadTextFile(StringView path) {
    int length = 0;
    ByteBlock bytes = ReadWholeFile(path, &length);
    if (!bytes || length == 0) return String();
    return DecodeText(bytes.get(), length);
}

String PlGame::ReadStateFile() {
    // A real state is a few kilobytes. Whatever follows the first 64 KiB
    // (junk appended by a broken copy, say) is left unread, so the sections
    // at the front still load and the next save keeps them.
    int length = 0;
    ByteBlock bytes =
        ReadFileUpTo(StateFilePath(), kMaxStateFileBytes, Oversize::Truncate, &length);
    if (!bytes || length == 0) return String();
    return DecodeText(bytes.get(), length);
}

int PlGame::WriteStateFile(StringView state) {
    String resolved = ResolveResourcePath(StateFilePath());
    if (resolved.empty()) return -1;
    return WriteFileAtomically(EncodeUtf8(resolved), EncodeUtf8(state));
}

namespace {

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('/') + 1);
}

// The file a path finally names: a state file kept as a symbolic link (to a
// synced folder, say) must stay a link, so the save replaces its target.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; hops++) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        char target[PATH_MAX];
        ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) break;
        target[n] = '\0';
        path = target[0] == '/' ? std::string(target) : FolderOf(path) + target;
    }
    return path;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The plain save: truncate and rewrite the file itself.
int WriteInPlace(const std::string& path, const std::string& bytes) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) == 0) fchmod(fd, OwnerCanReadBack(info.st_mode & 07777));
    bool complete = WriteAll(fd, bytes) && fsync(fd) == 0;
    complete = close(fd) == 0 && complete;
    return complete ? 0 : -2;
}

// A save its owner cannot read back is a lost save: whatever the umask (0777,
// or none at all under the browser's file system) or the old file's mode, the
// owner keeps read and write; the group and other bits follow as they come.
mode_t OwnerCanReadBack(mode_t mode) {
    return mode | S_IRUSR | S_IWUSR;
}

// Permissions a newly created file gets, as a plain open would give it.
mode_t NewFileMode() {
    mode_t mask = umask(0);  // reading the mask means setting it; put it back at once
    umask(mask);
    return OwnerCanReadBack(0666 & ~mask);
}

}  // namespace

int WriteFileAtomically(const std::string& path, const std::string& bytes) {
    std::string target = FollowLinks(path);
    // A name of its own for every save, so two running copies never share one.
    std::string temp = target + ".tmp.XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        // No new file can be made beside it (a folder we may not write in, a
        // name too long): the file itself may still be writable, as it was
        // before saves were atomic. A full disk would only tear the old file.
        if (errno == ENOSPC || errno == EDQUOT) return -1;
        return WriteInPlace(target, bytes);
    }
    // The replacement keeps the permissions (and, where allowed, the owner) of
    // the file it replaces.
    struct stat old {};
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        int owned = fchown(fd, old.st_uid, old.st_gid);  // only root may give files away
        (void)owned;
        fchmod(fd, OwnerCanReadBack(old.st_mode & 07777));
    } else {
        fchmod(fd, NewFileMode());
    }
    bool complete = WriteAll(fd, bytes) && fsync(fd) == 0;
    complete = close(fd) == 0 && complete;
    if (!complete || rename(temp.c_str(), target.c_str()) != 0) {
        unlink(temp.c_str());
        return -2;  // the previous file, if any, is untouched
    }
    // Make the rename itself durable.
    std::string folder = FolderOf(target);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}
