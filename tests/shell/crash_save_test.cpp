// Kills a process at random moments while it saves, a thousand times; the
// state file must always load whole: the previous state or the new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "game/my_app.h"
#include "shell/headless_game.h"
#include "support/test_platform.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(CrashSafeSave, KilledMidSaveNeverTearsTheFile) {
    std::string folder = MakeTempDir();
    std::string state = folder + "/.vorlekstate";
    std::mt19937 dice(20261207);
    int kills = 0, lastSeen = 0;
    for (int round = 0; round < 1000; round++) {
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        pid_t pid = fork();
        if (pid == 0) {
            dup2(pipeFds[1], 1);
            close(pipeFds[0]);
            close(pipeFds[1]);
            execl(BW_SAVE_LOOP, BW_SAVE_LOOP, state.c_str(), nullptr);
            _exit(127);
        }
        close(pipeFds[1]);
        char first = 0;  // wait until the saver is under way, then strike at random
        ASSERT_EQ(read(pipeFds[0], &first, 1), 1);
        usleep(std::uniform_int_distribution<int>(0, 2000)(dice));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        kills += WIFSIGNALED(status);
        close(pipeFds[0]);

        std::string bytes = ReadFile(state);
        if (bytes.empty()) continue;  // killed before the very first save
        testing::internal::CaptureStdout();
        c_MyApp app;
        app.ApplyStateString(Widen(bytes));
        std::string messages = testing::internal::GetCapturedStdout();
        ASSERT_EQ(messages.find("Invalid"), std::string::npos) << "round " << round << ": " << messages;
        ASSERT_NE(messages.find("Highscore 2 Loaded"), std::string::npos) << messages;
        // Every table holds the numbers of one and the same save.
        int n = app.highscores[0] / 100;
        for (int i = 0; i < 60; i++) ASSERT_EQ(app.highscores[i], n * 100 + i) << round;
        lastSeen = n;
    }
    EXPECT_GT(kills, 900);
    EXPECT_GT(lastSeen, 0);
    RemoveTree(folder);
}

}  // namespace
