// Writes the song sheet: songgen <data dir> → <data dir>/music/brindle-song.png.
#include <cstdio>
#include <filesystem>
#include <string>

#include "song.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: songgen <data dir>\n");
        return 2;
    }
    const std::filesystem::path dir = std::filesystem::path(argv[1]) / "music";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const std::string path = (dir / "brindle-song.png").string();
    if (!songgen::WriteSheet(songgen::BuildSong(), path)) {
        std::fprintf(stderr, "songgen: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
