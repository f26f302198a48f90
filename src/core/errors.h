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

// The debug stop reads its commands only when a debugger is attached
// (TracerPid in /proc/self/status) or when this variable is set to anything
// but "" or "0"; otherwise a runtime error ends the process at once.
inline constexpr char kDebugStopVariable[] = "BRINDLEWICK_DEBUG_STOP";
bool DebuggerAttached();
bool DebugStopWanted();

// A thrown object escaping an event ends up here ("Uncaught Vorlek Exception").
[[noreturn]] void ReportUncaughtThrowable();

// What the game throws for its own exceptions (none are thrown today).
struct ThrowableObject {
    virtual ~ThrowableObject() = default;
};

// POSIX stand-in for the processor-fault translator: SIGSEGV, SIGBUS, SIGILL,
// SIGFPE and stack overflow become runtime errors with fixed messages.
void InstallFaultHandlers();

// Message for a fault signal (si_code decides integer vs float division).
const char* FaultMessage(int signal, int code, bool stackOverflow);

// Describes an object named by address for the "@" debug command: "+Object\n"
// only for addresses registered as live objects, else an empty string. A
// static text, so the fault path can use it without allocating.
void RegisterLiveObject(const void* object);
void UnregisterLiveObject(const void* object);
const char* DescribeObjectAt(uintptr_t address);
