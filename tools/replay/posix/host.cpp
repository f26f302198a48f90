#include "host.h"

#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <initializer_list>

std::string ExeFolder() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = '\0';
    std::string s(path);
    return s.substr(0, s.find_last_of('/'));
}

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// GLFW and GLX load these at run time and unload them at glfwTerminate; kept
// loaded, what Mesa still holds at exit stays reachable instead of showing as
// leaks from an unknown module when the tool runs under the leak checker.
void PinGlDrivers() {
    for (const char* lib : {"libGL.so.1", "libGLX.so.0", "libGLX_mesa.so.0", "libXrandr.so.2",
                            "libXcursor.so.1", "libXi.so.6", "libXinerama.so.1", "libX11-xcb.so.1",
                            "libXxf86vm.so.1", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(lib, RTLD_NOW | RTLD_NODELETE);
}
