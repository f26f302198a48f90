// Once loaded, an update and a render allocate nothing: every global
// operator new of this binary is counted while a window of interest is open.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "support/game_harness.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};

void* Allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) allocations++;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    if (counting.load(std::memory_order_relaxed)) allocations++;
    auto a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& t) noexcept {
    return operator new(size, t);
}
void* operator new(std::size_t size, std::align_val_t a) {
    return AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a) {
    return AllocateAligned(size, a);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

namespace {

// Heap allocations made by `work`.
template <typename F>
int CountAllocations(F&& work) {
    allocations = 0;
    counting = true;
    work();
    counting = false;
    return allocations.load();
}

TEST(NoAllocationPerFrame, CounterSeesAllocations) {
    EXPECT_GE(CountAllocations([] { delete new int(3); }), 1);
}

TEST(NoAllocationPerFrame, TitleModeUpdateAndRender) {
    GameHarness h;
    h.FinishLoading();
    h.Step(40);  // the title's intro and any first-use buffers
    ASSERT_EQ(h.App().mode, kModeTitle);
    ASSERT_EQ(h.App().loadStep, 0);
    ASSERT_GT(h.CommandCount(), 20);  // the title really draws
    for (int frame = 0; frame < 10; frame++) {
        EXPECT_EQ(CountAllocations([&] {
                      h.Update();
                      h.Render();
                  }),
                  0)
            << "frame " << frame;
    }
}

TEST(NoAllocationPerFrame, DebugLineAndPointer) {
    GameHarness h;
    h.FinishLoading();
    h.KeyDown(121);  // F10
    h.Step(40);
    h.KeyUp(121);
    ASSERT_EQ(Globals().debugOverlay, 1);
    h.Press(100, 100);
    h.Step();
    EXPECT_EQ(CountAllocations([&] {
                  h.MoveTo(120, 110);
                  h.Update();
                  h.Render();
              }),
              0);
}

TEST(NoAllocationPerFrame, LoadingScreenDrawAndReplay) {
    GameHarness h;
    c_MyApp& app = h.App();
    h.Step();
    EXPECT_EQ(CountAllocations([&] {
                  app.DrawLoadingScreen();
                  h.Render();
              }),
              0);
}

}  // namespace
