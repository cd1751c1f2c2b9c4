// The program's spine: start-up, the one event loop with its dispatch, and shutdown.
#include "event_loop.h"

#include "app_state.h"
#include "content_rect.h"
#include "frame.h"
#include "mouse_confinement.h"
#include "window_modes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

AppState appState{};

// A start-up that cannot give the user a window says why, undoes what it made and ends.
[[noreturn]] static void abandonStartUp(const char *reason, const char *detail)
{
    std::fprintf(stderr, "window-modes-demo: %s%s%s\n", reason, detail ? ": " : "",
                 detail ? detail : "");
    if (appState.canvas)
        SDL_DestroyTexture(appState.canvas);
    if (appState.mainRenderer)
        SDL_DestroyRenderer(appState.mainRenderer);
    if (appState.mainWindow)
        SDL_DestroyWindow(appState.mainWindow);
    SDL_Quit();
    std::exit(EXIT_FAILURE);
}

// Without a display SDL falls back to a driver that draws nowhere; only a user who asked for
// such a driver gets it.
static bool videoDriverShowsWindows()
{
    if (SDL_GetHint(SDL_HINT_VIDEODRIVER))
        return true;
    const char *driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

void startUp()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        abandonStartUp("cannot initialise SDL", SDL_GetError());
    if (!videoDriverShowsWindows())
        abandonStartUp("no display to open a window on", nullptr);

    // Created hidden and without a size: it is sized, placed and limited before it is shown.
    appState.mainWindow =
        SDL_CreateWindow(WINDOW_TITLE, 0, 0, 0, 0, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!appState.mainWindow)
        abandonStartUp("cannot create the window", SDL_GetError());
    appState.mainRenderer = SDL_CreateRenderer(
        appState.mainWindow, -1,
        SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
    if (!appState.mainRenderer)
        abandonStartUp("cannot create the renderer", SDL_GetError());
    appState.canvas = SDL_CreateTexture(appState.mainRenderer, SDL_PIXELFORMAT_ABGR8888,
                                        SDL_TEXTUREACCESS_TARGET, CANVAS_WIDTH, CANVAS_HEIGHT);
    if (!appState.canvas)
        abandonStartUp("cannot create the canvas", SDL_GetError());

    resetWindowGeometry();
    SDL_SetWindowMinimumSize(appState.mainWindow, CANVAS_WIDTH, CANVAS_HEIGHT);
    SDL_ShowWindow(appState.mainWindow);

    appState.windowMode = WindowMode::Windowed;
    appState.displayModeIndex = 0;
    appState.mouseConfined = false;
}

// Every queued event is handled before the next frame; vertical sync paces the loop.
void runEventLoop()
{
    for (;;) {
        if (SDL_PollEvent(&appState.polledEvent) == 1)
            dispatchEvent();
        else
            drawFrame();
    }
}

static void dispatchWindowEvent(const SDL_WindowEvent &window)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        recomputeContentRect(window.data1, window.data2);
        refreshMouseConfinement();
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
        onWindowStateEvent(window.event);
        break;
    default:
        break;
    }
}

// Keys are told apart by physical position; modifiers are not looked at.
static void dispatchKey(SDL_Scancode scancode)
{
    switch (scancode) {
    case SDL_SCANCODE_A:
        fitWindowToContent();
        break;
    case SDL_SCANCODE_E:
        enterExclusiveFullscreen();
        break;
    case SDL_SCANCODE_F:
        enterDesktopFullscreen();
        break;
    case SDL_SCANCODE_M:
        enterMaximized();
        break;
    case SDL_SCANCODE_W:
        enterWindowed();
        break;
    case SDL_SCANCODE_ESCAPE:
        shutDown();
    case SDL_SCANCODE_TAB:
        toggleMouseConfinement();
        break;
    case SDL_SCANCODE_PAGEUP:
        stepDisplayMode(-1);
        break;
    case SDL_SCANCODE_PAGEDOWN:
        stepDisplayMode(+1);
        break;
    default:
        break;
    }
}

void dispatchEvent()
{
    const SDL_Event &event = appState.polledEvent;
    switch (event.type) {
    case SDL_QUIT:
        shutDown();
    case SDL_WINDOWEVENT:
        dispatchWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
        if (event.key.repeat == 0)
            dispatchKey(event.key.keysym.scancode);
        break;
    default:
        break;
    }
}

// Fullscreen, the display mode and the mouse grab go with the window; SDL undoes them.
void shutDown()
{
    SDL_DestroyTexture(appState.canvas);
    SDL_DestroyRenderer(appState.mainRenderer);
    SDL_DestroyWindow(appState.mainWindow);
    SDL_Quit();
    std::exit(EXIT_SUCCESS);
}
