// Paths, whole-file reads, the text codec and the state file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "shell/errors.h"
#include "shell/platform_game.h"
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
    // Something in the way of the temporary file: nothing can be opened.
    ASSERT_EQ(mkdir((platform.StateFile() + ".tmp").c_str(), 0700), 0);
    EXPECT_EQ(platform.WriteStateFile(u"new|"), -1);
    EXPECT_EQ(platform.ReadStateFile(), u"old|");
    rmdir((platform.StateFile() + ".tmp").c_str());
    // A target that cannot be replaced (a folder) reports -2 and leaves no litter.
    EXPECT_EQ(WriteFileAtomically(platform.tempDir, "x"), -2);
    EXPECT_EQ(WriteFileAtomically(platform.tempDir + "/no/such/dir/f", "x"), -1);
    EXPECT_EQ(platform.WriteStateFile(u"new|"), 0);
    EXPECT_EQ(platform.ReadStateFile(), u"new|");
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
