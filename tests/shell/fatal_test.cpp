// The fatal paths, each in its own process: messages, streams, exit status.
#include <gtest/gtest.h>

#include "support/process.h"

namespace {

ProcessResult Probe(const std::string& what, const std::string& input = "") {
    return RunProcess({BW_FATAL_PROBE, what}, input);
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
    ProcessResult again = Probe("error", "e\n");
    EXPECT_EQ(again.out, "Vorlek Runtime Error : boom\n\nVorlek Runtime Error : boom\n\n");
    EXPECT_EQ(again.status, 255);
    // "?" reads the next line, "q" ends with status 0.
    ProcessResult quit = Probe("error", "?\nq\n");
    EXPECT_EQ(quit.status, 0);
    // Anything else is an unknown command.
    ProcessResult unknown = Probe("error", "x\n");
    EXPECT_EQ(unknown.out, "Vorlek Runtime Error : boom\n\n????? x ?????");
    EXPECT_EQ(unknown.status, 255);
    // A line without its end counts as nothing read.
    EXPECT_EQ(Probe("error", "q").status, 255);
}

TEST(FatalPath, DescribeOnlyVouchesForLiveObjects) {
    // The probe prints a live object's address first; unknown and null give empty lines.
    ProcessResult first = Probe("describe", "@0\n@deadbeef\nq\n");
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.err, std::string(kMarker) + "\n\n");
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
