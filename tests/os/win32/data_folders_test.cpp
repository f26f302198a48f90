// Where the Windows game finds its data and keeps its saves, and the names it
// hands the wide functions; how a start-up failure reaches the player.
#include "os/win32/data_folders.h"

#include <gtest/gtest.h>

#include "os/os.h"
#include "os/win32/wide.h"

namespace {

const std::vector<std::string> kProgramFolders = {"C:\\Program Files", "C:\\Program Files (x86)"};
const std::string kAppData = "C:\\Users\\ann\\AppData\\Roaming";

TEST(WindowsDataFolders, UnpackedCopyKeepsItsStateWhereItWasStarted) {
    auto choices = WindowsDataFolderChoices("D:\\Games\\bw\\", false, kAppData);
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].dataFolder, ".\\data\\");
    EXPECT_EQ(choices[1].dataFolder, "D:\\Games\\bw\\data\\");
    EXPECT_EQ(choices[0].stateFolder, "");
    EXPECT_EQ(choices[1].stateFolder, "");
}

TEST(WindowsDataFolders, InstalledCopyUsesItsOwnDataAndTheRoamingFolder) {
    auto choices = WindowsDataFolderChoices("C:\\Program Files\\Brindlewick\\", true, kAppData);
    ASSERT_EQ(choices.size(), 1u) << "a data folder in the start folder is not the game's";
    EXPECT_EQ(choices[0].dataFolder, "C:\\Program Files\\Brindlewick\\data\\");
    EXPECT_EQ(choices[0].stateFolder, kAppData + "\\Brindlewick");
    EXPECT_EQ(WindowsDataFolderChoices("C:\\bw\\", true, "")[0].stateFolder, "");
}

TEST(WindowsDataFolders, InstalledMeansTheMarkerOrAProgramFilesFolder) {
    EXPECT_TRUE(IsInstalledCopy("C:\\Program Files\\Brindlewick\\", false, kProgramFolders));
    EXPECT_TRUE(IsInstalledCopy("c:\\PROGRAM FILES (X86)\\bw\\", false, kProgramFolders));
    EXPECT_FALSE(IsInstalledCopy("C:\\Program Files Games\\bw\\", false, kProgramFolders));
    EXPECT_FALSE(IsInstalledCopy("D:\\Games\\bw\\", false, kProgramFolders));
    EXPECT_TRUE(IsInstalledCopy("D:\\Games\\bw\\", true, kProgramFolders));
    EXPECT_FALSE(IsInstalledCopy("C:\\Program Files\\bw\\", false, {"", ""}));
}

TEST(WideNames, EveryNameSurvivesTheTripThroughTheGamesStrings) {
    EXPECT_EQ(WideFromUtf8("sp\xC3\xAFt\xC3\xA9 \xE6\x97\xA5"), L"sp\u00EFt\u00E9 \u65E5");
    EXPECT_EQ(Utf8FromWide(L"sp\u00EFt\u00E9 \u65E5"), "sp\xC3\xAFt\xC3\xA9 \xE6\x97\xA5");
    // Beyond 16 bits: four-byte UTF-8 and the game's halves one by one both
    // give the pair; back it goes as the halves, as the game's codec reads them.
    const std::wstring pair = {wchar_t(0xD83D), wchar_t(0xDE00)};
    EXPECT_EQ(WideFromUtf8("\xF0\x9F\x98\x80"), pair);
    EXPECT_EQ(Utf8FromWide(pair), "\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(pair)), pair);
    // A byte that starts nothing stands for itself; a cut-off form too.
    EXPECT_EQ(WideFromUtf8("a\xE9"), L"a\u00E9");
    EXPECT_EQ(WideFromUtf8("\xE6\x97"), std::wstring(L"\u00E6\u0097"));
}

}  // namespace

// Tests and scripts read the game's standard error: a start-up failure must
// not also wait there for a click on a message box.
TEST(WindowsStartup, NoMessageBoxWhereStandardErrorIsRead) {
    EXPECT_FALSE(os::ShowFailure("glfwOpenWindow failed"));
}
