// Entry point: the game's application object on the desktop platform's frame loop.
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "core/errors.h"
#include "game/screens/my_app.h"
#include "graphics/gl_needs.h"
#include "os/os.h"
#include "platform/glfw/entry.h"
#include "platform/glfw/glfw_game.h"
#include "platform/glfw/install_paths.h"

namespace {

// A start-up failure the player must read: standard error, and a message box
// where nobody reads that.
int FailToStart(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    os::ShowFailure(message);
    return 1;
}

}  // namespace

int main() {
    // Without its data the game would be an empty window: say so and stop.
    InstallPaths paths = LocateInstallPaths();
    if (paths.dataFolder.empty()) return FailToStart(MissingDataMessage(paths));
    PlDesktopWindow window;
    if (!window.Ok()) {
        os::ShowFailure(window.Failure());
        return -1;
    }
    PlVorlekGame game;
    game.SetWindow(window.Window());
    game.UseInstallPaths(std::move(paths));
    // A driver that cannot draw the game would leave a black window: the
    // window is still hidden, so the player sees only the message.
    const std::string missing = MissingGlNeeds(CurrentGlDriver(), LargestSheetSide(&game, 1));
    if (!missing.empty()) return FailToStart(missing);
    window.Show();
    InstallFaultHandlers();
    // The game object is made on the platform: it keeps it for the clock and
    // files and installs its delegate in it, and that delegate is what the
    // frame loop calls.
    auto app = std::make_unique<c_MyApp>(&game);
    if (game.Delegate()) game.Run();
    // Textures and sound sources go while the GL context is still current.
    app.reset();
    return 0;
}
