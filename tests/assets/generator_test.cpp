// The generator writes the same bytes on every run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "asset_readers.h"

namespace fs = std::filesystem;

namespace {

// Every file under `root`, as paths relative to it (the build's stamp file left out).
std::set<std::string> ListFiles(const fs::path& root) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::string name = fs::relative(entry.path(), root).generic_string();
        if (name != ".generated") names.insert(name);
    }
    return names;
}

}  // namespace

TEST(Generator, ASecondRunWritesIdenticalFiles) {
    fs::path out = fs::temp_directory_path() / ("bw-assetgen-" + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = std::string("\"") + BW_ASSETGEN + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    // Other tools may add their own files to the data folder; every file of ours must match.
    std::set<std::string> fresh = ListFiles(out), built = ListFiles(BW_DATA_DIR);
    EXPECT_GE(fresh.size(), 66u);
    for (const std::string& name : fresh) {
        EXPECT_TRUE(built.count(name)) << name;
        EXPECT_EQ(ReadBytes((out / name).string()), ReadBytes(DataPath(name))) << name;
    }
    fs::remove_all(out);
}

TEST(Generator, RefusesAMissingArgument) {
    std::string command = std::string("\"") + BW_ASSETGEN + "\" > /dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
}
