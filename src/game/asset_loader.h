// The asset loader: the image sheets at the resolution level the display
// calls for, the bitmap font and the sound effects, read into the media
// tables one loader step at a time while the loading screen turns.
#pragma once

#include "core/text.h"
#include "framework/app.h"
#include "game/game_state.h"
#include "game/play/loading_screen.h"
#include "game/play/text_buffer.h"

class PlGame;

class AssetLoader {
  public:
    // Files are found on `platform`; without one only the tables change.
    AssetLoader(Media& media, PlGame* platform) : media_(media), platform_(platform) {}

    // The level for the display, a black background until the loading
    // screen's first picture, and every step due from the first. The logo
    // and font are read at the head of the first step, so the frame before
    // it (drawn before any update) shows the background without waiting for files.
    void BeginLoading(const c_App::DisplaySize& display, ScreenFit& screen, LoadingScreen& loading);
    // The files of one step of the table (1..21), at the level chosen now.
    void AssetLoadStep(int step, const c_App::DisplaySize& display);
    // The sharpest level the platform offers now; 4 without a platform.
    int PlatformLevelLimit() const;
    // A platform that has come to offer sharper pictures (a page fetching
    // them in the background): true when the display's level changed and the
    // tables must be loaded again.
    bool TakeUpSharperPictures(const c_App::DisplaySize& display);
    // The level for the display's pixels, lowered while the driver's
    // textures cannot hold that level's largest sheet.
    void ChooseResolutionLevel(const c_App::DisplaySize& display);

    int LoadSheet(int index, StringView name, int width, int height, int frames, int flags);
    int LoadFont(int index, StringView name, int advance, int lineHeight);
    int LoadSfx(int id);
    // The sheet's file name at the current level: name, suffix, ".png".
    TextBuffer SheetFileName(StringView name) const;

  private:
    int CachedLargestSheet(int level);
    void LoadStartSheets();  // the logo and the font BeginLoading asks for

    Media& media_;
    PlGame* platform_;
};

// The larger side of the largest sheet (the font's included) at a level
// (1, 2 or 4), read from the data files' headers; 0 when none is there.
int LargestSheetSide(PlGame* platform, int level);
