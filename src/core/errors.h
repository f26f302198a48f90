// The one fatal-error path: print, error, runtime error, uncaught reports, faults.
#pragma once

#include "core/text.h"

// One line to standard output, flushed.
void Print(StringView text);
void Print(const char* text);

// Empty message: exit(0) at once. Otherwise raises the runtime error.
[[noreturn]] void Error(StringView message);

// Prints the error, runs the debug stop on standard input; never returns.
// Allocation-free, so faults may end here whatever the other threads hold.
[[noreturn]] void RuntimeError(const char* message);
// The same for a processor fault: stdio, which may be locked or allocate, is
// left alone; every line printed before went out flushed already.
[[noreturn]] void RuntimeErrorFromFault(const char* message);

// The debug stop reads its commands only when a debugger is attached or when
// this variable is set to anything but "" or "0" (read once, at the latest
// when the fault translator is installed); otherwise a runtime error ends
// the process at once.
inline constexpr char kDebugStopVariable[] = "BRINDLEWICK_DEBUG_STOP";
bool DebugStopWanted();

// A thrown object escaping an event ends up here ("Uncaught Vorlek Exception").
[[noreturn]] void ReportUncaughtThrowable();

// What the game throws for its own exceptions (none are thrown today).
struct ThrowableObject {
    virtual ~ThrowableObject() = default;
};

// The processor-fault translator of the main thread: access violations,
// illegal instructions, integer division by zero and stack overflow (and any
// other fault) become runtime errors with fixed messages.
void InstallFaultHandlers();

// Describes an object named by address for the "@" debug command: "+Object\n"
// only for addresses registered as live objects, else an empty string. A
// static text, so the fault path can use it without allocating.
void RegisterLiveObject(const void* object);
void UnregisterLiveObject(const void* object);
const char* DescribeObjectAt(uintptr_t address);
