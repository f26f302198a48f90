// assetgen <data folder>: draws and synthesises every asset of the game into the folder.
// assetgen --icons <folder>: draws the application icon in the hicolor theme's layout.
// assetgen --windows-icon <file.ico>: draws it into the icon file of the Windows program.
#include <cstdio>
#include <filesystem>
#include <string>

#include "sheets.h"
#include "sounds.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        if (WriteAppIcons(argv[2])) return 0;
        std::fprintf(stderr, "assetgen: cannot write the icons to %s\n", argv[2]);
        return 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--windows-icon") {
        if (WriteWindowsIcon(argv[2])) return 0;
        std::fprintf(stderr, "assetgen: cannot write the icon file %s\n", argv[2]);
        return 1;
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: assetgen <data folder> | assetgen --icons <folder> | "
                     "assetgen --windows-icon <file.ico>\n");
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
