// The game object: the core's state and rules with asset loading and the
// saves on top of it. The core never calls these directly; it reaches them
// through its hooks.
#pragma once

#include <array>
#include <string>

#include "game/game_core.h"

class c_MyApp final : public c_GameCore {
  public:
    // Made on its platform; it installs its delegate there.
    explicit c_MyApp(PlGame* platform);
    ~c_MyApp() override;

    // --- assets (assets.cpp) ---
    int LoadSheet(int index, StringView name, int width, int height, int frames, int flags);
    int LoadFont(int index, StringView name, int advance, int lineHeight);
    int LoadSfx(int id);
    int BeginLoading() override;
    void LoadStartSheets();  // the logo and the font BeginLoading asks for
    int AssetLoadStep() override;
    void ChooseResolutionLevel();
    int CachedLargestSheet(int level);
    TextBuffer SheetFileName(StringView name) const;

    // --- saves (saves.cpp) ---
    int LoadSaves() override;
    int SaveAll() override;
    // The state string as saved, built into `out`; used by SaveAll and tests.
    std::string BuildStateString() const;
    // Applies a state string with the section rules and messages.
    void ApplyStateString(StringView state);
};

class PlGame;
// The larger side of the largest sheet (the font's included) at a level
// (1, 2 or 4), read from the data files' headers; 0 when none is there.
int LargestSheetSide(PlGame* platform, int level);

// The running game object (null before it is made); tests make their own.
c_MyApp* MyApp();
