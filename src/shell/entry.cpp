// Program entry: GLFW, the one window, the platform game, the application.
#include "shell/entry.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <utility>

#include "shell/app.h"
#include "shell/errors.h"
#include "shell/install_paths.h"
#include "shell/platform_game.h"

int RunGame(const AppFactory& makeApp) {
    // Without its data the game would be an empty window: say so and stop.
    InstallPaths paths = LocateInstallPaths();
    if (paths.dataFolder.empty()) {
        std::fprintf(stderr, "%s\n", MissingDataMessage(paths).c_str());
        return 1;
    }
    if (!glfwInit()) {
        Print("glfwInit failed");
        return -1;
    }
    int desktopWidth = 640, desktopHeight = 480;
    if (const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor())) {
        desktopWidth = mode->width;
        desktopHeight = mode->height;
    }
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(640, 480, "Brindlewick", nullptr, nullptr);
    if (!window) {
        Print("glfwOpenWindow failed");
        return -1;
    }
    glfwSetWindowPos(window, (desktopWidth - 640) / 2, (desktopHeight - 480) / 2);
    glfwSetWindowTitle(window, "Brindlewick");
    glfwMakeContextCurrent(window);

    PlVorlekGame game;
    game.SetWindow(window);
    game.UseInstallPaths(std::move(paths));
    InstallFaultHandlers();
    std::unique_ptr<c_App> app = makeApp();
    if (game.Delegate()) game.Run();
    glfwTerminate();
    return 0;
}
