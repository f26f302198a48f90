#include "pacing/pacing_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "platform/delegate.h"
#include "platform/frame_schedule.h"
#include "platform/glfw/glfw_game.h"

namespace {

// What the game does with the rate: 60 from its start and when it resumes,
// 5 while suspended. Each render draws the picture of the updates so far.
struct CountingGame : PlGameDelegate {
    explicit CountingGame(PlGame& platform) : platform(platform) {}
    void GameStart() override { platform.SetTickRate(60); }
    void GameSuspend() override { platform.SetTickRate(5); }
    void GameResume() override { platform.SetTickRate(60); }
    void GameUpdate() override {
        updates++;
        times.push_back(clock());
    }
    void GameRender() override { onRender(updates); }

    PlGame& platform;
    long updates = 0;
    std::function<void(long)> onRender;
    std::function<double()> clock;
    std::vector<double> times;  // of each update
};

// Updates per second of game time while shown: between the first and the
// last update before the hide, and again after the show.
double UpdatesPerSecond(const std::vector<double>& times, double hide) {
    auto split = std::lower_bound(times.begin(), times.end(), hide);
    double updates = 0, seconds = 0;
    if (split - times.begin() >= 2) {
        updates += split - times.begin() - 1;
        seconds += *(split - 1) - times.front();
    }
    if (times.end() - split >= 2) {
        updates += times.end() - split - 1;
        seconds += times.back() - *split;
    }
    return seconds > 0 ? updates / seconds : 0;
}

// The display: which picture (the update count it shows) reached each
// refresh, and which refreshes fell while the game was hidden.
class Display {
  public:
    Display(double hz, double seconds) : period_(1.0 / hz) {
        int count = static_cast<int>(std::ceil(seconds * hz)) + 2;
        shown_.assign(count, -1);
        hidden_.assign(count, false);
    }
    double Period() const { return period_; }
    double RefreshTime(long index) const { return index * period_; }
    // The first refresh strictly after `t`.
    long NextRefresh(double t) const { return static_cast<long>(std::floor(t / period_)) + 1; }
    void Show(long index, long picture) {
        if (index >= 0 && index < static_cast<long>(shown_.size())) shown_[index] = picture;
    }
    void Hide(long from, long to) {
        for (long i = std::max(0L, from); i < std::min(to, static_cast<long>(hidden_.size())); i++)
            hidden_[i] = true;
    }
    // Refreshes before `end` (an index).
    PacingResult Count(long end) const;

  private:
    double period_;
    std::vector<long> shown_;
    std::vector<bool> hidden_;
};

PacingResult Display::Count(long end) const {
    PacingResult r;
    r.shortestHoldMs = std::numeric_limits<double>::infinity();
    long current = -1;  // picture on screen
    bool counting = false;
    int run = 0;  // refreshes the current picture has been shown, while counting
    for (long i = 0; i < std::min(end, static_cast<long>(shown_.size())); i++) {
        if (hidden_[i]) {
            // A hold broken by hiding is no hold, and a picture drawn before
            // or while hidden is no new picture once shown again.
            current = std::max(shown_[i], current);
            counting = false;
            run = 0;
            continue;
        }
        long next = shown_[i] >= 0 ? std::max(shown_[i], current) : current;
        long fresh = next - current;
        current = next;
        if (!counting) {
            // Counting starts at the first new picture that shows an update.
            if (fresh > 0 && current > 0) counting = true;
            run = 1;
            continue;
        }
        r.refreshes++;
        if (fresh == 1) r.exactlyOne++;
        if (fresh == 0) r.repeats++;
        if (fresh >= 2) r.jumps++;
        if (fresh == 0) {
            run++;
            continue;
        }
        if (run > 0) {
            double ms = run * period_ * 1000;
            r.longestHoldMs = std::max(r.longestHoldMs, ms);
            r.shortestHoldMs = std::min(r.shortestHoldMs, ms);
        }
        run = 1;
    }
    if (!std::isfinite(r.shortestHoldMs)) r.shortestHoldMs = 0;
    return r;
}

class Jitter {
  public:
    Jitter(double ms, unsigned seed) : seconds_(ms / 1000), random_(seed) {}
    double Next() {
        return seconds_ > 0 ? std::uniform_real_distribution<>(0, seconds_)(random_) : 0;
    }

  private:
    double seconds_;
    std::mt19937 random_;
};

// When the game starts, when it is hidden halfway through and when it is
// shown again: a second later, at the same phase of a refresh.
struct Timeline {
    double start, hide, show, end;
    Timeline(const PacingCase& c, double period) {
        double phase = std::clamp(c.startPhase, 0.0, 1.0) * period;
        start = 10 * period + phase;
        hide = start + c.seconds / 2 + 0.37 * period;
        show = std::floor((hide + 1.0) / period) * period + phase;
        end = start + c.seconds + (show - hide);
    }
};

// The browser's page: one pass of the schedule per animation frame, a frame
// coming `jitter` after its refresh; hiding suspends at once, showing again
// resumes at the next frame (or, with no frame tolerance, at once).
class BrowserPlatform : public PlGame {
  public:
    explicit BrowserPlatform(double tolerance) { schedule_.SetFrameTolerance(tolerance); }
    void SetTickRate(int rate) override {
        tickRate_ = rate;
        schedule_.SetRate(rate, now);
    }
    void Frame() {
        schedule_.Step(*this, pageHidden, true, true, [this] { return now; });
    }
    void Visibility(bool hidden, bool resumeOnFrame) {
        pageHidden = hidden;
        if (hidden || !resumeOnFrame) Frame();
    }
    double now = 0;
    bool pageHidden = false;

