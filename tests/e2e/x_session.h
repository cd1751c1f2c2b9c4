// The end-to-end fixture's tools: a private X server (Xvfb, or Xorg with the dummy video
// driver), openbox as its window manager, the program running on it, and what a person does
// and sees there, through Xlib, XTest and RandR.
#pragma once

// Google Test first: Xlib defines None and Bool as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace e2e
{

using namespace std::chrono_literals;
using Seconds = std::chrono::duration<double>;

// Long enough for a loaded two-core machine; waits end as soon as the condition holds.
constexpr Seconds DEADLINE = 15s;

struct Rect {
    int x, y, w, h;
    bool operator==(const Rect &other) const
    {
        return x == other.x && y == other.y && w == other.w && h == other.h;
    }
};
std::ostream &operator<<(std::ostream &out, const Rect &r);

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb &other) const { return r == other.r && g == other.g && b == other.b; }
};
std::ostream &operator<<(std::ostream &out, const Rgb &c);

constexpr Rgb CANVAS = {100, 100, 100};
constexpr Rgb BARS = {32, 32, 32};

// Polls the condition until it holds or the deadline passes; true if it held.
bool waitUntil(const std::function<bool()> &condition, Seconds deadline = DEADLINE);

enum class Server { Xvfb, XorgDummy };

struct ProgramRun {
    std::optional<int> exitStatus; // empty while it runs, or if a signal ended it
    std::string standardOutput, standardError;
};

// Everything a test starts, stopped again by the destructor, also when the test fails.
class XSession
{
  public:
    XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;
    ~XSession();

    // Starts the server on a free display number and connects to it.
    void startServer(Server server);
    void startWindowManager();
    // Starts the program (the built one unless a path is given) on the server, if one runs.
    void startProgram(const std::string &program = PROGRAM_PATH,
                      const std::vector<std::string> &environment = {});
    // Starts the program and waits for its window.
    void launchProgram(const std::string &program = PROGRAM_PATH,
                       const std::vector<std::string> &environment = {});
    // Asks the program to end, as the session's end does (SDL turns it into a quit request).
    void terminateProgram();
    // Waits for the program to end and returns how it ended.
    ProgramRun waitForExit(Seconds deadline = DEADLINE);
    bool programRunning();
    pid_t programPid() const { return program_; }
    const std::string &logDir() const { return logDir_; }

    ::Display *display() const { return display_; }
    const std::string &displayName() const { return displayName_; }
    ::Window window() const { return window_; }
    int screenWidth() const;
    int screenHeight() const;

    // What a person sees.
    Rect clientRect();                   // the program's drawing area, in screen coordinates
    Rect frameExtents();                 // the decorations: x left, y top, w right, h bottom
    std::set<std::string> windowState(); // the window's _NET_WM_STATE atoms
    bool isFullscreen();
    bool isMaximized();
    Rgb pixel(int x, int y);
    Rect screenMode(); // the current RandR mode of the first active output, at its position
    void pointer(int &x, int &y);
    // Whether another client holds the pointer grabbed: a grab of our own is refused then.
    bool pointerGrabbedElsewhere();
    std::vector<unsigned char> screenshotRgb(int &width, int &height);

    // What a person does.
    void pressKey(const char *keyName, const std::vector<const char *> &modifiers = {});
    void holdKey(const char *keyName, Seconds duration);
    void moveMouseBy(int dx, int dy);
    void warpMouseTo(int x, int y);
    void focusProgram();
    // Through the window manager, as its title bar and frame do.
    void wmSetMaximized(bool maximized);
    void wmResize(int width, int height);
    void wmClose();

  private:
    void sendWmMessage(const char *type, long l0, long l1 = 0, long l2 = 0, long l3 = 0,
                       long l4 = 0);
    ::Window findWindowByTitle(::Window under, const char *title);

    pid_t server_ = -1, windowManager_ = -1, program_ = -1;
    std::string displayName_, logDir_;
    ::Display *display_ = nullptr;
    ::Window window_ = 0;
    std::optional<int> programStatus_;
};

// Where the canvas must be for a client area of the given size: an independent reckoning in
// exact integers, rounding halves to even.
Rect expectedCanvas(int width, int height);

// Waits until the screen shows the canvas colour just inside each edge of the rectangle where
// the canvas belongs in the program's window, and the bar colour just outside each edge that
// has a bar.
::testing::AssertionResult showsCanvasWhereItBelongs(XSession &x);

// A window that is where the program puts it in a normal window: 800 × 600, centred (up to the
// decorations, which a window manager adds on the right and below the requested place).
::testing::AssertionResult isCentredDefaultWindow(XSession &x);

// For what must not happen: the condition holds throughout a quiet period.
bool holdsThroughout(const std::function<bool()> &condition, Seconds quietPeriod = 700ms);

} // namespace e2e
