// Our own RIFF/WAVE reader and Ogg Vorbis through stb_vorbis. Sizes read from
// a file are never trusted beyond the bytes the file really has left.
#include "formats/audio_decode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formats/vorbis_heap.h"

// Prototypes only: the decoder is compiled in audio/vorbis_heap.cpp.
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// A decoded Ogg stream larger than this is taken as a damaged file.
constexpr size_t kMaxOggBytes = size_t(256) << 20;
constexpr int kOggChunkFrames = 4096;
// The decoder's own tables: real streams need a few hundred kilobytes.
constexpr size_t kMaxVorbisHeap = size_t(32) << 20;
// The decoder sizes its comment list in an int: eight bytes an entry.
constexpr uint32_t kMaxComments = uint32_t(1) << 24;

// Bytes from the current position to the end, or -1 when the file cannot seek.
long BytesLeft(FILE* file) {
    long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0) return -1;
    long end = ftell(file);
    if (fseek(file, here, SEEK_SET) != 0 || end < here) return -1;
    return end - here;
}

// Little-endian reads; a short read gives -1.
int32_t ReadInt32(FILE* file) {
    uint8_t b[4];
    if (fread(b, 1, 4, file) != 4) return -1;
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                   uint32_t(b[3]) << 24);
}

int32_t ReadUint16(FILE* file) {
    uint8_t b[2];
    if (fread(b, 1, 2, file) != 2) return -1;
    return int32_t(b[0] | b[1] << 8);
}

// The next four-byte chunk tag; empty when the file ends first.
std::string ReadTag(FILE* file) {
    char tag[4];
    if (fread(tag, 1, 4, file) != 4) return std::string();
    return std::string(tag, 4);
}

// Moves past count bytes; false when the file has fewer left.
bool SkipBytes(FILE* file, int32_t count) {
    if (count < 0 || count > BytesLeft(file)) return false;
    return fseek(file, count, SEEK_CUR) == 0;
}

struct WavFormat {
    int channels = 0;
    int hertz = 0;
    int bytesPerSample = 0;
};

// RIFF header and the format chunk, which must come first and be plain PCM.
bool ReadWavHeader(FILE* file, WavFormat* fmt) {
    if (ReadTag(file) != "RIFF") return false;
    ReadInt32(file);  // the RIFF size says nothing we rely on
    if (ReadTag(file) != "WAVE") return false;
    if (ReadTag(file) != "fmt ") return false;
    int32_t fmtSize = ReadInt32(file);
    if (ReadUint16(file) != 1) return false;
    fmt->channels = ReadUint16(file);
    fmt->hertz = ReadInt32(file);
    ReadInt32(file);   // byte rate
    ReadUint16(file);  // block align
    int bits = ReadUint16(file);
    fmt->bytesPerSample = bits / 8;
    // A frame of zero bytes would leave the length undefined.
    if (fmt->channels <= 0 || fmt->bytesPerSample <= 0) return false;
    if (fmtSize > 16 && !SkipBytes(file, fmtSize - 16)) return false;
    return true;
}

// Finds the data chunk and reads it whole; other chunks are skipped unpadded.
ByteBlock ReadWavData(FILE* file, int32_t* size) {
    for (;;) {
        std::string tag = ReadTag(file);
        if (tag.empty() || feof(file)) return nullptr;
        int32_t chunkSize = ReadInt32(file);
        if (chunkSize < 0) return nullptr;
        if (tag != "data") {
            if (!SkipBytes(file, chunkSize)) return nullptr;
            continue;
        }
        // A claimed size the file cannot hold is refused before allocating.
        if (chunkSize > BytesLeft(file)) return nullptr;
        ByteBlock data(static_cast<uint8_t*>(malloc(size_t(chunkSize) + 1)));
        if (!data) return nullptr;
        if (fread(data.get(), 1, size_t(chunkSize), file) != size_t(chunkSize)) return nullptr;
        *size = chunkSize;
        return data;
    }
}

