#include "support/test_platform.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

std::string MakeTempDir() {
    // A name nobody else has: create_directory refuses one that exists.
    static std::mt19937_64 random{std::random_device{}()};
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; attempt < 100 && !error; attempt++) {
        char name[32];
        snprintf(name, sizeof name, "bw-test-%012llx",
                 static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        std::filesystem::path folder = base / name;
        if (std::filesystem::create_directory(folder, error)) return folder.string();
    }
    return std::string();
}

TestPlatform::TestPlatform() : PlHeadlessGame(BW_DATA_DIR, ""), tempDir(MakeTempDir()) {
    stateFile_ = tempDir + "/.vorlekstate";
}

TestPlatform::~TestPlatform() {
    RemoveTree(tempDir);
}

void TestPlatform::WriteStateBytes(const std::string& bytes) const {
    std::ofstream(StateFile(), std::ios::binary) << bytes;
}

std::string TestPlatform::ReadStateBytes() const {
    std::ifstream in(StateFile(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}
