// Kills a process at random moments while it saves, a thousand times; the
// state file must always load whole: the previous state or the new one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "game/screens/my_app.h"
#include "platform/headless/headless_game.h"
#include "support/test_platform.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Reads the saver's output to its end: the number on the last whole line is
// the count of saves it finished before it died.
int FinishedSaves(int fd, char first) {
    std::string out(1, first);
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    size_t end = out.rfind('\n');
    if (end == std::string::npos) return 0;
    size_t start = out.rfind('\n', end - 1);
    start = start == std::string::npos ? 0 : start + 1;
    return atoi(out.substr(start, end - start).c_str());
}

TEST(CrashSafeSave, KilledMidSaveNeverTearsTheFile) {
    std::string folder = MakeTempDir();
    std::string state = folder + "/.vorlekstate";
    std::mt19937 dice(20261207);
    int kills = 0, lastSeen = 0, caughtMidSave = 0;
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
        int finished = FinishedSaves(pipeFds[0], first);
        close(pipeFds[0]);
        ASSERT_GT(finished, 0) << round;

        std::string bytes = ReadFile(state);
        testing::internal::CaptureStdout();
        c_MyApp app;
        app.ApplyStateString(Widen(bytes));
        std::string messages = testing::internal::GetCapturedStdout();
        ASSERT_EQ(messages.find("Invalid"), std::string::npos)
            << "round " << round << ": " << messages;
        ASSERT_NE(messages.find("Highscore 2 Loaded"), std::string::npos) << messages;
        // Every table holds the numbers of one and the same save...
        int n = app.saved.highscores[0] / 100;
        for (int i = 0; i < 60; i++) ASSERT_EQ(app.saved.highscores[i], n * 100 + i) << round;
        ASSERT_EQ(app.saved.SoundMode(), n % 4) << round;
        // ...and that save is the last one reported finished or the one under way.
        ASSERT_TRUE(n == finished || n == finished + 1)
            << "round " << round << ": file holds save " << n << ", " << finished << " finished";
        caughtMidSave += n == finished + 1;
        lastSeen = n;
    }
    EXPECT_GT(kills, 900);
    EXPECT_GT(lastSeen, 0);
    RecordProperty("caught_mid_save", caughtMidSave);
    RemoveTree(folder);
}

}  // namespace
