// A recording stand-in for SDL, linked in place of the library: it writes down every call the
// program makes, with its arguments, and answers from a script that the test sets.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

namespace standIn
{

// What SDL answers. reset() brings back these defaults: everything succeeds on an X11 display.
struct Script {
    int initResult = 0;
    bool windowFails = false;
    bool rendererFails = false;
    bool textureFails = false;
    const char *error = "stand-in error";
    const char *videoDriver = "x11";
    const char *videoDriverHint = nullptr;
    Uint32 windowFlags = 0;
    int numDisplayModes = 0;
    // SDL_GetDisplayMode answers from here for an index below numDisplayModes.
    SDL_DisplayMode displayModes[8] = {};
};
extern Script script;

// The handles the stand-in hands out, written in the record as window, renderer and canvas.
extern SDL_Window *const window;
extern SDL_Renderer *const renderer;
extern SDL_Texture *const canvas;

void reset();

// SDL_PollEvent hands out the queued events in order, and reports an empty queue once for each
// queueEmptyPoll. When the queue has run out altogether the process ends with status 99, so a
// loop that never quits fails its test instead of hanging.
void queueEvent(const SDL_Event &event);
void queueEmptyPoll();

// The calls since the last reset or clearCalls, one line each: "SDL_ShowWindow(window)".
std::vector<std::string> calls();
void clearCalls();
// Calls made since the last reset or clearCalls, also those past the record's capacity.
long callCount();

// For death tests: when the process exits, the record is written to standard error.
void writeCallsAtExit();

// The events a person causes.
SDL_Event keyDown(SDL_Scancode scancode, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0);
SDL_Event keyUp(SDL_Scancode scancode);
SDL_Event windowEvent(SDL_WindowEventID id, Sint32 data1 = 0, Sint32 data2 = 0);
SDL_Event sizeChanged(Sint32 width, Sint32 height);
SDL_Event quitRequest();
SDL_Event mouseMotion(Sint32 x, Sint32 y);

} // namespace standIn
