// Exit statuses as a death test's parent reads them.
#pragma once

#include <gtest/gtest.h>

// A runtime error ends the process with status -1: a Linux parent reads 255,
// a Windows one -1.
inline bool EndedByRuntimeError(int status) {
    return ::testing::ExitedWithCode(255)(status) || ::testing::ExitedWithCode(-1)(status);
}
