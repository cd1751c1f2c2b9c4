// The program's one record of state, the constants every unit shares, and the window geometry
// that start-up and the mode changes both return to.
#pragma once

#include <SDL.h>

#include <cstdint>

constexpr int CANVAS_WIDTH = 400;
constexpr int CANVAS_HEIGHT = 225;
constexpr int DEFAULT_WINDOW_WIDTH = 800;
constexpr int DEFAULT_WINDOW_HEIGHT = 600;
constexpr const char *WINDOW_TITLE = "Window modes demo";

enum class WindowMode {
    Windowed = 0,
    Maximized = 1,
    DesktopFullscreen = 2,
    ExclusiveFullscreen = 3
};

struct AppState {
    SDL_Window *mainWindow;
    SDL_Renderer *mainRenderer;
    SDL_Texture *canvas;
    SDL_Rect contentRect;
    SDL_DisplayMode displayMode;
    SDL_Event polledEvent;
    WindowMode windowMode;
    std::uint32_t displayModeIndex;
    bool mouseConfined;
};

// Owned by the event loop for the whole run; zero-initialised before start-up.
extern AppState appState;

inline void resetWindowGeometry()
{
    SDL_SetWindowSize(appState.mainWindow, DEFAULT_WINDOW_WIDTH, DEFAULT_WINDOW_HEIGHT);
    SDL_SetWindowPosition(appState.mainWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}
