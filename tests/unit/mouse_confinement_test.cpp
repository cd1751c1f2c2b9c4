// Mouse confinement: Tab holds the pointer in the canvas, and the hold follows the window's size.
#include "app_state.h"
#include "sdl_stand_in.h"
#include "started_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const SDL_Event TAB = standIn::keyDown(SDL_SCANCODE_TAB);

class MouseConfinement : public StartedProgram
{
  protected:
    void SetUp() override
    {
        StartedProgram::SetUp();
        deliver(standIn::sizeChanged(800, 600));
        standIn::clearCalls();
    }
};

TEST_F(MouseConfinement, TabTwiceConfinesToTheCanvasThenFrees)
{
    deliver(TAB);
    EXPECT_TRUE(appState.mouseConfined);
    deliver(TAB);
    EXPECT_FALSE(appState.mouseConfined);
    EXPECT_THAT(standIn::calls(),
                ElementsAre("SDL_SetWindowMouseRect(window, {0, 75, 800, 450})",
                            "SDL_SetWindowGrab(window, 1)", "SDL_SetWindowMouseRect(window, NULL)",
                            "SDL_SetWindowGrab(window, 0)"));
}

TEST_F(MouseConfinement, WhileConfinedTheRectangleFollowsASizeChange)
{
    deliver(TAB);
    standIn::clearCalls();
    deliver(standIn::sizeChanged(2560, 1080));
    EXPECT_THAT(standIn::calls(),
                ElementsAre("SDL_SetWindowMouseRect(window, {320, 0, 1920, 1080})"));
}

TEST_F(MouseConfinement, WhileFreeASizeChangeCallsNothing)
{
    deliver(TAB);
    deliver(TAB);
    standIn::clearCalls();
    deliver(standIn::sizeChanged(2560, 1080));
    EXPECT_THAT(standIn::calls(), IsEmpty());
}

// Mode changes leave the hold on; the size change they cause moves the rectangle, and only that.
TEST_F(MouseConfinement, SurvivesEveryModeChange)
{
    deliver(TAB);
    const SDL_Scancode modeKeys[] = {SDL_SCANCODE_F, SDL_SCANCODE_E, SDL_SCANCODE_M,
                                     SDL_SCANCODE_W};
    for (SDL_Scancode key : modeKeys) {
        deliver(standIn::keyDown(key));
        EXPECT_TRUE(appState.mouseConfined) << "after scancode " << key;
    }
    standIn::clearCalls();
    deliver(standIn::sizeChanged(1920, 1200));
    EXPECT_THAT(standIn::calls(),
                ElementsAre("SDL_SetWindowMouseRect(window, {0, 60, 1920, 1080})"));
}

} // namespace
