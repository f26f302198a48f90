// The screens build their text in fixed buffers: drawing the title, the
// time-up overlay and the credits panel never touches the heap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "frontend_helpers.h"

namespace {
bool counting = false;
int allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (counting) allocations++;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

TEST(NoAllocation, TitleTimeUpAndCreditsDrawWithoutTheHeap) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    app.highscores[10] = 123456;
    app.score = 999999;
    app.timeUpTimer = 60;  // the overlay with its "New Highscore" notice
    app.menuPanelOpen = 1;
    app.menuPanelSlide = 30;
    allocations = 0;
    counting = true;
    for (int i = 0; i < 100; i++) {
        app.DrawTitleScreen();
        app.DrawTimeUp();
        app.DrawCreditsPanel();
        app.pointerLatch = 1;  // keep the panel open
    }
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(app.drawCount, 0);
}
