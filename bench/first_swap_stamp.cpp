// Preloaded into a program by startup_timer: when the program's first
// glfwSwapBuffers returns, the time (CLOCK_MONOTONIC, ns) goes down the pipe
// named by BW_FIRST_SWAP_FD. Programs call GLFW through its shared library,
// so this definition stands in for GLFW's and passes the call on.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

struct GLFWwindow;

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    using SwapFn = void (*)(GLFWwindow*);
    static const auto real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    static bool stamped = false;
    if (real) real(window);
    if (stamped) return;
    stamped = true;
    const char* fd = std::getenv("BW_FIRST_SWAP_FD");
    if (!fd) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t ns = int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
    const int out = std::atoi(fd);
    if (write(out, &ns, sizeof ns) != static_cast<ssize_t>(sizeof ns)) {
        // The timer reports a missing stamp itself.
    }
    close(out);
}
