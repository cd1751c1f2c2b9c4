// Exclusive fullscreen on a real Xorg server whose display modes RandR switches: E, Page Up,
// Page Down, W and Escape, as the screen shows them.
#include "sdl_display_modes.h"
#include "x_session.h"

#include <gtest/gtest.h>

namespace e2e
{
namespace
{

class DisplayModesOnXorg : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        x.startServer(Server::XorgDummy);
        x.startWindowManager();
        desktop = x.screenMode();
        modes = sdlDisplayModes(x.displayName());
        ASSERT_GE(modes.size(), 4u) << "the dummy server offers too few display modes";
        x.launchProgram();
    }

    // The screen runs at the mode, and the program's window covers it.
    ::testing::AssertionResult showsMode(size_t index)
    {
        const Rect expected{0, 0, modes[index].w, modes[index].h};
        Rect screen{}, client{};
        const bool shown = waitUntil([&] {
            screen = x.screenMode();
            client = x.clientRect();
            return screen == expected && client == expected && x.isFullscreen();
        });
        if (shown)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "mode " << index << " is " << expected << ", but the screen is " << screen
               << " and the window " << client;
    }

    XSession x;
    Rect desktop{};
    std::vector<ModeSize> modes;
};

TEST_F(DisplayModesOnXorg, PageDownStepsThroughTheModesAndEComesBackToTheChosenOne)
{
    x.pressKey("e");
    ASSERT_TRUE(showsMode(0));
    x.pressKey("Next");
    ASSERT_TRUE(showsMode(1));
    x.pressKey("Next");
    ASSERT_TRUE(showsMode(2));
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));

    x.pressKey("w");
    EXPECT_TRUE(waitUntil([&] { return x.screenMode() == desktop; })) << x.screenMode();
    EXPECT_TRUE(isCentredDefaultWindow(x));

    x.pressKey("e");
    EXPECT_TRUE(showsMode(2));
}

TEST_F(DisplayModesOnXorg, PageUpAtTheFirstModeAndAHeldPageDownMoveOneStepAtMost)
{
    x.pressKey("e");
    ASSERT_TRUE(showsMode(0));
    x.pressKey("Prior");
    EXPECT_TRUE(holdsThroughout([&] {
        return x.screenMode() == Rect{0, 0, modes[0].w, modes[0].h};
    }));

    // Held past the server's repeat delay, the key repeats; only the press counts.
    x.holdKey("Next", 1500ms);
    ASSERT_TRUE(showsMode(1));
    EXPECT_TRUE(holdsThroughout([&] {
        return x.screenMode() == Rect{0, 0, modes[1].w, modes[1].h};
    }));
}

TEST_F(DisplayModesOnXorg, EscapeInExclusiveFullscreenExitsAndTheDesktopModeIsBack)
{
    x.pressKey("e");
    x.pressKey("Next");
    ASSERT_TRUE(showsMode(1));
    x.pressKey("Escape");
    const ProgramRun run = x.waitForExit();
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(waitUntil([&] { return x.screenMode() == desktop; })) << x.screenMode();
}

} // namespace
} // namespace e2e
