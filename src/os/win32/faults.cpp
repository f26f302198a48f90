// The processor-fault translator on Windows. Faults go through the unhandled
// exception filter, so a fault that some frame's __except, a library or a
// later vectored handler deals with (drivers and IsBadReadPtr probe memory
// that way) never reaches it. Only a stack overflow is caught first-chance, by
// a vectored handler: by the time the filter would run, the stack left to it
// may be too short to report anything.
#include <windows.h>

#include "os/os.h"

namespace {

os::FaultHandler onFault = nullptr;
DWORD reportingThread = 0;

// Error-severity exceptions of the system itself. The C++ runtime's own
// exceptions, breakpoints and debugger messages have other codes and pass on.
bool IsFault(DWORD code) {
    return (code & 0xF0000000u) == 0xC0000000u;
}

os::Fault Classify(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
            return os::Fault::AccessViolation;
        case EXCEPTION_ILLEGAL_INSTRUCTION:
            return os::Fault::IllegalInstruction;
        // The processor raises one trap for both; Linux calls both a division by zero.
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_INT_OVERFLOW:
            return os::Fault::IntegerDivideByZero;
        case EXCEPTION_STACK_OVERFLOW:
            return os::Fault::StackOverflow;
        default:
            return os::Fault::Other;
    }
}

// One thread reports; a second fault in it ends the process at once, and
// other threads wait for the first report to end the process.
LONG Report(DWORD code) {
    DWORD self = GetCurrentThreadId();
    DWORD first = static_cast<DWORD>(InterlockedCompareExchange(
        reinterpret_cast<volatile LONG*>(&reportingThread), static_cast<LONG>(self), 0));
    if (first == self) os::EndProcessNow(-1);
    if (first != 0) Sleep(INFINITE);
    onFault(Classify(code));
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* info) {
    DWORD code = info->ExceptionRecord->ExceptionCode;
    if (!IsFault(code)) return EXCEPTION_CONTINUE_SEARCH;
    return Report(code);
}

LONG CALLBACK OnStackOverflow(EXCEPTION_POINTERS* info) {
    DWORD code = info->ExceptionRecord->ExceptionCode;
    if (code != EXCEPTION_STACK_OVERFLOW) return EXCEPTION_CONTINUE_SEARCH;
    return Report(code);
}

}  // namespace

void os::InstallFaultTranslator(FaultHandler handler) {
    onFault = handler;
    // Room for the report once a stack overflow has used up the rest.
    ULONG reserve = 64 * 1024;
    SetThreadStackGuarantee(&reserve);
    SetUnhandledExceptionFilter(OnUnhandled);
    AddVectoredExceptionHandler(1, OnStackOverflow);
}
