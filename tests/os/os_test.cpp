// The operating system seam as the game uses it, the same file on Linux and
// on Windows: names beyond ASCII, replacing, read-only targets, long paths,
// the state file's size cap, saves racing each other, local time, waits.
#include "os/os.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform_game.h"
#include "support/process.h"
#include "support/test_platform.h"

namespace fs = std::filesystem;

namespace {

class OsTest : public testing::Test {
  protected:
    // Names are UTF-8 strings in the game; std::filesystem gets them as such.
    static fs::path Native(const std::string& utf8) {
        return fs::path(std::u8string(utf8.begin(), utf8.end()));
    }
    std::string Read(const std::string& path) {
        std::ifstream in(Native(path), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::vector<std::string> Entries(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Native(folder))) {
            std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    TestPlatform platform;
    const std::string dir = platform.tempDir + "/";
};

TEST_F(OsTest, NamesBeyondAsciiReachTheSameFiles) {
    const std::string folder = dir + "spïté 日本/ünter";
    ASSERT_TRUE(os::MakeFolders(folder));
    const std::string file = folder + "/état 日本.txt";
    ASSERT_EQ(os::WriteFileAtomically(file, "bytes\r\n"), 0);
    EXPECT_TRUE(os::IsRegularFile(file));
    EXPECT_FALSE(os::IsRegularFile(folder));
    // The name the system stored is the one asked for, byte for byte.
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"état 日本.txt"});
    EXPECT_EQ(Read(file), "bytes\r\n");
    FILE* in = os::OpenFile(file, "r");  // binary whether asked or not
    ASSERT_NE(in, nullptr);
    char got[16] = {};
    EXPECT_EQ(fread(got, 1, sizeof got, in), 7u);
    EXPECT_EQ(std::string(got), "bytes\r\n");
    EXPECT_EQ(os::RegularFileSize(in), 7);
    fclose(in);

    // The platform game's state file in such a folder saves and loads.
    platform.UseStateFile(folder + "/.vorlekstate");
    ASSERT_EQ(platform.WriteStateFile(u"1|\u00e9\u65e5|"), 0);
    EXPECT_EQ(platform.ReadStateFile(), u"1|\u00e9\u65e5|");
}

TEST_F(OsTest, SavesReplaceWhatWasThereAndLeaveNothingElse) {
    const std::string file = dir + "state";
    ASSERT_EQ(os::WriteFileAtomically(file, std::string(10000, 'a')), 0);
    ASSERT_EQ(os::WriteFileAtomically(file, "short"), 0);
    EXPECT_EQ(Read(file), "short");
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"state"});

    // A read-only save is replaced all the same and left writable, so the
    // next save works too: the same code on every system.
    fs::permissions(Native(file),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(os::WriteFileAtomically(file, "unlocked"), 0);
    EXPECT_EQ(Read(file), "unlocked");
    EXPECT_NE(fs::status(Native(file)).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(os::WriteFileAtomically(file, "again"), 0);

    // A folder marked read-only still takes the save of a writable file, for
    // a user the folder really refuses.
    fs::permissions(Native(file), fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                      ~fs::perms::others_exec);
    fs::permissions(Native(dir), fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    int result =
        RunUnprivileged([&] { return os::WriteFileAtomically(file, "in a read-only folder"); });
    fs::permissions(Native(dir), fs::perms::owner_all);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(file), "in a read-only folder");
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"state"});
}

TEST_F(OsTest, FailedSavesLeaveTheOldFileAndNoLitter) {
    const std::string file = dir + "state";
    ASSERT_EQ(os::WriteFileAtomically(file, "old"), 0);
    ASSERT_TRUE(os::MakeFolders(dir + "folder"));
    EXPECT_EQ(os::WriteFileAtomically(dir + "folder", "x"), -2);  // a folder in the way
    EXPECT_EQ(os::WriteFileAtomically(dir + "no/such/folder/f", "x"), -1);
    EXPECT_EQ(Read(file), "old");
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"folder", "state"}));
    EXPECT_EQ(os::OpenFile(dir + "missing", "rb"), nullptr);
    EXPECT_FALSE(os::IsRegularFile(dir + "missing"));
}

TEST_F(OsTest, PathsLongerThanTheOldLimitWork) {
    std::string folder = dir;
    for (int i = 0; i < 12; i++) folder += "a-rather-long-folder-name-" + std::to_string(i) + "/";
    ASSERT_GT(folder.size(), 300u);
    ASSERT_TRUE(os::MakeFolders(folder));
    const std::string file = folder + "state";
    ASSERT_EQ(os::WriteFileAtomically(file, "deep"), 0);
    ASSERT_EQ(os::WriteFileAtomically(file, "deeper"), 0);
    EXPECT_TRUE(os::IsRegularFile(file));
    FILE* in = os::OpenFile(file, "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(os::RegularFileSize(in), 6);
    fclose(in);
}

TEST_F(OsTest, HugeStateFileIsHandledAtOnce) {
    // Sparse: 2 GiB that cost no disk and no time to make.
    const std::string state = dir + ".vorlekstate";
    std::ofstream(Native(state), std::ios::binary) << "7|";
    fs::resize_file(Native(state), uint64_t{2} << 30);
    String loaded = platform.ReadStateFile();  // only the first 64 KiB are read
    ASSERT_EQ(loaded.size(), PlGame::kMaxStateFileBytes);
    EXPECT_EQ(loaded.substr(0, 3), String(u"7|") + char16_t(0));
    // Larger than an int can count: the whole-file read refuses it unread.
    fs::resize_file(Native(state), (uint64_t{3} << 30) + 5);
    FILE* file = os::OpenFile(state, "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(os::RegularFileSize(file), (int64_t{3} << 30) + 5);
    fclose(file);
    int length = -1;
    EXPECT_EQ(platform.ReadWholeFile(platform.StateFilePath(), &length), nullptr);
}

TEST_F(OsTest, TwoThreadsSavingAtOnceNeitherFailNorTear) {
    const std::string file = dir + "state";
    const std::string a(3000, 'a'), b(5000, 'b');
    int failures[2] = {0, 0};
    std::thread savers[2];
    for (int i = 0; i < 2; i++)
        savers[i] = std::thread([&, i] {
            for (int n = 0; n < 200; n++)
                failures[i] += os::WriteFileAtomically(file, i ? b : a) != 0;
        });
    for (std::thread& t : savers) t.join();
    EXPECT_EQ(failures[0] + failures[1], 0);
    std::string last = Read(file);
    EXPECT_TRUE(last == a || last == b) << last.size() << " bytes";
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"state"});
}

// The frame loop's wait: never short of what it asked, and on every system a
// timer finer than Windows' 15.6 ms default tick.
TEST(OsWait, SleepsLastWhatTheyAskOnAFineTimer) {
    EXPECT_NE(os::SleepTimer(), os::WaitTimer::SystemTick);
    os::SleepMs(0);
    os::SleepMs(-20);  // nothing to wait for: returns
    for (int ms : {1, 3, 20}) {
        auto began = std::chrono::steady_clock::now();
        os::SleepMs(ms);
        EXPECT_GE(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(ms)) << ms;
    }
}

}  // namespace
