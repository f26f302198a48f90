// Waits on POSIX: nanosleep ends on a high-resolution timer already.
#include <errno.h>

#include <ctime>

#include "os/os.h"

namespace os {

void SleepMs(int ms) {
    if (ms <= 0) return;
    timespec left{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

WaitTimer SleepTimer() {
    return WaitTimer::Exact;
}

}  // namespace os
