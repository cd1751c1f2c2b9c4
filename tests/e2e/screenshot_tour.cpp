// The screenshot tour: drives the program through its modes on a private Xorg server with
// openbox and writes what the screen shows to PNG files in the given folder.
//   screenshot_tour DIRECTORY
#include "x_session.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace
{

using namespace e2e;

// Saves the part of the screen that the current display mode shows, at half size.
void screenshot(XSession &x, const std::string &directory, const std::string &name)
{
    int width = 0, height = 0;
    const std::vector<unsigned char> rgb = x.screenshotRgb(width, height);
    const Rect mode = x.screenMode();
    const std::string raw = directory + "/" + name + ".ppm", png = directory + "/" + name + ".png";
    {
        std::ofstream out(raw, std::ios::binary);
        out << "P6\n" << mode.w << " " << mode.h << "\n255\n";
        for (int y = mode.y; y < mode.y + mode.h; ++y)
            out.write(
                reinterpret_cast<const char *>(&rgb[(static_cast<size_t>(y) * width + mode.x) * 3]),
                static_cast<std::streamsize>(mode.w) * 3);
    }
    const std::string command = "convert '" + raw + "' -resize 50% -strip '" + png + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("convert failed for " + name);
    std::remove(raw.c_str());
    std::printf("%s (%d x %d on the screen)\n", png.c_str(), mode.w, mode.h);
}

void require(bool condition, const char *what)
{
    if (!condition)
        throw std::runtime_error(std::string("the program did not reach: ") + what);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot_tour DIRECTORY\n");
        return 2;
    }
    const std::string directory = argv[1];
    try {
        XSession x;
        x.startServer(Server::XorgDummy);
        x.startWindowManager();
        x.launchProgram();
        const Rect desktop = x.screenMode();

        require(isCentredDefaultWindow(x) && showsCanvasWhereItBelongs(x), "the normal window");
        screenshot(x, directory, "windowed");

        x.pressKey("a");
        require(waitUntil([&] { return x.clientRect().h == 450; }), "the window fitted to A");
        require(showsCanvasWhereItBelongs(x), "the window fitted to A");
        screenshot(x, directory, "fitted");

        x.wmResize(1200, 450);
        require(waitUntil([&] { return x.clientRect().w == 1200; }), "the wide window");
        require(showsCanvasWhereItBelongs(x), "the wide window");
        screenshot(x, directory, "pillarbox");

        x.pressKey("m");
        require(waitUntil([&] { return x.isMaximized(); }), "the maximized window");
        require(showsCanvasWhereItBelongs(x), "the maximized window");
        screenshot(x, directory, "maximized");

        x.pressKey("f");
        require(waitUntil([&] { return x.isFullscreen() && x.clientRect().w == desktop.w; }),
                "desktop fullscreen");
        require(showsCanvasWhereItBelongs(x), "desktop fullscreen");
        screenshot(x, directory, "desktop-fullscreen");

        // The second mode is smaller and, on the test server, not 16:9: it shows bars.
        x.pressKey("e");
        x.pressKey("Next");
        require(waitUntil([&] { return x.screenMode().w < desktop.w && x.isFullscreen(); }),
                "exclusive fullscreen at a smaller mode");
        require(waitUntil([&] { return x.clientRect().w == x.screenMode().w; }),
                "exclusive fullscreen at a smaller mode");
        require(showsCanvasWhereItBelongs(x), "exclusive fullscreen at a smaller mode");
        screenshot(x, directory, "exclusive-fullscreen");

        x.pressKey("Escape");
        require(x.waitForExit().exitStatus == 0, "a clean exit");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "screenshot_tour: %s\n", e.what());
        return 1;
    }
    return 0;
}
