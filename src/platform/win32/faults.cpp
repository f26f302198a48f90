// The processor-fault translator on Windows: a vectored exception handler,
// which sees a fault before any frame's own handler and still runs after a
// stack overflow, on the stack the thread keeps in reserve.
#include <windows.h>

#include "platform/os.h"

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

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    DWORD code = info->ExceptionRecord->ExceptionCode;
    if (!IsFault(code)) return EXCEPTION_CONTINUE_SEARCH;
    DWORD self = GetCurrentThreadId();
    DWORD first = static_cast<DWORD>(InterlockedCompareExchange(
        reinterpret_cast<volatile LONG*>(&reportingThread), static_cast<LONG>(self), 0));
    if (first == self) os::EndProcessNow(-1);  // a fault while reporting one
    if (first != 0) Sleep(INFINITE);           // another thread is reporting; it ends us
    onFault(Classify(code));
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void os::InstallFaultTranslator(FaultHandler handler) {
    onFault = handler;
    // Room for the report once a stack overflow has used up the rest.
    ULONG reserve = 64 * 1024;
    SetThreadStackGuarantee(&reserve);
    AddVectoredExceptionHandler(1, OnException);
}
