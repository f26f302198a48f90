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

// What the saver said before it died: saves finished, and whether it was
// inside the next one (its last whole line a "+n" start mark).
struct SaverReport {
    int finished = 0;
    bool midSave = false;
};

SaverReport ReadSaverReport(int fd, std::string out) {
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    SaverReport report;
    std::istringstream lines(out.substr(0, out.rfind('\n') + 1));
    for (std::string line; std::getline(lines, line);) {
        report.midSave = !line.empty() && line[0] == '+';
        if (!report.midSave) report.finished = atoi(line.c_str());
    }
    return report;
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
        // Wait until the saver has finished its first save, then strike at random.
        std::string head;
        for (char c; head.find("\n1\n") == std::string::npos;) {
            ASSERT_EQ(read(pipeFds[0], &c, 1), 1);
            head += c;
        }
        usleep(std::uniform_int_distribution<int>(0, 2000)(dice));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        kills += WIFSIGNALED(status);
        SaverReport report = ReadSaverReport(pipeFds[0], head);
        int finished = report.finished;
        close(pipeFds[0]);
        ASSERT_GT(finished, 0) << round;

        std::string bytes = ReadFile(state);
        testing::internal::CaptureStdout();
        c_MyApp app(nullptr);  // the state alone: no platform
        app.stateFile.ApplyStateString(Widen(bytes));
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
        caughtMidSave += report.midSave;
        lastSeen = n;
    }
    EXPECT_GT(kills, 900);
    EXPECT_GT(lastSeen, 0);
    // Saves end in a flush to disk, so most kills land inside one; a test
    // whose kills all fell between saves would have proved nothing.
    EXPECT_GT(caughtMidSave, 100);
    RecordProperty("caught_mid_save", caughtMidSave);
    RemoveTree(folder);
}

}  // namespace
