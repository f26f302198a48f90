// Entry point: the game's application object on the desktop platform's frame loop.
#include <memory>

#include "core/errors.h"
#include "game/screens/my_app.h"
#include "platform/glfw/entry.h"
#include "platform/glfw/glfw_game.h"

int main() {
    PlDesktopWindow window;
    if (!window.Ok()) return -1;
    PlVorlekGame game;
    game.SetWindow(window.Window());
    InstallFaultHandlers();
    auto app = std::make_unique<c_MyApp>();
    if (game.Delegate()) game.Run();
    // Textures and sound sources go while the GL context is still current.
    app.reset();
    return 0;
}
