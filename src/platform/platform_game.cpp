// The platform game's base: event wrappers with their guards, local time.
#include "platform/platform_game.h"

#include <ctime>

#include "core/errors.h"
#include "os/os.h"
#include "platform/delegate.h"

PlGame::PlGame() {
    RegisterLiveObject(this);
}

PlGame::~PlGame() {
    UnregisterLiveObject(this);
}

void PlGame::LocalDateTime(std::span<int> out) {
    if (out.empty()) return;
    tm local{};
    if (!os::LocalTime(time(nullptr), &local)) return;
    const int values[] = {local.tm_year + 1900,
                          local.tm_mon + 1,
                          local.tm_mday,
                          local.tm_hour,
                          local.tm_min,
                          local.tm_sec,
                          0};
    for (size_t i = 0; i < out.size() && i < 7; i++) out[i] = values[i];
}

void PlGame::ReportUncaught() {
    ReportUncaughtThrowable();
}

template <typename F>
void PlGame::Guarded(F&& call) {
    if (delegate_) {
        try {
            call(*delegate_);
        } catch (...) {
            ReportUncaught();
        }
    }
    CollectGarbage();
}

void PlGame::GameStart() {
    if (started_) return;
    started_ = true;
    Guarded([](PlGameDelegate& d) { d.GameStart(); });
}

void PlGame::GameSuspend() {
    if (!started_ || suspended_) return;
    suspended_ = true;
    Guarded([](PlGameDelegate& d) { d.GameSuspend(); });
}

void PlGame::GameResume() {
    if (!started_ || !suspended_) return;
    suspended_ = false;
    Guarded([](PlGameDelegate& d) { d.GameResume(); });
}

void PlGame::GameUpdate() {
    if (!started_ || suspended_) return;
    Guarded([](PlGameDelegate& d) { d.GameUpdate(); });
}

void PlGame::GameRender() {
    if (!started_) return;
    Guarded([](PlGameDelegate& d) { d.GameRender(); });
}

void PlGame::KeyInput(int event, int data) {
    if (!started_) return;
    Guarded([=](PlGameDelegate& d) { d.KeyInput(event, data); });
}

void PlGame::MouseInput(int event, int data, float x, float y) {
    if (!started_) return;
    Guarded([=](PlGameDelegate& d) { d.MouseInput(event, data, x, y); });
}

void PlGame::TouchInput(int event, int data, float x, float y) {
    if (!started_) return;
    Guarded([=](PlGameDelegate& d) { d.TouchInput(event, data, x, y); });
}

void PlGame::MotionInput(int event, int data, float x, float y, float z) {
    if (!started_) return;
    Guarded([=](PlGameDelegate& d) { d.MotionInput(event, data, x, y, z); });
}

void PlGame::GraphicsLost() {
    if (!started_) return;
    Guarded([](PlGameDelegate& d) { d.GraphicsLost(); });
}
