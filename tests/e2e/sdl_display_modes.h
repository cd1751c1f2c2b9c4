// The display modes of display 0 in SDL's own order, asked of SDL on the given X display: the
// list that Page Up and Page Down step through.
#pragma once

#include <string>
#include <vector>

namespace e2e
{

struct ModeSize {
    int w, h;
};

std::vector<ModeSize> sdlDisplayModes(const std::string &displayName);

} // namespace e2e
