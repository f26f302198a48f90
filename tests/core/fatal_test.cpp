// The fatal paths, each in its own process: messages, streams, exit status.
// The same file runs on Linux and on Windows; fatal_posix_test.cpp has the
// cases that need a terminal or the Linux allocation probe.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "support/process.h"

namespace {

ProcessResult Probe(const std::string& what, const std::string& input = "") {
    return RunProcess({BW_FATAL_PROBE, what}, input);
}

// As a debugger would drive it: the stop listens to standard input.
ProcessResult ProbeWithStop(const std::string& what, const std::string& input) {
    return RunProcess({BW_FATAL_PROBE, what}, input, 30, {std::string(kDebugStopVariable) + "=1"});
}

const char kMarker[] = "{{~~(null)~~}}\n\n";

TEST(FatalPath, EmptyErrorExitsQuietlyWithZero) {
    ProcessResult r = Probe("empty-error");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(FatalPath, ErrorWithClosedInputPrintsTwoLinesAndFails) {
    ProcessResult r = Probe("error");
    EXPECT_EQ(r.out, "Vorlek Runtime Error : boom\n\n");
    EXPECT_EQ(r.err, kMarker);
    EXPECT_EQ(r.status, 255);
}

TEST(FatalPath, DebugCommandsOfTheStop) {
    // "e" leaves the stop and the error starts over; then end of input.
    ProcessResult again = ProbeWithStop("error", "e\n");
    EXPECT_EQ(again.out, "Vorlek Runtime Error : boom\n\nVorlek Runtime Error : boom\n\n");
    EXPECT_EQ(again.status, 255);
    // "?" reads the next line, "q" ends with status 0.
    ProcessResult quit = ProbeWithStop("error", "?\nq\n");
    EXPECT_EQ(quit.status, 0);
    // Anything else is an unknown command.
    ProcessResult unknown = ProbeWithStop("error", "x\n");
    EXPECT_EQ(unknown.out, "Vorlek Runtime Error : boom\n\n????? x ?????");
    EXPECT_EQ(unknown.status, 255);
    // A line without its end counts as nothing read.
    EXPECT_EQ(ProbeWithStop("error", "q").status, 255);
}

TEST(FatalPath, DescribeOnlyVouchesForLiveObjects) {
    // The probe prints a live object's address first; unknown and null give empty lines.
    ProcessResult first = ProbeWithStop("describe", "@0\n@deadbeef\nq\n");
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.err, std::string(kMarker) + "\n\n");
}

TEST(FatalPath, WithoutADebuggerTheStopDoesNotListen) {
    // Commands on standard input are not read: the error ends the process.
    ProcessResult r = Probe("error", "q\n");
    EXPECT_EQ(r.out, "Vorlek Runtime Error : boom\n\n");
    EXPECT_EQ(r.err, kMarker);
    EXPECT_EQ(r.status, 255);
    // "0" leaves the switch off.
    ProcessResult off =
        RunProcess({BW_FATAL_PROBE, "error"}, "q\n", 30, {std::string(kDebugStopVariable) + "=0"});
    EXPECT_EQ(off.status, 255);
}

TEST(FatalPath, UncaughtThrowablePrintsOneLine) {
    ProcessResult r = Probe("uncaught");
    EXPECT_EQ(r.out, "Vorlek Runtime Error : Uncaught Vorlek Exception\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 255);
}

TEST(FatalPath, SecondApplicationIsARuntimeError) {
    ProcessResult r = Probe("second-app");
    EXPECT_EQ(r.out, "Vorlek Runtime Error : App has already been created\n\n");
    EXPECT_EQ(r.status, 255);
}

TEST(FatalPath, ProcessorFaultsBecomeRuntimeErrors) {
    EXPECT_EQ(Probe("divide").out, "Vorlek Runtime Error : Integer divide by zero\n\n");
    EXPECT_EQ(Probe("null").out, "Vorlek Runtime Error : Memory access violation\n\n");
    ProcessResult overflow = Probe("overflow");
    EXPECT_EQ(overflow.out, "Vorlek Runtime Error : Stack overflow\n\n");
    EXPECT_EQ(overflow.status, 255);
}

}  // namespace
