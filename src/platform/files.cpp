// Resource paths, whole-file reads, the text codec's file side and the
// state file, which is replaced atomically so a crash never tears it.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "os/os.h"
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
    return FileHandle(os::OpenFile(EncodeUtf8(resolved), mode));
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
    if (oversize == Oversize::Refuse) {
        int64_t size = os::RegularFileSize(file.get());
        if (size >= 0 && static_cast<uint64_t>(size) > limit) return nullptr;
    }
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
    return os::WriteFileAtomically(EncodeUtf8(resolved), EncodeUtf8(state));
}
