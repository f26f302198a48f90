// The screens build their text in fixed buffers: drawing the title, the
// time-up overlay and the credits panel never touches the heap.
#include <gtest/gtest.h>

#include "frontend_helpers.h"
#include "support/allocation_counter.h"

namespace {

TEST(NoAllocation, TitleTimeUpAndCreditsDrawWithoutTheHeap) {
    GameHarness h;
    SettleTitle(h);
    c_MyApp& app = h.App();
    app.saved.Best(1)[0] = 123456;
    app.match.score = 999999;
    app.timeUp.timeUpTimer = 60;  // the overlay with its "New Highscore" notice
    app.credits.menuPanelOpen = 1;
    app.credits.menuPanelSlide = 30;
    long allocations = CountAllocations([&] {
        for (int i = 0; i < 100; i++) {
            app.RunModeMachine();        // the title, the overlay and the panel
            app.input.pointerLatch = 1;  // keep the panel open
        }
    });
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(app.drawList.drawCount, 0);
}

}  // namespace