  private:
    FrameSchedule schedule_;
};

PacingResult RunBrowser(const PacingCase& c) {
    Display display(c.refreshHz, c.seconds + 30);
    Timeline when(c, display.Period());
    Jitter jitter(c.jitterMs, c.seed);
    BrowserPlatform page(c.frameTolerance);
    CountingGame game(page);
    game.clock = [&] { return page.now; };
    page.SetDelegate(&game);
    long frame = 0;
    game.onRender = [&](long picture) { display.Show(frame + 1, picture); };

    page.now = when.start;
    page.GameStart();
    page.GameRender();
    bool hidden = false, shownAgain = false;
    for (frame = display.NextRefresh(when.start); display.RefreshTime(frame) < when.end; frame++) {
        double at = display.RefreshTime(frame) + jitter.Next();
        if (!hidden && !shownAgain && at > when.hide) {
            page.now = when.hide;
            page.Visibility(true, c.frameTolerance > 0);
            hidden = true;
        }
        if (hidden && at > when.show) {
            page.now = when.show;
            page.Visibility(false, c.frameTolerance > 0);
            hidden = false;
            shownAgain = true;
        }
        if (hidden) continue;  // no animation frames for a hidden page
        page.now = at;
        page.Frame();
    }
    display.Hide(display.NextRefresh(when.hide), display.NextRefresh(when.show) + 1);
    PacingResult r = display.Count(display.NextRefresh(when.end));
    r.updatesPerSecond = UpdatesPerSecond(game.times, when.hide);
    return r;
}

// The desktop: the GLFW platform's own loop pass and sleep rule, with the
// clock, the sleeps, the window and the swap modelled; the case's tolerance
// replaces the platform's own, so the loop as it was can be modelled too.
class DesktopModel : public PlGlfwGame {
  public:
    DesktopModel(const PacingCase& c, Display& display, const Timeline& when)
        : case_(c), display_(display), when_(when), jitter_(c.jitterMs, c.seed), game_(*this) {
        SetDelegate(&game_);
        schedule_.SetFrameTolerance(c.frameTolerance);
        game_.clock = [this] { return now_; };
        game_.onRender = [this](long picture) { Present(picture); };
    }
    void RunModel() {
        now_ = when_.start;
        GameStart();
        GameRender();
        while (now_ < when_.end) LoopPass();
    }
    const std::vector<double>& UpdateTimes() const { return game_.times; }

  protected:
    double Now() override { return now_; }
    void PollEvents() override {}
    void WaitEvents() override {
        // Only the window shown again wakes a suspended game here.
        if (now_ < when_.show) {
            now_ = when_.show;
        } else {
            now_ += display_.Period();
        }
    }
    void SleepSeconds(double seconds) override {
        double end = now_ + SleepMilliseconds(seconds) / 1000.0;
        if (case_.sleepTickMs > 0) {
            double tick = case_.sleepTickMs / 1000;
            end = std::ceil(end / tick - 1e-9) * tick;
        }
        now_ = end + jitter_.Next();
    }
    bool WindowOpen() override { return true; }
    bool WindowIconified() override { return now_ >= when_.hide && now_ < when_.show; }
    bool WindowActive() override { return !WindowIconified(); }
    void InstallCallbacks() override {}

  private:
    void Present(long picture) {
        long refresh = display_.NextRefresh(now_);
        display_.Show(refresh, picture);
        // With vsync the swap returns once the picture is on screen.
        if (case_.loop == PacingLoop::VsyncOn)
            now_ = display_.RefreshTime(refresh) + jitter_.Next();
    }

    const PacingCase& case_;
    Display& display_;
    const Timeline& when_;
    Jitter jitter_;
    CountingGame game_;
    double now_ = 0;
};

PacingResult RunDesktop(const PacingCase& c) {
    Display display(c.refreshHz, c.seconds + 30);
    Timeline when(c, display.Period());
    DesktopModel loop(c, display, when);
    loop.RunModel();
    display.Hide(display.NextRefresh(when.hide), display.NextRefresh(when.show) + 1);
    PacingResult r = display.Count(display.NextRefresh(when.end));
    r.updatesPerSecond = UpdatesPerSecond(loop.UpdateTimes(), when.hide);
    return r;
}

}  // namespace

PacingResult RunPacing(const PacingCase& c) {
    return c.loop == PacingLoop::Browser ? RunBrowser(c) : RunDesktop(c);
}

PacingSweep SweepPhases(PacingCase c, int phases) {
    PacingSweep s;
    s.phases = phases;
    s.shortestHoldMs = std::numeric_limits<double>::infinity();
    s.minUpdatesPerSecond = std::numeric_limits<double>::infinity();
    for (int i = 0; i < phases; i++) {
        c.startPhase = (i + 0.5) / phases;
        c.seed = 1 + i;
        PacingResult r = RunPacing(c);
        s.meanOneShare += r.OneShare() / phases;
        s.worstOneShare = std::min(s.worstOneShare, r.OneShare());
        if (r.Hitches() > r.refreshes / 20) s.startsOver5Percent++;
        s.mostHitches = std::max(s.mostHitches, r.Hitches());
        s.longestHoldMs = std::max(s.longestHoldMs, r.longestHoldMs);
        s.shortestHoldMs = std::min(s.shortestHoldMs, r.shortestHoldMs);
        s.minUpdatesPerSecond = std::min(s.minUpdatesPerSecond, r.updatesPerSecond);
        s.maxUpdatesPerSecond = std::max(s.maxUpdatesPerSecond, r.updatesPerSecond);
    }
    return s;
}
