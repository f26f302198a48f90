// The fault translator on Windows: it lets the C++ runtime's own exceptions,
// the debugger's messages and faults the process handles itself pass, and
// reports a fault nobody handles without touching a heap another thread holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>

#include "core/errors.h"
#include "support/process.h"

namespace {

const std::string kMarker = "{{~~(null)~~}}\n\n";

TEST(WindowsFaults, ExceptionsThatAreNoFaultPassThrough) {
    InstallFaultHandlers();
    bool caught = false;
    try {
        throw std::runtime_error("thrown and caught");
    } catch (const std::runtime_error&) {
        caught = true;
    }
    EXPECT_TRUE(caught);
    OutputDebugStringA("a debugger message is an exception too\n");
}

TEST(WindowsFaults, ReportedWithoutTouchingALockedHeap) {
    // The probe's locks hold: an allocation under them never returns.
    EXPECT_EQ(RunProcess({BW_HEAP_LOCK_PROBE, "allocate"}, "", 3).status, 137);
    for (auto [fault, message] :
         {std::pair{"null", "Memory access violation"},
          std::pair{"divide", "Integer divide by zero"}, std::pair{"overflow", "Stack overflow"}}) {
        ProcessResult plain = RunProcess({BW_HEAP_LOCK_PROBE, fault}, "", 10);
        EXPECT_EQ(plain.out, std::string("Vorlek Runtime Error : ") + message + "\n\n");
        EXPECT_EQ(plain.err, kMarker);
        EXPECT_EQ(plain.status, 255) << fault;
        // Through every command of the stop, "@" descriptions included.
        ProcessResult stop = RunProcess({BW_HEAP_LOCK_PROBE, fault}, "?\n@5eed0\n@0\n@1234\ne\nq\n",
                                        10, {std::string(kDebugStopVariable) + "=1"});
        EXPECT_EQ(stop.err, kMarker + "+Object\n\n\n\n" + kMarker) << fault;
        EXPECT_EQ(stop.status, 0) << fault;
    }
}

TEST(WindowsFaults, FaultsHandledElsewhereDoNotEndTheGame) {
    ProcessResult run = RunProcess({BW_HEAP_LOCK_PROBE, "handled"}, "", 10);
    EXPECT_EQ(run.out, "went on after 2 handled faults\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

}  // namespace
