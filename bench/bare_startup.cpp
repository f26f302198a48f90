// The start-up floor: what any GLFW game with sound does before its first
// frame shows. A 640×480 window with its GL context current, the OpenAL
// device open, one cleared frame presented; then it exits. startup_timer
// measures it beside the game.
#include <AL/alc.h>
#include <GLFW/glfw3.h>

#include <cstdio>

int main() {
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        return 1;
    }
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(640, 480, "Brindlewick", nullptr, nullptr);
    if (!window) {
        std::puts("no window");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);
    ALCdevice* device = alcOpenDevice(nullptr);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(window);
    if (device) alcCloseDevice(device);
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
