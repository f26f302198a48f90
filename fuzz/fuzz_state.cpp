// The state-string loader: any text loads without a crash, and what it
// leaves behind saves and loads back to the same state.
#include <cstdio>
#include <cstdlib>

#include "game/screens/my_app.h"
#include "platform/platform_game.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!freopen("/dev/null", "w", stdout)) return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static PlGame platform;  // no files: the loader only sees the string
    static c_MyApp* app = new c_MyApp(&platform);
    String state = DecodeText(data, size);
    app->stateFile.ApplyStateString(state);
    std::string saved = app->stateFile.BuildStateString();
    auto settings = app->saved.settings;
    auto badges = app->saved.badgeFlags;
    auto scores = app->saved.highscores;
    app->stateFile.ApplyStateString(Widen(saved));
    if (app->saved.settings != settings || app->saved.badgeFlags != badges ||
        app->saved.highscores != scores)
        abort();
    return 0;
}
