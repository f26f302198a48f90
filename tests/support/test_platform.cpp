#include "support/test_platform.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

// create_directory fails on a name that exists, so a folder it made is
// ours alone, as with mkdtemp (which Windows lacks).
std::string MakeTempDir() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) return std::string();
    std::random_device random;
    for (int attempt = 0; attempt < 100; attempt++) {
        char name[32];
        std::snprintf(name, sizeof name, "bw-test-%08x", static_cast<unsigned>(random()));
        std::filesystem::path folder = base / name;
        if (std::filesystem::create_directory(folder, error)) return folder.generic_string();
    }
    return std::string();
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
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