bool EndsWith(const std::string& text, const char* suffix) {
    size_t n = strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// Appends the body of the Ogg page at the file's position; false at the end
// or when the bytes there are no page.
bool ReadOggPageBody(FILE* file, std::string* body) {
    uint8_t header[27];
    if (fread(header, 1, 27, file) != 27 || memcmp(header, "OggS", 4) != 0) return false;
    uint8_t lacing[255];
    int segments = header[26];
    if (fread(lacing, 1, segments, file) != size_t(segments)) return false;
    size_t bytes = 0;
    for (int i = 0; i < segments; i++) bytes += lacing[i];
    size_t had = body->size();
    body->resize(had + bytes);
    return fread(body->data() + had, 1, bytes, file) == bytes;
}

uint32_t LittleEndian32(const std::string& s, size_t at) {
    auto b = [&](size_t i) { return uint32_t(uint8_t(s[at + i])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

// The comment header's counts must fit in the file: stb_vorbis walks its
// comment list once per entry even when the list could not be allocated, so
// a count of two billion costs seconds. Layouts this does not follow are left
// to the decoder to judge.
bool OggCommentsFit(FILE* file, long left) {
    long start = ftell(file);
    std::string first, comment;
    bool fits = true;
    if (ReadOggPageBody(file, &first)) {
        // The comment packet begins on the second page and may run over several.
        while (comment.size() < 11 && ReadOggPageBody(file, &comment)) {
        }
        if (comment.size() >= 11 && memcmp(comment.data(), "\x03vorbis", 7) == 0) {
            uint32_t vendor = LittleEndian32(comment, 7);
            fits = vendor <= uint32_t(left);
            size_t countAt = 11 + size_t(vendor);
            while (fits && comment.size() < countAt + 4 && ReadOggPageBody(file, &comment)) {
            }
            if (fits && comment.size() >= countAt + 4)
                fits =
                    LittleEndian32(comment, countAt) <= std::min(uint32_t(left) / 4, kMaxComments);
        }
    }
    fseek(file, start, SEEK_SET);
    return fits;
}

}  // namespace

bool DecodeWav(FILE* file, DecodedAudio* out) {
    if (!file || fseek(file, 0, SEEK_SET) != 0) return false;
    WavFormat fmt;
    if (!ReadWavHeader(file, &fmt)) return false;
    int32_t size = 0;
    ByteBlock data = ReadWavData(file, &size);
    if (!data) return false;
    out->data = std::move(data);
    out->length = size / (fmt.bytesPerSample * fmt.channels);
    out->channels = fmt.channels;
    out->format = fmt.bytesPerSample;
    out->hertz = fmt.hertz;
    return true;
}

bool DecodeOgg(FILE* file, DecodedAudio* out) {
    if (!file) return false;
    long left = BytesLeft(file);
    if (left <= 0) return false;
    if (!OggCommentsFit(file, left)) return false;
    VorbisHeapScope heap(kMaxVorbisHeap);
    int error = 0;
    stb_vorbis* vorbis = stb_vorbis_open_file_section(file, 0, &error, nullptr, unsigned(left));
    if (!vorbis) return false;
    stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    int channels = info.channels;
    size_t chunk = size_t(channels) * kOggChunkFrames;  // in samples
    size_t capacity = chunk;
    size_t used = 0;
    auto* buffer = static_cast<short*>(malloc(capacity * sizeof(short)));
    bool ok = buffer != nullptr && channels > 0;
    while (ok) {
        int frames = stb_vorbis_get_samples_short_interleaved(vorbis, channels, buffer + used,
                                                              int(capacity - used));
        if (frames <= 0) break;
        used += size_t(frames) * channels;
        if (capacity - used >= chunk) continue;
        // Doubling keeps long tracks at a logarithmic number of reallocations.
        if (capacity * 2 * sizeof(short) > kMaxOggBytes) {
            ok = false;
            break;
        }
        auto* grown = static_cast<short*>(realloc(buffer, capacity * 2 * sizeof(short)));
        if (!grown) {
            ok = false;
            break;
        }
        buffer = grown;
        capacity *= 2;
    }
    stb_vorbis_close(vorbis);
    if (!ok) {
        free(buffer);
        return false;
    }
    out->data.reset(reinterpret_cast<uint8_t*>(buffer));
    out->length = int(used / channels);
    out->channels = channels;
    out->format = 2;
    out->hertz = int(info.sample_rate);
    return true;
}

bool DecodeAudioByName(const std::string& name, FILE* file, DecodedAudio* out) {
    std::string path = name;
    for (char& c : path) c = char(tolower(static_cast<unsigned char>(c)));
    if (EndsWith(path, ".wav")) return DecodeWav(file, out);
    if (EndsWith(path, ".ogg")) return DecodeOgg(file, out);
    return false;
}
