// Once loaded, an update and a render allocate nothing: every global
// operator new of this binary is counted.
#include <gtest/gtest.h>

#include "support/allocation_counter.h"
#include "support/game_harness.h"

namespace {

TEST(NoAllocationPerFrame, CounterSeesAllocations) {
    // Through a volatile pointer, so the optimiser cannot drop the pair.
    EXPECT_GE(CountAllocations([] {
                  int* volatile p = new int(3);
                  delete p;
              }),
              1);
}

TEST(NoAllocationPerFrame, TitleModeUpdateAndRender) {
    GameHarness h;
    h.FinishLoading();
    h.Step(40);  // the title's intro and any first-use buffers
    ASSERT_EQ(h.App().mode, kModeTitle);
    ASSERT_EQ(h.App().loading.loadStep, 0);
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
                  app.loading.Draw(app.frame);
                  h.Render();
              }),
              0);
}

}  // namespace
