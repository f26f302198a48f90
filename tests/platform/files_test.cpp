// Paths, whole-file reads, the text codec and the state file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/errors.h"
#include "os/os.h"
#include "platform/platform_game.h"
#include "support/process.h"
#include "support/test_platform.h"

namespace {

String Decode(const std::string& bytes) {
    return DecodeText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(ResourcePaths, MapsKnownLocationsOnly) {
    EXPECT_EQ(MapVorlekPath(u"vorlek://data/words.txt"), u"./data/words.txt");
    EXPECT_EQ(MapVorlekPath(u"vorlek://internal/a"), u"./internal/a");
    EXPECT_EQ(MapVorlekPath(u"vorlek://external/b/c"), u"./external/b/c");
    EXPECT_EQ(MapVorlekPath(u"vorlek://cache/a"), u"");
    EXPECT_EQ(MapVorlekPath(u"./.vorlekstate"), u"./.vorlekstate");
    EXPECT_EQ(MapVorlekPath(u"data/x"), u"data/x");
}

TEST(ResourcePaths, BasePlatformOpensNothing) {
    PlGame base;
    EXPECT_EQ(base.ResolveResourcePath(u"data/x"), u"");
    EXPECT_EQ(base.OpenFile(u"/etc/hostname", "rb"), nullptr);
    EXPECT_EQ(base.WriteStateFile(u"1|"), -1);
    EXPECT_EQ(base.ReadStateFile(), u"");
}

TEST(TextCodec, ByteOrderMarks) {
    EXPECT_EQ(Decode("\xEF\xBB\xBFhi"), u"hi");
    EXPECT_EQ(Decode(std::string("\xFF\xFEh\0i\0!", 7)), u"hi");  // little-endian, odd byte dropped
    EXPECT_EQ(Decode(std::string("\xFE\xFF\0h\0i", 6)), u"hi");   // big-endian
    EXPECT_EQ(Decode(std::string("\xFE\xFF\x26\x3A", 4)), u"\u263A");
    EXPECT_EQ(Decode(""), u"");
    EXPECT_EQ(Decode("\xEF\xBB\xBF"), u"");
}

TEST(TextCodec, Utf8FormsAndFallback) {
    EXPECT_EQ(Decode("a\xC3\xA9\xE2\x82\xAC"), u"a\u00E9\u20AC");
    EXPECT_EQ(Decode("\xC0\x80"), String(1, u'\0'));  // over-long forms are taken as they come
    testing::internal::CaptureStdout();
    String latin = Decode("\xE9");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Invalid UTF-8!\n");
    EXPECT_EQ(latin, String(1, char16_t(233)));
    testing::internal::CaptureStdout();
    EXPECT_EQ(Decode("\xEF\xBB\xBFx\xF0\x9F\x98\x80"), u"x\u00F0\u009F\u0098\u0080");
    EXPECT_EQ(Decode("ab\xE2\x82"), u"ab\u00E2\u0082");  // cut off at the end
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Invalid UTF-8!\nInvalid UTF-8!\n");
}

TEST(TextCodec, EncodeRoundTripsEveryCharacter) {
    String all;
    for (int c = 1; c < 0x10000; c += 7) all.push_back(static_cast<char16_t>(c));
    std::string bytes = EncodeUtf8(all);
    EXPECT_EQ(Decode(bytes), all);
    EXPECT_EQ(EncodeUtf8(u"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(EncodeUtf8(u"\xD800"), "\xED\xA0\x80");  // lone surrogate halves one by one
}

class FilesTest : public testing::Test {
  protected:
    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(platform.tempDir + "/" + name, std::ios::binary) << bytes;
    }
    String PathOf(const std::string& name) { return Widen(platform.tempDir + "/" + name); }
    TestPlatform platform;
};

TEST_F(FilesTest, ReadWholeFileAcrossChunkEdges) {
    for (size_t size : {0u, 1u, 4095u, 4096u, 4097u, 12288u}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; i++) bytes[i] = static_cast<char>(i * 31);
        WriteFile("f.bin", bytes);
        int length = -1;
        ByteBlock block = platform.ReadWholeFile(PathOf("f.bin"), &length);
        ASSERT_NE(block, nullptr) << size;
        ASSERT_EQ(length, static_cast<int>(size));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(block.get()), size), bytes);
    }
    int length = 0;
    EXPECT_EQ(platform.ReadWholeFile(PathOf("missing"), &length), nullptr);
    EXPECT_EQ(platform.ReadTextFile(PathOf("missing")), u"");
}

TEST_F(FilesTest, StateFileRoundTripsWideCharacters) {
    EXPECT_EQ(platform.ReadStateFile(), u"");  // no file yet
    String state = u"1|-2|caf\u00E9|\u20AC|";
    EXPECT_EQ(platform.WriteStateFile(state), 0);
    EXPECT_EQ(platform.ReadStateBytes(), "1|-2|caf\xC3\xA9|\xE2\x82\xAC|");
    EXPECT_EQ(platform.ReadStateFile(), state);
}

TEST_F(FilesTest, FailedSaveKeepsThePreviousState) {
    ASSERT_EQ(platform.WriteStateFile(u"old|"), 0);
    // Something in the way of a fixed temporary name does not stop the save:
    // every save makes a name of its own.
    ASSERT_EQ(mkdir((platform.StateFile() + ".tmp").c_str(), 0700), 0);
    EXPECT_EQ(platform.WriteStateFile(u"mid|"), 0);
    EXPECT_EQ(platform.ReadStateFile(), u"mid|");
    rmdir((platform.StateFile() + ".tmp").c_str());
    // A target that cannot be replaced (a folder) reports -2 and leaves no litter.
    EXPECT_EQ(os::WriteFileAtomically(platform.tempDir, "x"), -2);
    EXPECT_EQ(os::WriteFileAtomically(platform.tempDir + "/no/such/dir/f", "x"), -1);
    EXPECT_EQ(platform.WriteStateFile(u"new|"), 0);
    EXPECT_EQ(platform.ReadStateFile(), u"new|");
}

