// Runs the real game headless from a recorded input script and prints a hash
// of the game state and of the draw list, so whole matches can be replayed,
// compared and timed. Optionally writes screenshots of chosen updates through
// a real window (run it under a display, e.g. xvfb-run).
//
//   replay [--script FILE] [--updates N] [--size WxH] [--data DIR] [--state FILE]
//          [--shot N:FILE.png]... [--random SEED] [--auto-start DIFFICULTY]
//          [--matches N] [--quiet] [--dump N]...
//
// --dump N prints the mode, clock, score and every field record at update N
// (positions in device pixels), which is how scripts find their toothpicks.
//
// Script lines: "<update> <command> [args]", applied before that update:
//   move X Y | down X Y | up | key CODE | keyup CODE | tap CODE | size W H |
//   suspend | resume            (# starts a comment; positions in device pixels)
#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/random.h"
#include "game/screens/my_app.h"
#include "graphics/context.h"
#include "graphics/renderer.h"
#include "host.h"
#include "input/input.h"
#include "input_dice.h"
#include "platform/headless/headless_game.h"

namespace {

struct ScriptEvent {
    int update = 0;
    std::string command;
    float a = 0, b = 0;
};

struct Options {
    std::string script;
    int updates = 3600;
    int width = 640, height = 480;
    std::string dataDir;
    std::string stateFile;
    std::map<int, std::string> shots;
    std::vector<int> dumps;
    uint32_t randomSeed = 0;
    bool randomInput = false;
    int autoDifficulty = 0;
    int matches = 0;
    bool quiet = false;
};

[[noreturn]] void Usage(const char* message) {
    fprintf(stderr, "replay: %s (see the comment at the top of tools/replay/replay.cpp)\n",
            message);
    exit(2);
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    o.dataDir = ExeFolder() + "/../../data";
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) Usage(("missing value after " + arg).c_str());
            return argv[++i];
        };
        if (arg == "--script")
            o.script = next();
        else if (arg == "--updates")
            o.updates = std::max(0, atoi(next().c_str()));
        else if (arg == "--size") {
            std::string v = next();
            if (sscanf(v.c_str(), "%dx%d", &o.width, &o.height) != 2 || o.width < 1 ||
                o.height < 1 || o.width > 8192 || o.height > 8192)
                Usage("bad --size");
        } else if (arg == "--data")
            o.dataDir = next();
        else if (arg == "--state")
            o.stateFile = next();
        else if (arg == "--shot") {
            std::string v = next();
            size_t colon = v.find(':');
            if (colon == std::string::npos) Usage("--shot wants N:FILE");
            o.shots[atoi(v.substr(0, colon).c_str())] = v.substr(colon + 1);
        } else if (arg == "--random") {
            o.randomInput = true;
            o.randomSeed = static_cast<uint32_t>(strtoul(next().c_str(), nullptr, 10));
        } else if (arg == "--auto-start")
            o.autoDifficulty = std::clamp(atoi(next().c_str()), 1, 3);
        else if (arg == "--matches")
            o.matches = std::max(0, atoi(next().c_str()));
        else if (arg == "--quiet")
            o.quiet = true;
        else if (arg == "--dump")
            o.dumps.push_back(atoi(next().c_str()));
        else
            Usage(("unknown option " + arg).c_str());
    }
    return o;
}

std::vector<ScriptEvent> ReadScript(const std::string& path) {
    std::vector<ScriptEvent> events;
    if (path.empty()) return events;
    std::ifstream in(path);
    if (!in) Usage(("cannot read script " + path).c_str());
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        ScriptEvent e;
        if (!(words >> e.update >> e.command)) continue;
        words >> e.a >> e.b;
        events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(), [](const ScriptEvent& l, const ScriptEvent& r) {
        return l.update < r.update;
    });
    return events;
}

// FNV-1a over raw bytes.
struct Hasher {
    uint64_t value = 1469598103934665603ull;
    void Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; i++) value = (value ^ p[i]) * 1099511628211ull;
    }
    template <typename T>
    void Add(const T& v) {
        Bytes(&v, sizeof v);
    }
};

// Hashes of recorded runs were taken when each pool was a 2048-float block
// whose last 38 floats were never used; they are still hashed as zeros so the
// same run keeps its hash.
void AddPool(Hasher& h, const RecordPool& pool) {
    h.Bytes(pool.data(), sizeof pool);
    constexpr size_t kUnusedTail = 2048 * sizeof(float) - sizeof(RecordPool);
    static constexpr std::array<uint8_t, kUnusedTail> kZeros{};
    h.Bytes(kZeros.data(), kZeros.size());
}

