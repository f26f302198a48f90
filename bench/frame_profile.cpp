// Per-frame figures of the real game on the headless platform with the
// counting GL backend: CPU time of updates and draw-list replays, heap
// allocations per frame and draw calls per frame, on the title screen, in
// busy matches with kills, with the pause panel and with the credits open.
// Prints "name value" lines; scripts/perf-report turns them into the report.
//
//   frame_profile [--data DIR] [--matches N]
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "../tools/replay/input_dice.h"
#include "core/random.h"
#include "full_draw_list.h"
#include "game/screens/my_app.h"
#include "graphics/context.h"
#include "graphics/renderer.h"
#include "input/input.h"
#include "platform/headless/headless_game.h"
#include "support/allocation_counter.h"

namespace {

constexpr int kKeyEscape = 27;
constexpr int kKeyZ = 90;

// CPU time of this thread in microseconds.
double CpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// Collected samples of one figure; reserved up front so sampling never allocates.
struct Samples {
    std::vector<double> values;
    explicit Samples(size_t capacity = 1 << 18) { values.reserve(capacity); }
    void Add(double v) {
        if (values.size() < values.capacity()) values.push_back(v);
    }
    double Quantile(double q) {
        if (values.empty()) return 0;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(q * (sorted.size() - 1))];
    }
    double Max() { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

// Allocations and frames seen by one counted stretch.
struct AllocCount {
    long allocations = 0;
    long frames = 0;
};

class Profile {
  public:
    explicit Profile(const std::string& dataDir) {
        char folder[] = "/tmp/bw-profile-XXXXXX";
        if (mkdtemp(folder)) tempFolder_ = folder;
        platform_ = std::make_unique<PlHeadlessGame>(dataDir, tempFolder_ + "/.vorlekstate");
        SeedRandom(1234);
        app_ = std::make_unique<c_MyApp>(platform_.get());
        platform_->GameStart();
        platform_->GameRender();
    }

    ~Profile() {
        app_.reset();
        platform_.reset();
        unlink((tempFolder_ + "/.vorlekstate").c_str());
        unlink((tempFolder_ + "/.vorlekstate.tmp").c_str());
        rmdir(tempFolder_.c_str());
    }

    c_MyApp& App() { return *app_; }
    PlHeadlessGame& Platform() { return *platform_; }

    // One update and one render at 60 updates a second; times both when asked.
    void Step(Samples* update = nullptr, Samples* render = nullptr) {
        platform_->Advance(ticks_++ % 3 == 2 ? 16 : 17);
        double t0 = CpuMicros();
        platform_->GameUpdate();
        double t1 = CpuMicros();
        platform_->GameRender();
        double t2 = CpuMicros();
        if (update) update->Add(t1 - t0);
        if (render) render->Add(t2 - t1);
    }

    int DrawCalls() { return GraphicsDevice()->LastFrame().drawCalls; }

    // Steps n frames and counts their heap allocations.
    AllocCount CountedSteps(int n, bool randomInput) {
        long before = AllocationsSoFar();
        for (int i = 0; i < n; i++) {
            if (randomInput) RandomInput();
            Step();
        }
        return {AllocationsSoFar() - before, n};
    }

    void Load() {
        for (int i = 0; i < 400 && (app_->loading.loadStep != 0 || i == 0); i++) Step();
        for (int i = 0; i < 60; i++) Step();  // the title's intro
    }

    void Tap(float x, float y) {
        platform_->MouseInput(kEventMouseMove, -1, x, y);
        platform_->MouseInput(kEventMouseDown, 0, x, y);
        Step();
        platform_->MouseInput(kEventMouseUp, 0, x, y);
        Step();
    }

    void Key(int code) {
        platform_->KeyInput(kEventKeyDown, code);
        Step();
        platform_->KeyInput(kEventKeyUp, code);
        Step();
    }

    // From the title, starts a match on the given difficulty.
    void StartMatch(int difficulty) {
        for (int i = 0; i < 600 && app_->mode != kModeMatch; i++) {
            if (app_->mode == kModeTitle && app_->loading.loadStep == 0 &&
                app_->timeUp.timeUpTimer <= 0) {
                app_->title.difficulty = difficulty;
                if (app_->input.controlLatch == 0)
                    platform_->KeyInput(kEventKeyDown, kKeyZ);
                else
                    platform_->KeyInput(kEventKeyUp, kKeyZ);
            }
            Step();
        }
        platform_->KeyInput(kEventKeyUp, kKeyZ);
    }

    // Wanders the pointer and throws, without ever pausing.
    void RandomInput() {
        float w = static_cast<float>(platform_->windowWidth);
        float h = static_cast<float>(platform_->windowHeight);
        uint32_t roll = dice_.Next() % 100;
        if (roll < 30) {
            float x = dice_.Unit() * w, y = dice_.Unit() * h;
            if (app_->match.heldCharge > 0 && roll < 15) {
                x = w * 0.5f + (dice_.Unit() - 0.5f) * 150;
                y = h * 0.5f + (dice_.Unit() - 0.5f) * 150;
            }
            if (y < 48) y = 48;  // keep off the pause button
            platform_->MouseInput(kEventMouseMove, -1, x, y);
        } else if (roll < 40) {
            const c_InputDevice& input = *app_->Input();
            platform_->MouseInput(kEventMouseDown, 0, input.PointerX(), input.PointerY());
        } else if (roll < 48) {
            platform_->MouseInput(kEventMouseUp, 0, 0, 0);
        }
    }

    int LiveRecords() const {
        int n = 0;
        for (const Record& r : app_->match.fieldRecords) n += r.state > 0;
        return n;
    }

  private:
    std::unique_ptr<PlHeadlessGame> platform_;
    std::unique_ptr<c_MyApp> app_;
    std::string tempFolder_;
    InputDice dice_;
    int ticks_ = 0;
};

void Put(const char* name, double value) {
    printf("%s %.3f\n", name, value);
}

void PutAllocs(const char* name, const AllocCount& c) {
    printf("%s %ld %ld\n", name, c.allocations, c.frames);
}

// The heaviest update the field allows: one toothpick over 190 spiders and
// ten more toothpicks, so every spider dies at once with score and debris.
void FillWorstField(c_MyApp& app) {
    app.match.fieldRecords.fill(Record{});
    app.match.effectRecords.fill(Record{});
    for (int k = 0; k < 11; k++) {
        Record& r = app.match.fieldRecords[k];
        r.Set(kFlyingOffset + 1);
        r.x = 300, r.y = 300.0f + k, r.velY = 6, r.angle = 180, r.extra = 1;
    }
    for (int k = 11; k < kRecords; k++) {
        Record& r = app.match.fieldRecords[k];
        r.Set(kSpider);
        r.x = 300, r.y = 306, r.turn = 1;
    }
}

std::string ExeFolder() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = '\0';
    std::string s(path);
    return s.substr(0, s.find_last_of('/'));
}

int Run(const std::string& dataDir, int matches) {
    Profile p(dataDir);
    c_MyApp& app = p.App();
    p.Load();
    if (app.mode != kModeTitle || app.loading.loadStep != 0) {
        fprintf(stderr, "frame_profile: the game did not load from %s\n", dataDir.c_str());
        return 1;
    }

    // Title screen.
    p.Step();
    Put("drawcalls.title", p.DrawCalls());
    Put("commands.title", app.drawList.CommandCount());
    PutAllocs("allocs.title", p.CountedSteps(600, false));
    Samples titleUpdate, titleRender;
    for (int i = 0; i < 600; i++) p.Step(&titleUpdate, &titleRender);
    Put("title.update_us", titleUpdate.Quantile(0.5));
    Put("title.render_us", titleRender.Quantile(0.5));

    // Credits panel open over the title.
    float w = app.screen.screenWidth * app.screen.screenScaleX;
    float h = app.screen.screenHeight * app.screen.screenScaleY;
    p.Tap(w - 70 * app.screen.screenScaleX, h - 40 * app.screen.screenScaleY);
    for (int i = 0; i < 40; i++) p.Step();
    Put("credits.open", app.credits.menuPanelOpen);
    Put("drawcalls.credits", p.DrawCalls());
    Put("commands.credits", app.drawList.CommandCount());
    PutAllocs("allocs.credits", p.CountedSteps(600, false));
    p.Key(kKeyEscape);  // closes the panel
    for (int i = 0; i < 60; i++) p.Step();

    // Matches with random throws on the hardest difficulty.
    Samples update, render, drawCalls, busyDrawCalls;
    AllocCount matchAllocs;
    int kills = 0, peakRecords = 0;
    double busyFlushKind = 0, busyFlushState = 0, busyFlushCapacity = 0;
    for (int m = 0; m < matches; m++) {
        p.StartMatch(3);
        for (int i = 0; i < 60; i++) p.Step();  // first-use buffers of a match
        int lastScore = app.match.score;
        while (app.mode == kModeMatch) {
            p.RandomInput();
            long before = AllocationsSoFar();
            p.Step(&update, &render);
            matchAllocs.allocations += AllocationsSoFar() - before;
            matchAllocs.frames++;
            drawCalls.Add(p.DrawCalls());
            int live = p.LiveRecords();
            peakRecords = std::max(peakRecords, live);
            if (live >= 20) {
                busyDrawCalls.Add(p.DrawCalls());
                const GraphicsStats& f = GraphicsDevice()->LastFrame();
                busyFlushKind += f.flushesByKind;
                busyFlushState += f.flushesByState;
                busyFlushCapacity += f.flushesByCapacity;
            }
            kills += app.match.score > lastScore;
            lastScore = app.match.score;
        }
        for (int i = 0; i < 400 && app.mode != kModeTitle; i++) p.Step();
    }
    Put("update.match.median_us", update.Quantile(0.5));
    Put("update.match.p99_us", update.Quantile(0.99));
    Put("update.match.max_us", update.Max());
    Put("render.match.median_us", render.Quantile(0.5));
    Put("render.match.p99_us", render.Quantile(0.99));
    Put("drawcalls.match.median", drawCalls.Quantile(0.5));
    Put("drawcalls.match.max", drawCalls.Max());
    Put("drawcalls.busy.median", busyDrawCalls.Quantile(0.5));
    double busyFrames = std::max<double>(1, busyDrawCalls.values.size());
    Put("busy.flushes_by_kind", busyFlushKind / busyFrames);
    Put("busy.flushes_by_state", busyFlushState / busyFrames);
    Put("busy.flushes_by_capacity", busyFlushCapacity / busyFrames);
    Put("match.frames", static_cast<double>(update.values.size()));
    Put("match.scoring_updates", kills);
    Put("match.peak_live_records", peakRecords);
    PutAllocs("allocs.match", matchAllocs);

    // The pause panel in a running match.
    p.StartMatch(3);
    for (int i = 0; i < 60; i++) p.Step();
    p.Key(kKeyEscape);
    for (int i = 0; i < 30; i++) p.Step();
    Put("pause.open", app.pause.paused);
    Put("drawcalls.pause", p.DrawCalls());
    PutAllocs("allocs.pause", p.CountedSteps(600, false));
    p.Key(kKeyEscape);
    for (int i = 0; i < 60; i++) p.Step();

    // Worst-case update: the whole field dies in one update (timed alone).
    Samples worst;
    for (int i = 0; i < 2000 && app.mode == kModeMatch; i++) {
        FillWorstField(app);
        double t0 = CpuMicros();
        app.UpdateMatch();
        worst.Add(CpuMicros() - t0);
    }
    Put("update.worst.median_us", worst.Quantile(0.5));
    Put("update.worst.p99_us", worst.Quantile(0.99));
    Put("update.worst.samples", static_cast<double>(worst.values.size()));

    // A full draw list (2499 commands) replayed through the renderer.
    Samples replay;
    FillFullDrawList(app);
    for (int i = 0; i < 2000; i++) {
        double t0 = CpuMicros();
        p.Platform().GameRender();
        replay.Add(CpuMicros() - t0);
    }
    Put("render.full.median_us", replay.Quantile(0.5));
    Put("drawcalls.full", p.DrawCalls());

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    Put("peak_rss_kb", usage.ru_maxrss);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dataDir = ExeFolder() + "/../data";
    int matches = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--data"))
            dataDir = argv[i + 1];
        else if (!strcmp(argv[i], "--matches"))
            matches = std::max(1, atoi(argv[i + 1]));
    }
    return Run(dataDir, matches);
}
