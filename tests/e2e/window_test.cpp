// The program in a real window on Xvfb, managed by openbox: what a person sees at start, after
// resizes, and after the keys and the title bar's buttons.
#include "x_session.h"

#include <gtest/gtest.h>

namespace e2e
{
namespace
{

class WindowOnXvfb : public ::testing::Test
{
  protected:
    // The window manager sets the state first and the size after: wait for both.
    bool maximizedToTheScreenWidth()
    {
        const Rect client = x.clientRect(), frame = x.frameExtents();
        return x.isMaximized() && frame.x + client.w + frame.w == x.screenWidth();
    }

    void SetUp() override
    {
        x.startServer(Server::Xvfb);
        x.startWindowManager();
        x.launchProgram();
    }

    XSession x;
};

TEST_F(WindowOnXvfb, StartsAsACentred800By600WindowWithTheCanvasLetterboxed)
{
    EXPECT_TRUE(isCentredDefaultWindow(x));
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));
    // The letterbox of 800 × 600: bars of 75 pixels above and below.
    const Rect client = x.clientRect();
    EXPECT_EQ(x.pixel(client.x + 400, client.y + 74), BARS);
    EXPECT_EQ(x.pixel(client.x + 400, client.y + 75), CANVAS);
    EXPECT_EQ(x.pixel(client.x + 400, client.y + 524), CANVAS);
    EXPECT_EQ(x.pixel(client.x + 400, client.y + 525), BARS);
}

struct Resize {
    int width, height;
    const char *why;
};

std::ostream &operator<<(std::ostream &out, const Resize &r)
{
    return out << r.why;
}

class ResizeByWindowManager : public WindowOnXvfb, public ::testing::WithParamInterface<Resize>
{
};

TEST_P(ResizeByWindowManager, PutsTheBarsWhereTheCanvasRectangleSays)
{
    const Resize &r = GetParam();
    x.wmResize(r.width, r.height);
    ASSERT_TRUE(waitUntil([&] {
        const Rect client = x.clientRect();
        return client.w == r.width && client.h == r.height;
    })) << "window "
        << x.clientRect();
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));
}

const Resize resizes[] = {
    {1000, 450, "pillarbox: bars left and right"},
    {801, 700, "letterbox with an odd bar"},
    {1366, 768, "no bars"},
    {808, 454, "a half-pixel height rounded to even: no bars"},
};

INSTANTIATE_TEST_SUITE_P(Sizes, ResizeByWindowManager, ::testing::ValuesIn(resizes));

TEST_F(WindowOnXvfb, CannotBeMadeSmallerThanTheCanvas)
{
    x.wmResize(100, 100);
    ASSERT_TRUE(waitUntil([&] { return x.clientRect().w != 800; })) << x.clientRect();
    EXPECT_TRUE(holdsThroughout([&] {
        const Rect client = x.clientRect();
        return client.w >= 400 && client.h >= 225;
    })) << x.clientRect();
}

TEST_F(WindowOnXvfb, AShrinksTheWindowToTheCanvasInPlace)
{
    ASSERT_TRUE(showsCanvasWhereItBelongs(x));
    const Rect before = x.clientRect();
    x.pressKey("a");
    EXPECT_TRUE(waitUntil([&] {
        return x.clientRect() == Rect{before.x, before.y, 800, 450};
    })) << x.clientRect();
    const Rect after = x.clientRect();
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));
    EXPECT_EQ(x.pixel(after.x, after.y), CANVAS);
    EXPECT_EQ(x.pixel(after.x + after.w - 1, after.y + after.h - 1), CANVAS);
}

TEST_F(WindowOnXvfb, AWaitsForTheWindowManagersRestoreAfterM)
{
    x.pressKey("m");
    ASSERT_TRUE(waitUntil([&] { return maximizedToTheScreenWidth(); })) << x.clientRect();
    const Rect maximized = x.clientRect();
    x.pressKey("a");
    EXPECT_TRUE(holdsThroughout([&] { return x.clientRect() == maximized && x.isMaximized(); }))
        << x.clientRect();

    x.wmSetMaximized(false);
    ASSERT_TRUE(isCentredDefaultWindow(x));
    x.pressKey("a");
    EXPECT_TRUE(waitUntil([&] { return x.clientRect().h == 450; })) << x.clientRect();
}

TEST_F(WindowOnXvfb, TitleBarMaximizeIsFollowedByMAndW)
{
    x.wmSetMaximized(true);
    ASSERT_TRUE(waitUntil([&] { return maximizedToTheScreenWidth(); })) << x.clientRect();
    const Rect maximized = x.clientRect();
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));
    x.pressKey("m");
    EXPECT_TRUE(holdsThroughout([&] { return x.clientRect() == maximized && x.isMaximized(); }));
    x.pressKey("w");
    EXPECT_TRUE(isCentredDefaultWindow(x));
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));
}

TEST_F(WindowOnXvfb, FCoversTheScreenAndModifiersDoNotMatter)
{
    const Rect screen{0, 0, x.screenWidth(), x.screenHeight()};
    x.pressKey("f");
    ASSERT_TRUE(waitUntil([&] { return x.isFullscreen() && x.clientRect() == screen; }))
        << x.clientRect();
    // A 16:9 screen is all canvas.
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));
    EXPECT_EQ(x.pixel(0, 0), CANVAS);
    EXPECT_EQ(x.pixel(screen.w - 1, screen.h - 1), CANVAS);

    x.pressKey("w", {"Control_L"});
    EXPECT_TRUE(isCentredDefaultWindow(x));
    x.pressKey("f", {"Shift_L"});
    EXPECT_TRUE(waitUntil([&] { return x.isFullscreen() && x.clientRect() == screen; }))
        << x.clientRect();
}

TEST_F(WindowOnXvfb, EscapeEndsTheProgramWithStatus0)
{
    ASSERT_TRUE(showsCanvasWhereItBelongs(x));
    x.pressKey("Escape");
    const ProgramRun run = x.waitForExit();
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.standardOutput, "");
}

TEST_F(WindowOnXvfb, ClosingTheWindowEndsTheProgramWithStatus0)
{
    ASSERT_TRUE(showsCanvasWhereItBelongs(x));
    x.wmClose();
    const ProgramRun run = x.waitForExit();
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.standardOutput, "");
}

TEST(WithoutADisplay, TheProgramSaysSoAndExitsWithStatus1)
{
    XSession x;
    x.startProgram();
    const ProgramRun run = x.waitForExit();
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.standardError, "window-modes-demo: no display to open a window on\n");
    EXPECT_EQ(run.standardOutput, "");
}

} // namespace
} // namespace e2e
