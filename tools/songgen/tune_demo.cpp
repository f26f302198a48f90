// Plays the song through the real window, renderer and audio device:
//   tune_demo [seconds] [song seed]      (run from the build folder, beside data/)
// Prints one line per section so the arrangement can be followed.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "framework/app.h"
#include "graphics/context.h"
#include "music/tune_player.h"
#include "platform/glfw/entry.h"
#include "platform/glfw/glfw_game.h"

namespace {

int seconds = 20;
int seed = 7;

class c_TuneDemo : public c_App {
  public:
    explicit c_TuneDemo(PlGame* platform) : c_App(platform) {}

    int HandleCreate() override {
        SetUpdateRate(60);
        player.Configure(32, 4, 3, 3, 4);
        player.sheetPath = u"music/brindle-song.png";
        player.kits = {0, 1, 2, 1, 1, 1, 0, 0};
        player.songSeed = seed;
        player.progression = u"q";  // start the chord changes
        player.loadCounter = 1;
        player.state = 2;
        startMs = Platform()->ElapsedMs();
        return 0;
    }

    int HandleUpdate() override {
        player.Update(0, 1);
        if (player.section != shownSection) ReportSection();
        if (Platform()->ElapsedMs() - startMs >= seconds * 1000) Finish();
        return 0;
    }

    int HandleRender() override {
        player.RenderLoading();
        DrawTracks();
        return 0;
    }

  private:
    void ReportSection() {
        shownSection = player.section;
        std::printf("section %d: %d patterns, patterns %d %d %d %d %d, muted %d%d%d%d%d\n",
                    player.section, player.sectionLeft, player.pattern[0], player.pattern[1],
                    player.pattern[2], player.pattern[3], player.pattern[4], player.muted[0],
                    player.muted[1], player.muted[2], player.muted[3], player.muted[4]);
        std::fflush(stdout);
    }

    // One bar per track whose height follows its level; a cursor for the step.
    void DrawTracks() {
        Clear(16, 18, 32);
        for (int t = 0; t < 5; t++) {
            const float h = 300 * player.level[t];
            SetColor(80 + 35 * t, 200 - 25 * t, 160);
            DrawRect(70 + t * 110, 400 - h, 60, h + 4);
        }
        SetColor(255, 255, 255);
        DrawRect(player.step * 10, 440, 8, 8);
    }

    void Finish() {
        std::printf("played %d sections, ending at step %d\n", player.section, player.step);
        std::fflush(stdout);
        player.StopAll(1);
        auto* game = static_cast<PlGlfwGame*>(Platform());
        glfwSetWindowShouldClose(game->Window(), GLFW_TRUE);
    }

    c_TunePlayer player{Platform()};
    int startMs = 0;
    int shownSection = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) seconds = std::atoi(argv[1]);
    if (argc > 2) seed = std::atoi(argv[2]);
    PlDesktopWindow window;
    if (!window.Ok()) return -1;
    window.Show();
    PlVorlekGame game;
    game.SetWindow(window.Window());
    auto demo = std::make_unique<c_TuneDemo>(&game);
    if (game.Delegate()) game.Run();
    demo.reset();  // sources and textures go while the context is current
    return 0;
}
