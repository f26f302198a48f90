// Entry point in the browser: the game's application object on the web
// platform. main returns while the page goes on calling the frame loop, so
// the platform and the game live for as long as the page does.
#include "game/screens/my_app.h"
#include "platform/web/web_game.h"

int main() {
    static PlWebGame game;
    if (!game.OpenCanvas()) return -1;
    static c_MyApp app(&game);  // installs its delegate in the platform as it is made
    if (game.Delegate()) game.Run();
    return 0;
}
