// The display modes of display 0 in SDL's own order, asked of SDL on the given X display.
#include "sdl_display_modes.h"

#include <SDL.h>

#include <cstdlib>

namespace e2e
{

std::vector<ModeSize> sdlDisplayModes(const std::string &displayName)
{
    setenv("DISPLAY", displayName.c_str(), 1);
    std::vector<ModeSize> modes;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return modes;
    for (int i = 0; i < SDL_GetNumDisplayModes(0); ++i) {
        SDL_DisplayMode mode{};
        SDL_GetDisplayMode(0, i, &mode);
        modes.push_back(ModeSize{mode.w, mode.h});
    }
    SDL_Quit();
    return modes;
}

} // namespace e2e
