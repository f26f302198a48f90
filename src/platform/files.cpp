// Resource paths, whole-file reads, the text codec's file side and the
// state file, which is replaced atomically so a crash never tears it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
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
    FileHandle file = OpenFile(path, "rb");
    if (!file) return nullptr;
    std::string bytes;
    char chunk[4096];
    for (;;) {
        size_t n = fread(chunk, 1, sizeof chunk, file.get());
        bytes.append(chunk, n);
        if (n < sizeof chunk) break;
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
    return ReadTextFile(StateFilePath());
}

int PlGame::WriteStateFile(StringView state) {
    String resolved = ResolveResourcePath(StateFilePath());
    if (resolved.empty()) return -1;
    return WriteFileAtomically(EncodeUtf8(resolved), EncodeUtf8(state));
}

int WriteFileAtomically(const std::string& path, const std::string& bytes) {
    std::string temp = path + ".tmp";
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    bool complete = done == bytes.size() && fsync(fd) == 0;
    complete = close(fd) == 0 && complete;
    if (!complete || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return -2;  // the previous file, if any, is untouched
    }
    // Make the rename itself durable.
    std::string folder = path.substr(0, path.find_last_of('/') + 1);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}
