// The fatal path where it needs POSIX: started from a terminal, and the
// allocation probe that replaces glibc's malloc.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "support/process.h"

namespace {

const char kMarker[] = "{{~~(null)~~}}\n\n";

TEST(FatalPath, StartedFromATerminalTheErrorEndsPromptly) {
    // A terminal never reaches end of input: a stop waiting there would hang
    // until the deadline kills it (status 137).
    ProcessResult r = RunOnTerminal({BW_FATAL_PROBE, "error"}, 30.0);
    EXPECT_EQ(r.status, 255);
    EXPECT_NE(r.out.find("Vorlek Runtime Error : boom"), std::string::npos) << r.out;
    ProcessResult fault = RunOnTerminal({BW_FATAL_PROBE, "null"}, 30.0);
    EXPECT_EQ(fault.status, 255);
    EXPECT_NE(fault.out.find("Memory access violation"), std::string::npos) << fault.out;
}

#ifdef BW_FAULT_ALLOC_PROBE  // not with the sanitizers, whose allocators it would replace
TEST(FatalPath, FaultPathMakesNoHeapAllocation) {
    const char kAllocation[] = "[heap allocation after the fault]";
    auto allocations = [&](const std::string& err) {
        int n = 0;
        for (size_t at = err.find(kAllocation); at != std::string::npos;
             at = err.find(kAllocation, at + 1))
            n++;
        return n;
    };
    struct Case {
        const char* fault;
        const char* message;
    };
    for (Case c :
         {Case{"null", "Memory access violation"}, Case{"divide", "Integer divide by zero"}}) {
        // Straight to the exit, as without a debugger.
        ProcessResult plain = RunProcess({BW_FAULT_ALLOC_PROBE, c.fault});
        EXPECT_EQ(plain.out, std::string("Vorlek Runtime Error : ") + c.message + "\n\n");
        EXPECT_EQ(allocations(plain.err), 0) << c.fault << ": " << plain.err;
        EXPECT_EQ(plain.status, 255);
        // Through every command of the stop, "@" descriptions included.
        ProcessResult stop =
            RunProcess({BW_FAULT_ALLOC_PROBE, c.fault}, "?\n@5eed0\n@0\n@1234\ne\nq\n", 30,
                       {std::string(kDebugStopVariable) + "=1"});
        EXPECT_EQ(stop.err, std::string(kMarker) + "+Object\n\n\n\n" + kMarker) << c.fault;
        EXPECT_EQ(allocations(stop.err), 0) << c.fault;
        EXPECT_EQ(stop.status, 0);
    }
}
#endif

}  // namespace
