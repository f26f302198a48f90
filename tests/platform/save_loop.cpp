// Saves the game's state over and over, each time with new highscores, and
// says when each save starts ("+n") and finishes ("n"). The crash test kills
// it mid-save.
#include <cstdio>
#include <string>

#include "game/screens/my_app.h"
#include "platform/headless/headless_game.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    PlHeadlessGame platform(".", argv[1]);
    c_MyApp app(&platform);
    for (int n = 1;; n++) {
        for (int i = 0; i < 60; i++) app.saved.highscores[i] = n * 100 + i;
        app.saved.SoundMode() = n % 4;
        printf("+%d\n", n);
        fflush(stdout);
        platform.WriteStateFile(Widen(app.stateFile.BuildStateString()));
        printf("%d\n", n);
        fflush(stdout);
    }
}
