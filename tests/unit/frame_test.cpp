// One frame: fill the canvas, fill the window with the bar colour, copy the canvas into place.
#include "app_state.h"
#include "frame.h"
#include "sdl_stand_in.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace
{

using ::testing::ElementsAre;

class Frame : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        standIn::reset();
        appState = AppState{};
        appState.mainRenderer = standIn::renderer;
        appState.canvas = standIn::canvas;
    }
};

TEST_F(Frame, FillsTheCanvasThenTheBarsThenCopiesTheCanvasIntoTheContentRectangle)
{
    appState.contentRect = SDL_Rect{320, 0, 1920, 1080};
    drawFrame();
    EXPECT_THAT(standIn::calls(),
                ElementsAre("SDL_SetRenderTarget(renderer, canvas)",
                            "SDL_SetRenderDrawColor(renderer, 100, 100, 100, 255)",
                            "SDL_RenderClear(renderer)", "SDL_SetRenderTarget(renderer, NULL)",
                            "SDL_SetRenderDrawColor(renderer, 32, 32, 32, 255)",
                            "SDL_RenderClear(renderer)",
                            "SDL_RenderCopy(renderer, canvas, NULL, {320, 0, 1920, 1080})",
                            "SDL_RenderPresent(renderer)"));
}

// Before the first size change the rectangle is empty, so the frame is background only.
TEST_F(Frame, BeforeTheFirstSizeChangeCopiesIntoAnEmptyRectangle)
{
    drawFrame();
    EXPECT_EQ(standIn::calls().at(6), "SDL_RenderCopy(renderer, canvas, NULL, {0, 0, 0, 0})");
}

} // namespace
