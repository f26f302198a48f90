// The desktop game's data folder search and where an installed copy saves.
#include "platform/glfw/install_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "os/posix/data_folders.h"
#include "platform/glfw/glfw_game.h"
#include "support/test_platform.h"

namespace {

const std::string kExe = "/opt/bw/games/brindlewick";
const std::string kBeside = "/opt/bw/games/data/";
const std::string kShared = "/opt/bw/share/games/brindlewick/data/";

InstallPaths Locate(std::set<std::string> present, const char* xdg = nullptr,
                    const char* home = "/home/ann") {
    return LocateInstallPaths(PosixDataFolderChoices(kExe, xdg, home),
                              [&](const std::string& f) { return present.count(f) > 0; });
}

TEST(InstallPaths, SearchesCurrentFolderThenBesideThenInstalled) {
    InstallPaths all = Locate({"./data/", kBeside, kShared});
    EXPECT_EQ(all.dataFolder, "./data/");
    EXPECT_EQ(all.stateFolder, "");

    InstallPaths tree = Locate({kBeside, kShared});
    EXPECT_EQ(tree.dataFolder, kBeside);
    EXPECT_EQ(tree.stateFolder, "") << "a build tree keeps its state where it was started";

    InstallPaths installed = Locate({kShared});
    EXPECT_EQ(installed.dataFolder, kShared);
    EXPECT_EQ(installed.stateFolder, "/home/ann/.local/share/brindlewick");
    // XDG_DATA_HOME when absolute; empty or relative values are ignored.
    EXPECT_EQ(Locate({kShared}, "/x/d/").stateFolder, "/x/d/brindlewick");
    EXPECT_EQ(Locate({kShared}, "rel").stateFolder, "/home/ann/.local/share/brindlewick");
    EXPECT_EQ(UserStateFolder(nullptr, nullptr), "");
}

TEST(InstallPaths, NothingFoundNamesEveryFolderTried) {
    InstallPaths none = Locate({});
    EXPECT_EQ(none.dataFolder, "");
    ASSERT_EQ(none.tried, (std::vector<std::string>{"./data/", kBeside, kShared}));
    std::string message = MissingDataMessage(none);
    for (const std::string& folder : none.tried)
        EXPECT_NE(message.find(folder), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << "one line";

    // Without a known executable only the current folder can be searched.
    InstallPaths noExe = LocateInstallPaths(PosixDataFolderChoices("", nullptr, "/home/ann"),
                                            [](auto&) { return false; });
    EXPECT_EQ(noExe.tried, std::vector<std::string>{"./data/"});
}

TEST(InstallPaths, ResolvesDataAndStateIntoTheirFolders) {
    InstallPaths installed = Locate({kShared});
    const StringView state = u"./.vorlekstate";
    EXPECT_EQ(ResolveInstalledPath(installed, u"vorlek://data/sfx/001.wav", state),
              u"/opt/bw/share/games/brindlewick/data/sfx/001.wav");
    EXPECT_EQ(ResolveInstalledPath(installed, state, state),
              u"/home/ann/.local/share/brindlewick/.vorlekstate");
    EXPECT_EQ(ResolveInstalledPath(installed, u"vorlek://internal/a", state), u"./internal/a");
    EXPECT_EQ(ResolveInstalledPath(installed, u"vorlek://cache/a", state), u"");
    EXPECT_EQ(ResolveInstalledPath(installed, u"./other", state), u"./other");

    InstallPaths tree = Locate({"./data/"});
    EXPECT_EQ(ResolveInstalledPath(tree, u"vorlek://data/a.png", state), u"./data/a.png");
    EXPECT_EQ(ResolveInstalledPath(tree, state, state), state);
}

TEST(InstallPaths, DesktopPlatformSavesIntoNewStateFolder) {
    std::string root = MakeTempDir();
    InstallPaths paths;
    paths.dataFolder = root + "/data/";
    paths.stateFolder = root + "/home/.local/share/brindlewick";
    PlGlfwGame game;
    game.UseInstallPaths(paths);
    EXPECT_EQ(game.ReadStateFile(), u"") << "no state before the first save";
    // Whatever the player's umask, the new folders and file stay the owner's own.
    mode_t usual = umask(0777);
    ASSERT_EQ(game.WriteStateFile(u"7|\u00e9|"), 0);
    umask(usual);
    struct stat info {};
    ASSERT_EQ(stat(paths.stateFolder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0700, 0700u);
    ASSERT_EQ(stat((paths.stateFolder + "/.vorlekstate").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0600, 0600u);
    EXPECT_EQ(game.ReadStateFile(), u"7|\u00e9|");

    std::filesystem::create_directories(root + "/data");
    std::ofstream(root + "/data/x.txt") << "beside";
    EXPECT_EQ(game.ReadTextFile(u"vorlek://data/x.txt"), u"beside");
    std::filesystem::remove_all(root);
}

TEST(InstallPaths, StateFolderThatCannotBeMadeIsReportedOnce) {
    std::string root = MakeTempDir();
    std::ofstream(root + "/home") << "a file where the folder should go";
    InstallPaths paths;
    paths.stateFolder = root + "/home/.local/share/brindlewick";
    PlGlfwGame game;
    game.UseInstallPaths(paths);
    testing::internal::CaptureStdout();
    EXPECT_EQ(game.WriteStateFile(u"1|"), -1);
    EXPECT_EQ(game.WriteStateFile(u"2|"), -1);  // the game plays on, unsaved
    EXPECT_EQ(
        testing::internal::GetCapturedStdout(),
        "Cannot create the save folder " + paths.stateFolder + ": playing on without saving\n");
    std::filesystem::remove_all(root);
}

}  // namespace
