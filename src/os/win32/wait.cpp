// Waits on Windows. A plain Sleep ends on the system timer's tick, 15.6 ms
// unless some program asks for a finer one: a frame loop that sleeps 16 ms
// would then often wake after 31. A high-resolution waitable timer ends
// within a fraction of a millisecond; where Windows has none (before 10
// version 1803), the timer period goes down to 1 ms while the game runs.
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include "os/os.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

class Waiter {
  public:
    Waiter() {
        timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS);
        if (timer_)
            kind_ = os::WaitTimer::HighResolution;
        else if (timeBeginPeriod(1) == TIMERR_NOERROR)
            kind_ = os::WaitTimer::OneMsPeriod;
    }
    // At the process's end; Windows restores the period of an ended process
    // by itself too, for the ways out that run no destructors.
    ~Waiter() {
        if (timer_) CloseHandle(timer_);
        if (kind_ == os::WaitTimer::OneMsPeriod) timeEndPeriod(1);
    }
    Waiter(const Waiter&) = delete;
    Waiter& operator=(const Waiter&) = delete;

    void Sleep(int ms) {
        if (timer_) {
            LARGE_INTEGER due;
            due.QuadPart = -10000LL * ms;  // relative, in 100 ns units
            if (SetWaitableTimerEx(timer_, &due, 0, nullptr, nullptr, nullptr, 0) &&
                WaitForSingleObject(timer_, INFINITE) == WAIT_OBJECT_0)
                return;
        }
        ::Sleep(static_cast<DWORD>(ms));
    }
    os::WaitTimer Kind() const { return kind_; }

  private:
    HANDLE timer_ = nullptr;
    os::WaitTimer kind_ = os::WaitTimer::SystemTick;
};

Waiter& TheWaiter() {
    static Waiter waiter;
    return waiter;
}

}  // namespace

namespace os {

void SleepMs(int ms) {
    if (ms > 0) TheWaiter().Sleep(ms);
}

WaitTimer SleepTimer() {
    return TheWaiter().Kind();
}

}  // namespace os
