// Process start to first presented frame, for one run of a program:
//   startup_timer STAMP_LIBRARY PROGRAM [ARGUMENTS...]
// Takes the time, starts PROGRAM with STAMP_LIBRARY preloaded (it reports
// when the first glfwSwapBuffers returns), prints "first_swap_ms N" and ends
// the program. The program's output goes to /dev/null; it runs in the
// current folder.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// The parent's environment with the preload and the pipe added.
std::vector<std::string> ChildEnvironment(const char* library, int fd) {
    std::vector<std::string> env;
    std::string preload = std::string("LD_PRELOAD=") + library;
    for (char** e = environ; *e; e++) {
        std::string entry(*e);
        if (entry.rfind("LD_PRELOAD=", 0) == 0)
            preload += ":" + entry.substr(11);
        else if (entry.rfind("BW_FIRST_SWAP_FD=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back(preload);
    env.push_back("BW_FIRST_SWAP_FD=" + std::to_string(fd));
    return env;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_timer STAMP_LIBRARY PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    int fds[2];
    if (pipe(fds) != 0) return 2;
    std::vector<std::string> env = ChildEnvironment(argv[1], fds[1]);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    const int64_t start = MonotonicNs();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[2], &actions, nullptr, argv + 2, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        std::fprintf(stderr, "startup_timer: cannot start %s\n", argv[2]);
        return 2;
    }
    int64_t stamp = 0;
    pollfd wait{fds[0], POLLIN, 0};
    const bool got = poll(&wait, 1, 30000) == 1 &&
                     read(fds[0], &stamp, sizeof stamp) == static_cast<ssize_t>(sizeof stamp);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    if (!got) {
        std::fprintf(stderr, "startup_timer: %s presented no frame\n", argv[2]);
        return 1;
    }
    std::printf("first_swap_ms %.3f\n", static_cast<double>(stamp - start) / 1e6);
    return 0;
}
