// Tab on a real X server: the pointer, moved as a mouse moves it, stops at the canvas's edges
// and moves freely after the second Tab. Without a window manager the program's window stands
// exactly where the program placed it, so the canvas's place on the screen is known.
#include "x_session.h"

#include <gtest/gtest.h>

namespace e2e
{
namespace
{

class ConfinementOnXvfb : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        x.startServer(Server::Xvfb);
        x.launchProgram();
        ASSERT_TRUE(showsCanvasWhereItBelongs(x));
    }

    // The canvas on the screen.
    Rect canvas()
    {
        const Rect client = x.clientRect(), inside = expectedCanvas(client.w, client.h);
        return Rect{client.x + inside.x, client.y + inside.y, inside.w, inside.h};
    }

    // Pushes the pointer far in one direction in mouse-sized steps, and says where it stopped.
    void push(int dx, int dy, int &px, int &py)
    {
        for (int step = 0; step < 20; ++step)
            x.moveMouseBy(dx, dy);
        int lastX = -1, lastY = -1;
        waitUntil([&] {
            x.pointer(px, py);
            const bool settled = px == lastX && py == lastY;
            lastX = px;
            lastY = py;
            return settled;
        });
    }

    XSession x;
};

TEST_F(ConfinementOnXvfb, TabHoldsThePointerInTheCanvasUntilTabAgain)
{
    const Rect c = canvas();
    x.warpMouseTo(c.x + c.w / 2, c.y + c.h / 2);
    x.pressKey("Tab");
    // The program grabs the pointer once it has set the hold.
    ASSERT_TRUE(waitUntil([&] { return x.pointerGrabbedElsewhere(); }));
    int px = 0, py = 0;
    push(0, -100, px, py);
    EXPECT_EQ(py, c.y);
    push(-100, 0, px, py);
    EXPECT_EQ(px, c.x);
    push(100, 0, px, py);
    EXPECT_EQ(px, c.x + c.w - 1);
    push(0, 100, px, py);
    EXPECT_EQ(py, c.y + c.h - 1);

    x.pressKey("Tab");
    ASSERT_TRUE(waitUntil([&] { return !x.pointerGrabbedElsewhere(); }));
    push(0, 100, px, py);
    EXPECT_GT(py, c.y + c.h - 1) << "the pointer is still held";
}

// A shrinks the window to the canvas: the hold follows to the new, bar-less canvas.
TEST_F(ConfinementOnXvfb, TheHoldFollowsTheWindowsNewSize)
{
    const Rect c = canvas();
    x.warpMouseTo(c.x + c.w / 2, c.y + c.h / 2);
    x.pressKey("Tab");
    ASSERT_TRUE(waitUntil([&] { return x.pointerGrabbedElsewhere(); }));
    x.pressKey("a");
    const Rect window = x.clientRect();
    ASSERT_TRUE(waitUntil([&] { return x.clientRect().h == 450; })) << x.clientRect();
    ASSERT_TRUE(showsCanvasWhereItBelongs(x));
    int px = 0, py = 0;
    push(0, -100, px, py);
    EXPECT_EQ(py, window.y) << "the hold did not move to the new canvas";
    push(0, 100, px, py);
    EXPECT_EQ(py, window.y + 449);
}

} // namespace
} // namespace e2e
