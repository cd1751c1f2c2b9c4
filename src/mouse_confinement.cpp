// Tab confines the mouse pointer to the canvas and frees it; the confining rectangle follows
// every size change of the window. SDL copies the rectangle, so each change must be handed on.
#include "mouse_confinement.h"

#include "app_state.h"

void toggleMouseConfinement()
{
    if (!appState.mouseConfined) {
        SDL_SetWindowMouseRect(appState.mainWindow, &appState.contentRect);
        SDL_SetWindowGrab(appState.mainWindow, SDL_TRUE);
        appState.mouseConfined = true;
    } else {
        SDL_SetWindowMouseRect(appState.mainWindow, nullptr);
        SDL_SetWindowGrab(appState.mainWindow, SDL_FALSE);
        appState.mouseConfined = false;
    }
}

// Called right after the content rectangle is recomputed for a new window size.
void refreshMouseConfinement()
{
    if (appState.mouseConfined)
        SDL_SetWindowMouseRect(appState.mainWindow, &appState.contentRect);
}
