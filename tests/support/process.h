// Runs a program with the given standard input (then end of input) and
// collects its standard output, standard error and exit status. One
// implementation per system: support/posix and support/win32.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ProcessResult {
    // The exit status as a POSIX parent sees it (its low 8 bits: -1 is 255,
    // on Windows too), or 128 + signal; 137 for a program killed at the timeout.
    int status = -1;
    std::string out;
    std::string err;
};

// `environment` adds NAME=value entries to the child's environment.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input = "",
                         int timeoutSeconds = 30, const std::vector<std::string>& environment = {});

// POSIX only: runs a program with a pseudo-terminal as its standard input,
// output and error, as when started from a shell. `out` collects what the terminal
// showed; a program still running after the timeout is killed (status 128 + 9).
ProcessResult RunOnTerminal(const std::vector<std::string>& argv, double timeoutSeconds);

// Runs `work` as a user whom file modes can refuse, and returns what it
// returned (0 to 200). Root is refused nothing, so on POSIX a root caller runs
// it in a child that has dropped to "nobody" (-100 if it could not); elsewhere
// it runs here, as the caller.
int RunUnprivileged(const std::function<int()>& work);
