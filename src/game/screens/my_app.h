// The game object: the application the framework runs, the core with every
// part of the game's state, its loader and its saves.
#pragma once

#include "game/asset_loader.h"
#include "game/game_core.h"

class c_MyApp final : public c_GameCore {
  public:
    // Made on its platform; it installs its delegate there.
    explicit c_MyApp(PlGame* platform) : c_GameCore(platform) {}
};

// The running game object (null before it is made); tests make their own.
c_MyApp* MyApp();