uint64_t HashState(const c_MyApp& app) {
    Hasher h;
    for (int v :
         {app.mode, app.match.score, app.match.shownScore, app.match.secondsLeft,
          app.match.matchStart, app.match.matchLength, app.match.matchOver, app.match.heldCharge,
          app.match.hurtTimer, app.match.spiderCap, app.title.difficulty, app.pause.paused,
          app.pause.panelY, app.timeUp.timeUpTimer, app.credits.menuPanelOpen,
          app.credits.menuPanelSlide, app.title.titleSlide, app.loading.loadStep})
        h.Add(v);
    h.Add(RandomSeed());
    AddPool(h, app.match.fieldRecords);
    AddPool(h, app.match.effectRecords);
    h.Bytes(app.saved.highscores.data(), sizeof app.saved.highscores);
    h.Bytes(app.saved.settings.data(), sizeof app.saved.settings);
    return h.value;
}

uint64_t HashDrawList(const c_MyApp& app) {
    Hasher h;
    h.Add(app.drawList.drawCount);
    // Only the entries each command writes, in their order in memory.
    for (int i = 0; i < app.drawList.CommandCount(); i++) {
        const DrawCommand& c = app.drawList.Command(i);
        for (float v : {c.kind, c.x, c.y, c.rotation, c.sizeX, c.sizeY, c.frame, c.alpha}) h.Add(v);
        for (float v : {c.red, c.green, c.blue, c.blend}) h.Add(v);
    }
    return h.value;
}

// A fresh private folder for the state file when none is named; empty when
// none can be made. create_directory refuses a name that exists.
std::string MakeTempFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) return std::string();
    std::random_device random;
    for (int attempt = 0; attempt < 100; attempt++) {
        char name[32];
        snprintf(name, sizeof name, "bw-replay-%08x", static_cast<unsigned>(random()));
        if (std::filesystem::create_directory(base / name, error))
            return (base / name).generic_string();
    }
    return std::string();
}

class Replay {
  public:
    explicit Replay(const Options& o) : options_(o), dice_{o.randomSeed * 2654435761u + 1} {
        std::string state = o.stateFile;
        if (state.empty()) {
            tempFolder_ = MakeTempFolder();
            if (tempFolder_.empty()) Usage("cannot make a temporary folder");
            state = tempFolder_ + "/.vorlekstate";
        }
        platform_ = std::make_unique<PlHeadlessGame>(o.dataDir, state);
        platform_->windowWidth = o.width;
        platform_->windowHeight = o.height;
        if (!o.shots.empty()) OpenWindow();
    }

    ~Replay() {
        app_.reset();
        platform_.reset();
        if (window_) glfwTerminate();
        if (!tempFolder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(tempFolder_, ignored);
        }
    }

