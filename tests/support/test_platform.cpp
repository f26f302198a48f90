#include "support/test_platform.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bw-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    return made ? std::string(made) : std::string();
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

TestPlatform::TestPlatform() : PlHeadlessGame(BW_DATA_DIR, ""), tempDir(MakeTempDir()) {
    stateFile_ = tempDir + "/.vorlekstate";
}

TestPlatform::~TestPlatform() { RemoveTree(tempDir); }

void TestPlatform::WriteStateBytes(const std::string& bytes) const {
    std::ofstream(StateFile(), std::ios::binary) << bytes;
}

std::string TestPlatform::ReadStateBytes() const {
    std::ifstream in(StateFile(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}
