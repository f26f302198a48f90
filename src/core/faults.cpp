// Processor faults as runtime errors: the operating system's translator says
// what went wrong, the fatal path reports it.
#include "core/errors.h"
#include "os/os.h"

namespace {

const char* FaultMessage(os::Fault fault) {
    switch (fault) {
        case os::Fault::AccessViolation:
            return "Memory access violation";
        case os::Fault::IllegalInstruction:
            return "Illegal instruction";
        case os::Fault::IntegerDivideByZero:
            return "Integer divide by zero";
        case os::Fault::StackOverflow:
            return "Stack overflow";
        case os::Fault::Other:
            break;
    }
    return "Unknown exception";
}

void OnFault(os::Fault fault) {
    RuntimeErrorFromFault(FaultMessage(fault));
}

}  // namespace

void InstallFaultHandlers() {
    DebugStopWanted();  // reads the variable now, so no fault has to
    os::InstallFaultTranslator(OnFault);
}
