// Where the canvas is shown: the largest centred 16:9 rectangle that fits the window.
#include "content_rect.h"

#include "app_state.h"

#include <cmath>

// 9/16 is exact in binary; 16/9 is the nearest double to it.
constexpr double HEIGHT_FROM_WIDTH = 0.5625;
constexpr double WIDTH_FROM_HEIGHT = 1.7777777777777777;

// Round half to even, the default rounding mode: 454.5 gives 454, not 455.
static int roundToNearest(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

void recomputeContentRect(int newWidth, int newHeight)
{
    int w = newWidth;
    int h = roundToNearest(newWidth * HEIGHT_FROM_WIDTH);
    if (h > newHeight) {
        h = newHeight;
        w = roundToNearest(newHeight * WIDTH_FROM_HEIGHT);
    }
    // Integer division drops the odd half pixel, so the left or top bar is the narrower one.
    appState.contentRect = SDL_Rect{(newWidth - w) / 2, (newHeight - h) / 2, w, h};
}
