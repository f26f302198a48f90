// Files on POSIX: UTF-8 names as they are, the atomic save with mkostemp,
// fsync and rename, and folders made private to the user.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "os/os.h"

namespace os {

FILE* OpenFile(const std::string& path, const char* mode) {
    return fopen(path.c_str(), mode);  // no text mode to avoid here
}

int64_t RegularFileSize(FILE* file) {
    struct stat info {};
    if (!file || fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
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

}  // namespace os

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

}  // namespace

int os::WriteFileAtomically(const std::string& path, const std::string& bytes) {
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
