// The save under POSIX file modes: a player's strict umask must not leave a
// state file its owner cannot read back. Linux only (umask, fork, setuid).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "frontend_helpers.h"

TEST(Saves, AStrictUmaskStillLeavesASaveTheNextStartReads) {
    // Under umask 0777 a plain create gives a file nobody may read. Root reads
    // anything, so the player is an unprivileged user in a child process.
    std::string folder = MakeTempDir();
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    std::string file = folder + "/.vorlekstate";
    pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
        {
            GameHarness first(640, 480, "", "", file);
            first.App().saved.SoundMode() = 0;
            first.App().saved.Best(1)[0] = 4321;
            mode_t usual = umask(0777);
            first.App().stateFile.SaveAll();
            umask(usual);
        }
        GameHarness second(640, 480, "", "", file);
        bool loaded = second.App().saved.SoundMode() == 0 && second.App().saved.Best(1)[0] == 4321;
        _exit(loaded ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    struct stat info {};
    EXPECT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0600, 0600u);
    RemoveTree(folder);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 100) << "could not drop privileges";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the second start did not load the first one's save";
}
