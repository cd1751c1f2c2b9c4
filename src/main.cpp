// window-modes-demo: a fixed 400 × 225 canvas, letterboxed into a window that switches between
// normal, maximized, desktop fullscreen and exclusive fullscreen.
#include "event_loop.h"

int main()
{
    startUp();
    runEventLoop();
}
