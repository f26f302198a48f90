// Runs a program with the given standard input (then end of input) and
// collects its standard output, standard error and exit status.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input = "",
                         int timeoutSeconds = 30);
