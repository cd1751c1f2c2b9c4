// A recording stand-in for SDL, linked in place of the library. The record is kept in fixed
// storage so that recording allocates nothing on the heap.
#include "sdl_stand_in.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace standIn
{

Script script;

static char windowObject, rendererObject, canvasObject;
SDL_Window *const window = reinterpret_cast<SDL_Window *>(&windowObject);
SDL_Renderer *const renderer = reinterpret_cast<SDL_Renderer *>(&rendererObject);
SDL_Texture *const canvas = reinterpret_cast<SDL_Texture *>(&canvasObject);

constexpr int RECORD_CAPACITY = 4096;
constexpr int LINE_LENGTH = 120;
static char record[RECORD_CAPACITY][LINE_LENGTH];
static long recorded;

constexpr int QUEUE_CAPACITY = 4096;
static SDL_Event queue[QUEUE_CAPACITY];
static bool queueEntryIsEmptyPoll[QUEUE_CAPACITY];
static int queued, polled;

static void note(const char *format, ...)
{
    if (recorded < RECORD_CAPACITY) {
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(record[recorded], LINE_LENGTH, format, arguments);
        va_end(arguments);
    }
    ++recorded;
}

static const char *name(const void *handle)
{
    if (handle == nullptr)
        return "NULL";
    if (handle == window)
        return "window";
    if (handle == renderer)
        return "renderer";
    if (handle == canvas)
        return "canvas";
    return "unknown handle";
}

static const SDL_DisplayMode defaultModes[] = {
    {SDL_PIXELFORMAT_RGB888, 1920, 1080, 60, nullptr},
    {SDL_PIXELFORMAT_RGB888, 1600, 900, 60, nullptr},
    {SDL_PIXELFORMAT_RGB888, 1280, 720, 60, nullptr},
    {SDL_PIXELFORMAT_RGB888, 1024, 768, 60, nullptr},
    {SDL_PIXELFORMAT_RGB888, 800, 600, 60, nullptr},
    {SDL_PIXELFORMAT_RGB888, 640, 480, 60, nullptr},
    {SDL_PIXELFORMAT_RGB888, 640, 360, 60, nullptr},
    {SDL_PIXELFORMAT_RGB888, 320, 240, 60, nullptr},
};

void reset()
{
    script = Script{};
    std::memcpy(script.displayModes, defaultModes, sizeof defaultModes);
    recorded = 0;
    queued = polled = 0;
}

void queueEvent(const SDL_Event &event)
{
    if (queued == QUEUE_CAPACITY)
        std::abort();
    queue[queued] = event;
    queueEntryIsEmptyPoll[queued++] = false;
}

void queueEmptyPoll()
{
    if (queued == QUEUE_CAPACITY)
        std::abort();
    queueEntryIsEmptyPoll[queued++] = true;
}

std::vector<std::string> calls()
{
    std::vector<std::string> lines;
    for (long i = 0; i < recorded && i < RECORD_CAPACITY; ++i)
        lines.emplace_back(record[i]);
    return lines;
}

void clearCalls()
{
    recorded = 0;
}
long callCount()
{
    return recorded;
}

static void writeCalls()
{
    for (const std::string &line : calls())
        std::fprintf(stderr, "%s\n", line.c_str());
}

void writeCallsAtExit()
{
    std::atexit(writeCalls);
}

SDL_Event keyDown(SDL_Scancode scancode, Uint16 modifiers, Uint8 repeat)
{
    SDL_Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_SCANCODE_TO_KEYCODE(scancode);
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event keyUp(SDL_Scancode scancode)
{
    SDL_Event event = keyDown(scancode);
    event.key.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    return event;
}

SDL_Event windowEvent(SDL_WindowEventID id, Sint32 data1, Sint32 data2)
{
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.event = id;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

SDL_Event sizeChanged(Sint32 width, Sint32 height)
{
    return windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, width, height);
}

SDL_Event quitRequest()
{
    SDL_Event event{};
    event.quit.type = SDL_QUIT;
    return event;
}

SDL_Event mouseMotion(Sint32 x, Sint32 y)
{
    SDL_Event event{};
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

} // namespace standIn

using namespace standIn;

// The SDL functions the program calls, with SDL's own declarations.

int SDL_Init(Uint32 flags)
{
    note("SDL_Init(%#x)", flags);
    return script.initResult;
}

void SDL_Quit(void)
{
    note("SDL_Quit()");
}

const char *SDL_GetError(void)
{
    note("SDL_GetError()");
    return script.error;
}

const char *SDL_GetHint(const char *hint)
{
    note("SDL_GetHint(\"%s\")", hint);
    return std::strcmp(hint, SDL_HINT_VIDEODRIVER) == 0 ? script.videoDriverHint : nullptr;
}

const char *SDL_GetCurrentVideoDriver(void)
{
    note("SDL_GetCurrentVideoDriver()");
    return script.videoDriver;
}

SDL_Window *SDL_CreateWindow(const char *title, int x, int y, int w, int h, Uint32 flags)
{
    note("SDL_CreateWindow(\"%s\", %d, %d, %d, %d, %#x)", title, x, y, w, h, flags);
    return script.windowFails ? nullptr : window;
}

SDL_Renderer *SDL_CreateRenderer(SDL_Window *target, int index, Uint32 flags)
{
    note("SDL_CreateRenderer(%s, %d, %#x)", name(target), index, flags);
    return script.rendererFails ? nullptr : renderer;
}

SDL_Texture *SDL_CreateTexture(SDL_Renderer *target, Uint32 format, int access, int w, int h)
{
    note("SDL_CreateTexture(%s, %#x, %d, %d, %d)", name(target), format, access, w, h);
    return script.textureFails ? nullptr : canvas;
}

void SDL_DestroyTexture(SDL_Texture *texture)
{
    note("SDL_DestroyTexture(%s)", name(texture));
}
void SDL_DestroyRenderer(SDL_Renderer *target)
{
    note("SDL_DestroyRenderer(%s)", name(target));
}
void SDL_DestroyWindow(SDL_Window *target)
{
    note("SDL_DestroyWindow(%s)", name(target));
}

void SDL_SetWindowSize(SDL_Window *target, int w, int h)
{
    note("SDL_SetWindowSize(%s, %d, %d)", name(target), w, h);
}

void SDL_SetWindowPosition(SDL_Window *target, int x, int y)
{
    note("SDL_SetWindowPosition(%s, %#x, %#x)", name(target), x, y);
}

void SDL_SetWindowMinimumSize(SDL_Window *target, int w, int h)
{
    note("SDL_SetWindowMinimumSize(%s, %d, %d)", name(target), w, h);
}

void SDL_ShowWindow(SDL_Window *target)
{
    note("SDL_ShowWindow(%s)", name(target));
}

int SDL_PollEvent(SDL_Event *event)
{
    if (polled == queued) {
        std::fprintf(stderr, "stand-in: SDL_PollEvent called after the scripted events ran out\n");
        std::_Exit(99);
    }
    const int entry = polled++;
    const int result = queueEntryIsEmptyPoll[entry] ? 0 : 1;
    note("SDL_PollEvent() = %d", result);
    if (result == 1)
        *event = queue[entry];
    return result;
}

int SDL_SetRenderTarget(SDL_Renderer *target, SDL_Texture *texture)
{
    note("SDL_SetRenderTarget(%s, %s)", name(target), name(texture));
    return 0;
}

int SDL_SetRenderDrawColor(SDL_Renderer *target, Uint8 r, Uint8 g, Uint8 b, Uint8 a)
{
    note("SDL_SetRenderDrawColor(%s, %d, %d, %d, %d)", name(target), r, g, b, a);
    return 0;
}

int SDL_RenderClear(SDL_Renderer *target)
{
    note("SDL_RenderClear(%s)", name(target));
    return 0;
}

static const char *rectText(const SDL_Rect *rect, char (&text)[64])
{
    if (rect == nullptr)
        return "NULL";
    std::snprintf(text, sizeof text, "{%d, %d, %d, %d}", rect->x, rect->y, rect->w, rect->h);
    return text;
}

int SDL_RenderCopy(SDL_Renderer *target, SDL_Texture *texture, const SDL_Rect *source,
                   const SDL_Rect *destination)
{
    char sourceText[64], destinationText[64];
    note("SDL_RenderCopy(%s, %s, %s, %s)", name(target), name(texture),
         rectText(source, sourceText), rectText(destination, destinationText));
    return 0;
}

void SDL_RenderPresent(SDL_Renderer *target)
{
    note("SDL_RenderPresent(%s)", name(target));
}

Uint32 SDL_GetWindowFlags(SDL_Window *target)
{
    note("SDL_GetWindowFlags(%s)", name(target));
    return script.windowFlags;
}

int SDL_SetWindowFullscreen(SDL_Window *target, Uint32 flags)
{
    note("SDL_SetWindowFullscreen(%s, %#x)", name(target), flags);
    return 0;
}

void SDL_MaximizeWindow(SDL_Window *target)
{
    note("SDL_MaximizeWindow(%s)", name(target));
}
void SDL_RestoreWindow(SDL_Window *target)
{
    note("SDL_RestoreWindow(%s)", name(target));
}

int SDL_GetNumDisplayModes(int displayIndex)
{
    note("SDL_GetNumDisplayModes(%d)", displayIndex);
    return script.numDisplayModes;
}

// Like SDL, an index out of range is refused and the mode is left as it was.
int SDL_GetDisplayMode(int displayIndex, int modeIndex, SDL_DisplayMode *mode)
{
    note("SDL_GetDisplayMode(%d, %d)", displayIndex, modeIndex);
    const int known = static_cast<int>(SDL_arraysize(script.displayModes));
    if (modeIndex < 0 || modeIndex >= script.numDisplayModes || modeIndex >= known)
        return -1;
    *mode = script.displayModes[modeIndex];
    return 0;
}

int SDL_SetWindowDisplayMode(SDL_Window *target, const SDL_DisplayMode *mode)
{
    if (mode == nullptr)
        note("SDL_SetWindowDisplayMode(%s, NULL)", name(target));
    else
        note("SDL_SetWindowDisplayMode(%s, %dx%d@%d)", name(target), mode->w, mode->h,
             mode->refresh_rate);
    return 0;
}

int SDL_SetWindowMouseRect(SDL_Window *target, const SDL_Rect *rect)
{
    char text[64];
    note("SDL_SetWindowMouseRect(%s, %s)", name(target), rectText(rect, text));
    return 0;
}

void SDL_SetWindowGrab(SDL_Window *target, SDL_bool grabbed)
{
    note("SDL_SetWindowGrab(%s, %d)", name(target), grabbed);
}
