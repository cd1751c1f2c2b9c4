// One frame: the canvas filled afresh and copied, scaled, into the content rectangle.
#include "frame.h"

#include "app_state.h"

constexpr SDL_Color CANVAS_COLOR = {100, 100, 100, SDL_ALPHA_OPAQUE};
constexpr SDL_Color BAR_COLOR = {32, 32, 32, SDL_ALPHA_OPAQUE};

static void clearTo(SDL_Color color)
{
    SDL_SetRenderDrawColor(appState.mainRenderer, color.r, color.g, color.b, color.a);
    SDL_RenderClear(appState.mainRenderer);
}

void drawFrame()
{
    SDL_SetRenderTarget(appState.mainRenderer, appState.canvas);
    clearTo(CANVAS_COLOR);
    SDL_SetRenderTarget(appState.mainRenderer, nullptr);
    clearTo(BAR_COLOR);
    SDL_RenderCopy(appState.mainRenderer, appState.canvas, nullptr, &appState.contentRect);
    // With the vertical-sync renderer this is where the loop waits.
    SDL_RenderPresent(appState.mainRenderer);
}
