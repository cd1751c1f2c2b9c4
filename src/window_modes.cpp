// The four window modes, the keys that switch between them, the window manager's maximize and
// restore, and the display modes of exclusive fullscreen. Nothing here computes geometry: SDL
// reports each resulting size change as an event, and the content rectangle follows it.
#include "window_modes.h"

#include "app_state.h"

#include <cstdint>

// The display whose modes exclusive fullscreen steps through, wherever the window stands.
constexpr int DISPLAY_INDEX = 0;

// Sets the new mode and reads the window's flags once; false when the mode is already current,
// in which case nothing at all is done. The mode is set first so that the window events the
// transition causes find it already at the target.
static bool beginTransition(WindowMode target, Uint32 &flags)
{
    if (appState.windowMode == target)
        return false;
    appState.windowMode = target;
    flags = SDL_GetWindowFlags(appState.mainWindow);
    return true;
}

// SDL_WINDOW_FULLSCREEN_DESKTOP contains the SDL_WINDOW_FULLSCREEN bit: one test for both kinds.
static void leaveFullscreen(Uint32 flags)
{
    if (flags & SDL_WINDOW_FULLSCREEN)
        SDL_SetWindowFullscreen(appState.mainWindow, 0);
}

static void leaveMaximized(Uint32 flags)
{
    if (flags & SDL_WINDOW_MAXIMIZED)
        SDL_RestoreWindow(appState.mainWindow);
}

// Read just before each use: the chosen index may have moved since the last one.
static void readChosenDisplayMode()
{
    SDL_GetDisplayMode(DISPLAY_INDEX, static_cast<int>(appState.displayModeIndex),
                       &appState.displayMode);
}

void enterWindowed()
{
    Uint32 flags;
    if (!beginTransition(WindowMode::Windowed, flags))
        return;
    leaveFullscreen(flags);
    leaveMaximized(flags);
    resetWindowGeometry();
}

// Maximizes from the centred default window, so that restoring later comes back to it.
void enterMaximized()
{
    Uint32 flags;
    if (!beginTransition(WindowMode::Maximized, flags))
        return;
    leaveFullscreen(flags);
    resetWindowGeometry();
    SDL_MaximizeWindow(appState.mainWindow);
}

void enterDesktopFullscreen()
{
    Uint32 flags;
    if (!beginTransition(WindowMode::DesktopFullscreen, flags))
        return;
    leaveFullscreen(flags);
    leaveMaximized(flags);
    resetWindowGeometry();
    SDL_SetWindowFullscreen(appState.mainWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

// The window underneath keeps its size and place; the display mode is set before going
// fullscreen, so the screen switches once.
void enterExclusiveFullscreen()
{
    Uint32 flags;
    if (!beginTransition(WindowMode::ExclusiveFullscreen, flags))
        return;
    leaveFullscreen(flags);
    leaveMaximized(flags);
    readChosenDisplayMode();
    SDL_SetWindowDisplayMode(appState.mainWindow, &appState.displayMode);
    SDL_SetWindowFullscreen(appState.mainWindow, SDL_WINDOW_FULLSCREEN);
}

// The window takes the canvas's size, so the next size change leaves no bars.
void fitWindowToContent()
{
    if (appState.windowMode != WindowMode::Windowed)
        return;
    SDL_SetWindowSize(appState.mainWindow, appState.contentRect.w, appState.contentRect.h);
}

// SDL lists a display's modes from the largest to the smallest: Page Down (+1) goes smaller.
void stepDisplayMode(int delta)
{
    if (appState.windowMode != WindowMode::ExclusiveFullscreen)
        return;
    if (delta < 0) {
        if (appState.displayModeIndex == 0)
            return;
        --appState.displayModeIndex;
    } else {
        // Compared in 64 bits, so a count of 0 or an error (negative) never lets the index move.
        const std::int64_t count = SDL_GetNumDisplayModes(DISPLAY_INDEX);
        if (static_cast<std::int64_t>(appState.displayModeIndex) >= count - 1)
            return;
        ++appState.displayModeIndex;
    }
    readChosenDisplayMode();
    SDL_SetWindowFullscreen(appState.mainWindow, 0);
    SDL_SetWindowDisplayMode(appState.mainWindow, &appState.displayMode);
    SDL_SetWindowFullscreen(appState.mainWindow, SDL_WINDOW_FULLSCREEN);
}

// Keeps the mode right when the user maximizes or restores through the window manager. The
// window keeps the size the window manager gives it.
void onWindowStateEvent(int windowEventId)
{
    switch (windowEventId) {
    case SDL_WINDOWEVENT_MAXIMIZED:
        appState.windowMode = WindowMode::Maximized;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        if (appState.windowMode == WindowMode::Maximized)
            appState.windowMode = WindowMode::Windowed;
        break;
    default:
        break;
    }
}
