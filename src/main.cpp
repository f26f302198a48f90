// Entry point: the game's application object on the platform's frame loop.
#include <memory>

#include "game/my_app.h"
#include "shell/entry.h"

int main() {
    return RunGame([] { return std::make_unique<c_MyApp>(); });
}