    int Run(const std::vector<ScriptEvent>& script) {
        app_ = std::make_unique<c_MyApp>(platform_.get());
        platform_->GameStart();
        platform_->GameRender();
        size_t next = 0;
        int update = 0;
        auto began = std::chrono::steady_clock::now();
        for (; update < options_.updates || (options_.matches && matchesDone_ < options_.matches);
             update++) {
            for (; next < script.size() && script[next].update <= update; next++)
                Apply(script[next]);
            if (options_.randomInput) RandomInput();
            if (options_.autoDifficulty) AutoStart();
            platform_->Advance(update % 3 == 2 ? 16 : 17);  // 50 ms per 3 updates
            platform_->GameUpdate();
            platform_->GameRender();
            CountMatches();
            if (auto shot = options_.shots.find(update); shot != options_.shots.end())
                Screenshot(shot->second);
            if (std::find(options_.dumps.begin(), options_.dumps.end(), update) !=
                options_.dumps.end())
                Dump(update);
        }
        printf("updates %d\nstate %016llx\ndrawlist %016llx\n", update,
               static_cast<unsigned long long>(HashState(*app_)),
               static_cast<unsigned long long>(HashDrawList(*app_)));
        if (options_.matches) {
            // Wall time of the updates and renders alone, for benchmarks.
            double us =
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - began)
                    .count();
            printf("matches %d\npeak-rss-kb %ld\nus-per-update %.2f\n", matchesDone_,
                   PeakResidentKb(), update > 0 ? us / update : 0.0);
        }
        return 0;
    }

  private:
    void OpenWindow() {
        PinGlDrivers();
        if (!glfwInit()) Usage("screenshots need a display (try xvfb-run)");
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
        window_ = glfwCreateWindow(options_.width, options_.height, "Brindlewick replay", nullptr,
                                   nullptr);
        if (!window_) Usage("cannot open a window for screenshots");
        glfwMakeContextCurrent(window_);
        platform_->glContext = true;
    }

    void Apply(const ScriptEvent& e) {
        PlHeadlessGame& p = *platform_;
        const std::string& c = e.command;
        if (c == "move")
            p.MouseInput(kEventMouseMove, -1, e.a, e.b);
        else if (c == "down") {
            p.MouseInput(kEventMouseMove, -1, e.a, e.b);
            p.MouseInput(kEventMouseDown, 0, e.a, e.b);
        } else if (c == "up")
            p.MouseInput(kEventMouseUp, 0, 0, 0);
        else if (c == "key")
            p.KeyInput(kEventKeyDown, static_cast<int>(e.a));
        else if (c == "keyup")
            p.KeyInput(kEventKeyUp, static_cast<int>(e.a));
        else if (c == "tap") {
            p.KeyInput(kEventKeyDown, static_cast<int>(e.a));
            p.KeyInput(kEventKeyUp, static_cast<int>(e.a));
        } else if (c == "size") {
            p.windowWidth = std::clamp(static_cast<int>(e.a), 1, 8192);
            p.windowHeight = std::clamp(static_cast<int>(e.b), 1, 8192);
        } else if (c == "suspend")
            p.GameSuspend();
        else if (c == "resume")
            p.GameResume();
        else
            fprintf(stderr, "replay: unknown script command '%s' ignored\n", c.c_str());
    }

    // Wanders the pointer, pressing and releasing now and then; sometimes aims
    // a held toothpick into the ring so throws happen too.
    void RandomInput() {
        PlHeadlessGame& p = *platform_;
        float w = static_cast<float>(p.windowWidth), h = static_cast<float>(p.windowHeight);
        uint32_t roll = dice_.Next() % 100;
        if (roll < 30) {
            float x = dice_.Unit() * w, y = dice_.Unit() * h;
            if (app_ && app_->match.heldCharge > 0 && roll < 15) {
                x = w * 0.5f + (dice_.Unit() - 0.5f) * 150;
                y = h * 0.5f + (dice_.Unit() - 0.5f) * 150;
            }
            p.MouseInput(kEventMouseMove, -1, x, y);
        } else if (roll < 40) {
            const c_InputDevice& input = *app_->Input();
            p.MouseInput(kEventMouseDown, 0, input.PointerX(), input.PointerY());
        } else if (roll < 48) {
            p.MouseInput(kEventMouseUp, 0, 0, 0);
        } else if (roll == 48 && dice_.Next() % 8 == 0) {
            p.KeyInput(kEventKeyDown, 27);  // an occasional pause
            p.KeyInput(kEventKeyUp, 27);
        }
    }

    // On the title screen, picks the difficulty by keys and starts a match.
    void AutoStart() {
        if (!app_ || app_->mode != kModeTitle || app_->loading.loadStep != 0 ||
            app_->timeUp.timeUpTimer > 0)
            return;
        PlHeadlessGame& p = *platform_;
        app_->title.difficulty = options_.autoDifficulty;
        if (app_->input.controlLatch == 0)
            p.KeyInput(kEventKeyDown, 90);  // Z: action A
        else
            p.KeyInput(kEventKeyUp, 90);
    }

    void CountMatches() {
        bool over = app_->mode == kModeRecord;
        if (over && !wasRecording_) {
            matchesDone_++;
            if (!options_.quiet && options_.matches)
                printf("match %d score %d peak-rss-kb %ld\n", matchesDone_, app_->match.score,
                       PeakResidentKb());
        }
        wasRecording_ = over;
    }

    // One block of readable state: enough to aim a script at the field.
    void Dump(int update) {
        const c_MyApp& a = *app_;
        printf(
            "update %d mode %d loading %d paused %d score %d seconds %d over %d held %d "
            "timeup %d credits %d\n",
            update, a.mode, a.loading.loadStep, a.pause.paused, a.match.score, a.match.secondsLeft,
            a.match.matchOver, a.match.heldCharge, a.timeUp.timeUpTimer, a.credits.menuPanelOpen);
        static const char* kinds[] = {"toothpick", "flying", "spider", "dying"};
        for (const Record& r : a.match.fieldRecords) {
            auto below = [&](int state) { return r.state < static_cast<float>(state); };
            int kind = r.state <= 0           ? -1
                       : below(kFlyingOffset) ? 0
                       : below(kFlyingEnd)    ? 1
                       : below(kDyingSpider)  ? 2
                                              : 3;
            if (kind < 0) continue;
            printf("  %s %d %d\n", kinds[kind], static_cast<int>(r.x * a.screen.screenScaleX),
                   static_cast<int>(r.y * a.screen.screenScaleY));
        }
    }

    void Screenshot(const std::string& path) {
        PlGraphics* g = GraphicsDevice();
        int w = g->Width(), h = g->Height();
        std::vector<int32_t> pixels(static_cast<size_t>(w) * h);
        g->ReadPixels(pixels, 0, 0, w, h, 0, w);
        std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
        for (size_t i = 0; i < pixels.size(); i++) {
            auto p = static_cast<uint32_t>(pixels[i]);
            rgb[i * 3 + 0] = p >> 16 & 0xFF;
            rgb[i * 3 + 1] = p >> 8 & 0xFF;
            rgb[i * 3 + 2] = p & 0xFF;
        }
        if (!stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3))
            fprintf(stderr, "replay: cannot write %s\n", path.c_str());
    }

    Options options_;
    InputDice dice_;
    std::unique_ptr<PlHeadlessGame> platform_;
    std::unique_ptr<c_MyApp> app_;
    GLFWwindow* window_ = nullptr;
    std::string tempFolder_;
    int matchesDone_ = 0;
    bool wasRecording_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    Options options = ParseOptions(argc, argv);
    std::vector<ScriptEvent> script = ReadScript(options.script);
    Replay replay(options);
    return replay.Run(script);
}