// Names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

long MaxResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(FilesTest, HugeFilesCostNoMoreThanTheirLimit) {
    // A sparse 2 GiB state file: only its first 64 KiB are read, at once.
    int fd = open(platform.StateFile().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, off_t{2} << 30), 0);
    long residentBefore = MaxResidentKb();
    EXPECT_EQ(platform.ReadStateFile().size(), PlGame::kMaxStateFileBytes);
    // Larger than an int can count: refused by the whole-file read.
    ASSERT_EQ(ftruncate(fd, (off_t{3} << 30) + 5), 0);
    int length = -1;
    EXPECT_EQ(platform.ReadWholeFile(Widen(platform.StateFile()), &length), nullptr);
    EXPECT_EQ(length, -1);
    close(fd);
    EXPECT_LT(MaxResidentKb() - residentBefore, 16 * 1024);
}

TEST_F(FilesTest, StateFileIsReadUpToSixtyFourKibibytes) {
    std::string largest(PlGame::kMaxStateFileBytes, 'a');
    platform.WriteStateBytes(largest + "bcd");
    EXPECT_EQ(platform.ReadStateFile(), Widen(largest));
    // Other text files are read whole.
    WriteFile("big.txt", largest + "a");
    EXPECT_EQ(platform.ReadTextFile(PathOf("big.txt")).size(), largest.size() + 1);
}

TEST_F(FilesTest, SaveThroughASymbolicLinkKeepsTheLink) {
    std::string real = platform.tempDir + "/elsewhere";
    ASSERT_EQ(mkdir(real.c_str(), 0755), 0);
    ASSERT_EQ(symlink("elsewhere/state", platform.StateFile().c_str()), 0);
    // The link's target need not exist yet; the first save creates it.
    ASSERT_EQ(platform.WriteStateFile(u"one|"), 0);
    ASSERT_EQ(platform.WriteStateFile(u"two|"), 0);
    struct stat info {};
    ASSERT_EQ(lstat(platform.StateFile().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(platform.ReadStateFile(), u"two|");
    EXPECT_EQ(FolderEntries(real), std::vector<std::string>{"state"});  // no temporary left
}

TEST_F(FilesTest, SaveKeepsTheFileMode) {
    ASSERT_EQ(platform.WriteStateFile(u"one|"), 0);
    struct stat info {};
    ASSERT_EQ(stat(platform.StateFile().c_str(), &info), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(info.st_mode & 07777, (0666 & ~mask) | 0600);  // a new file, as a plain open makes it
    ASSERT_EQ(chmod(platform.StateFile().c_str(), 0640), 0);
    ASSERT_EQ(platform.WriteStateFile(u"two|"), 0);
    ASSERT_EQ(stat(platform.StateFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // A mode its owner could not read back is mended on the way.
    ASSERT_EQ(chmod(platform.StateFile().c_str(), 0044), 0);
    ASSERT_EQ(platform.WriteStateFile(u"three|"), 0);
    ASSERT_EQ(stat(platform.StateFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
    EXPECT_EQ(FolderEntries(platform.tempDir), std::vector<std::string>{".vorlekstate"});
}

TEST_F(FilesTest, FolderClosedToNewFilesFallsBackToThePlainWrite) {
    ASSERT_EQ(platform.WriteStateFile(u"old|"), 0);
    ASSERT_EQ(chmod(platform.StateFile().c_str(), 0666), 0);
    // The folder must refuse new files to whoever saves. Root is refused
    // nothing, so then the save runs as an unprivileged user in a child.
    ASSERT_EQ(chmod(platform.tempDir.c_str(), 0555), 0);
    int result =
        RunUnprivileged([&] { return os::WriteFileAtomically(platform.StateFile(), "new|"); });
    chmod(platform.tempDir.c_str(), 0700);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(platform.ReadStateBytes(), "new|");
    EXPECT_EQ(FolderEntries(platform.tempDir), std::vector<std::string>{".vorlekstate"});
}

TEST_F(FilesTest, TwoCopiesSavingAtOnceNeitherFailNorTear) {
    const std::string a(3000, 'a'), b(5000, 'b');
    pid_t copies[2];
    for (int i = 0; i < 2; i++) {
        copies[i] = fork();
        if (copies[i] == 0) {
            int failures = 0;
            for (int n = 0; n < 300; n++)
                failures += os::WriteFileAtomically(platform.StateFile(), i ? b : a) != 0;
            _exit(failures > 0 ? 1 : 0);
        }
    }
    for (pid_t pid : copies) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    }
    std::string last = platform.ReadStateBytes();
    EXPECT_TRUE(last == a || last == b) << last.size() << " bytes";
    EXPECT_EQ(FolderEntries(platform.tempDir), std::vector<std::string>{".vorlekstate"});
}

TEST(DebugDescribe, OnlyRegisteredObjects) {
    int object = 0;
    auto address = reinterpret_cast<uintptr_t>(&object);
    EXPECT_STREQ(DescribeObjectAt(address), "");
    RegisterLiveObject(&object);
    EXPECT_STREQ(DescribeObjectAt(address), "+Object\n");
    UnregisterLiveObject(&object);
    EXPECT_STREQ(DescribeObjectAt(address), "");
    EXPECT_STREQ(DescribeObjectAt(0), "");
}

}  // namespace
