// assetgen <data folder>: draws and synthesises every asset of the game into the folder.
#include <cstdio>
#include <filesystem>

#include "sheets.h"
#include "sounds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <data folder>\n");
        return 2;
    }
    std::string dataDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", dataDir.c_str(),
                     error.message().c_str());
        return 1;
    }
    bool ok = true;
    for (int level : {1, 2, 4}) {
        for (const SheetInfo& sheet : SheetTable()) ok = WriteSheet(sheet, dataDir, level) && ok;
        ok = WriteGameFont(dataDir, level) && ok;
    }
    ok = WriteDefaultFont(dataDir) && ok;
    ok = WriteSounds(dataDir) && ok;
    ok = WriteInstruments(dataDir) && ok;
    if (!ok) {
        std::fprintf(stderr, "assetgen: some files could not be written to %s\n", dataDir.c_str());
        return 1;
    }
    return 0;
}
