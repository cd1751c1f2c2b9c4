// The end-to-end fixture's tools: private X servers, openbox, the program, and a person's
// hands and eyes on them.
#include "x_session.h"

#include "letterbox_reference.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char **environ;

namespace e2e
{

std::ostream &operator<<(std::ostream &out, const Rect &r)
{
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

std::ostream &operator<<(std::ostream &out, const Rgb &c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

bool waitUntil(const std::function<bool()> &condition, Seconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
}

Rect expectedCanvas(int width, int height)
{
    const ReferenceRect r = letterboxReference(width, height);
    return Rect{r.x, r.y, r.w, r.h};
}

bool holdsThroughout(const std::function<bool()> &condition, Seconds quietPeriod)
{
    return !waitUntil([&] { return !condition(); }, quietPeriod);
}

::testing::AssertionResult showsCanvasWhereItBelongs(XSession &x)
{
    std::ostringstream problem;
    const bool shown = waitUntil([&] {
        problem.str("");
        const Rect client = x.clientRect(), canvas = expectedCanvas(client.w, client.h);
        const int left = client.x + canvas.x, top = client.y + canvas.y;
        const int right = left + canvas.w - 1, bottom = top + canvas.h - 1;
        const int middleX = left + canvas.w / 2, middleY = top + canvas.h / 2;
        struct Probe {
            bool applies;
            int x, y;
            Rgb expected;
            const char *where;
        };
        const Probe probes[] = {
            {true, middleX, top, CANVAS, "top edge"},
            {true, middleX, bottom, CANVAS, "bottom edge"},
            {true, left, middleY, CANVAS, "left edge"},
            {true, right, middleY, CANVAS, "right edge"},
            {canvas.y > 0, middleX, top - 1, BARS, "above the canvas"},
            {canvas.y + canvas.h < client.h, middleX, bottom + 1, BARS, "below the canvas"},
            {canvas.x > 0, left - 1, middleY, BARS, "left of the canvas"},
            {canvas.x + canvas.w < client.w, right + 1, middleY, BARS, "right of the canvas"},
        };
        for (const Probe &probe : probes) {
            const Rgb seen = probe.applies ? x.pixel(probe.x, probe.y) : probe.expected;
            if (!(seen == probe.expected))
                problem << probe.where << " (" << probe.x << ", " << probe.y << ") is " << seen
                        << ", not " << probe.expected << "; ";
        }
        if (client.w == 0)
            problem << "no window";
        else
            problem << "in window " << client << ", canvas " << canvas;
        return problem.str().find(" is ") == std::string::npos && client.w > 0;
    });
    if (shown)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problem.str();
}

::testing::AssertionResult isCentredDefaultWindow(XSession &x)
{
    const int left = (x.screenWidth() - 800) / 2, top = (x.screenHeight() - 600) / 2;
    Rect client{0, 0, 0, 0}, decorations{0, 0, 0, 0};
    const bool placed = waitUntil([&] {
        client = x.clientRect();
        decorations = x.frameExtents();
        return client.w == 800 && client.h == 600 && client.x >= left &&
               client.x <= left + decorations.x && client.y >= top &&
               client.y <= top + decorations.y && !x.isMaximized() && !x.isFullscreen();
    });
    if (placed)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "window " << client << " with decorations " << decorations << " and state "
           << ::testing::PrintToString(x.windowState()) << ", expected 800 x 600 at " << left
           << ", " << top;
}

// ---- Processes ----

// The environment of every process the fixture starts: the private display, and nothing that
// could send SDL to another display or driver.
static std::vector<std::string> childEnvironment(const std::string &displayName,
                                                 const std::string &runtimeDir,
                                                 const std::vector<std::string> &extra)
{
    std::vector<std::string> result;
    for (char **entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        if (name == "DISPLAY" || name == "WAYLAND_DISPLAY" || name == "XDG_RUNTIME_DIR" ||
            name.rfind("SDL_", 0) == 0 || name.rfind("ASAN_", 0) == 0 ||
            name.rfind("UBSAN_", 0) == 0)
            continue;
        result.push_back(variable);
    }
    if (!displayName.empty())
        result.push_back("DISPLAY=" + displayName);
    result.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

static pid_t spawn(const std::vector<std::string> &arguments,
                   const std::vector<std::string> &environment, const std::string &outputPath)
{
    std::vector<char *> argv, envp;
    for (const std::string &a : arguments)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string &e : environment)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (outputPath + ".out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (outputPath + ".err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + arguments[0] + ": " + std::strerror(error));
    return pid;
}

// Ends a process the fixture started: politely, then for certain.
static void stop(pid_t &pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    const bool ended = waitUntil([&] { return waitpid(pid, nullptr, WNOHANG) == pid; }, 5s);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = -1;
}

static std::string readFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The program's window disappears when it exits; a query racing that must not end the test.
static int ignoreXError(::Display *, XErrorEvent *)
{
    return 0;
}

XSession::~XSession()
{
    if (program_ > 0) {
        kill(program_, SIGKILL);
        waitpid(program_, nullptr, 0);
    }
    if (display_)
        XCloseDisplay(display_);
    stop(windowManager_);
    stop(server_);
    if (!logDir_.empty()) {
        if (::testing::Test::HasFailure())
            std::fprintf(stderr, "logs of the failed test kept in %s\n", logDir_.c_str());
        else
            std::filesystem::remove_all(logDir_);
    }
}

XSession::XSession()
{
    char dirTemplate[] = "/tmp/window-modes-e2e-XXXXXX";
    logDir_ = mkdtemp(dirTemplate);
}

void XSession::startServer(Server server)
{

    // The server picks a free display number and writes it to this pipe once it is ready.
    int ready[2];
    if (pipe(ready) != 0)
        throw std::runtime_error("pipe");
    fcntl(ready[0], F_SETFD, FD_CLOEXEC);
    const std::string fd = std::to_string(ready[1]);
    std::vector<std::string> arguments;
    if (server == Server::Xvfb)
        arguments = {"Xvfb",         "-displayfd", fd,    "-screen", "0",
                     "1920x1080x24", "-nolisten",  "tcp", "-noreset"};
    else
        arguments = {"Xorg",
                     "-displayfd",
                     fd,
                     "-config",
                     XORG_DUMMY_CONFIG,
                     "-noreset",
                     "-nolisten",
                     "tcp",
                     "-novtswitch",
                     "-logfile",
                     logDir_ + "/Xorg.log"};
    server_ = spawn(arguments, childEnvironment("", logDir_, {}), logDir_ + "/server");
    close(ready[1]);

    fcntl(ready[0], F_SETFL, O_NONBLOCK);
    std::string number;
    const bool announced = waitUntil([&] {
        char c;
        while (read(ready[0], &c, 1) == 1) {
            if (c == '\n')
                return true;
            number += c;
        }
        return false;
    });
    close(ready[0]);
    if (!announced || number.empty())
        throw std::runtime_error(arguments[0] +
                                 " did not start: " + readFile(logDir_ + "/server.err"));
    displayName_ = ":" + number;
    display_ = XOpenDisplay(displayName_.c_str());
    if (!display_)
        throw std::runtime_error("cannot connect to " + displayName_);
    XSetErrorHandler(ignoreXError);
    XAutoRepeatOn(display_);
}

void XSession::startWindowManager()
{
    windowManager_ = spawn({"openbox", "--sm-disable"}, childEnvironment(displayName_, logDir_, {}),
                           logDir_ + "/openbox");
    const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    const bool managing = waitUntil([&] {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char *data = nullptr;
        XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &after, &data);
        if (data)
            XFree(data);
        return count == 1;
    });
    if (!managing)
        throw std::runtime_error("openbox did not start: " + readFile(logDir_ + "/openbox.err"));
}

::Window XSession::findWindowByTitle(::Window under, const char *title)
{
    char *name = nullptr;
    if (XFetchName(display_, under, &name) && name) {
        const bool match = std::strcmp(name, title) == 0;
        XFree(name);
        XWindowAttributes attributes;
        if (match && XGetWindowAttributes(display_, under, &attributes) &&
            attributes.map_state == IsViewable)
            return under;
    }
    ::Window root, parent, *children = nullptr;
    unsigned int count = 0;
    ::Window found = 0;
    if (XQueryTree(display_, under, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = findWindowByTitle(children[i], title);
        if (children)
            XFree(children);
    }
    return found;
}

void XSession::startProgram(const std::string &program, const std::vector<std::string> &environment)
{
    program_ = spawn({program}, childEnvironment(displayName_, logDir_, environment),
                     logDir_ + "/program");
}

void XSession::launchProgram(const std::string &program,
                             const std::vector<std::string> &environment)
{
    startProgram(program, environment);
    const bool shown = waitUntil([&] {
        window_ = findWindowByTitle(DefaultRootWindow(display_), "Window modes demo");
        return window_ != 0 || !programRunning();
    });
    if (!shown || window_ == 0)
        throw std::runtime_error("the program showed no window: " +
                                 readFile(logDir_ + "/program.err"));
    // Keys go to the focused window: the window manager focuses a new window; without one, the
    // fixture does.
    if (windowManager_ <= 0)
        focusProgram();
    const bool focused = waitUntil([&] {
        ::Window focus;
        int revert;
        XGetInputFocus(display_, &focus, &revert);
        return focus == window_;
    });
    if (!focused)
        throw std::runtime_error("the program's window did not get the keyboard focus");
}

bool XSession::programRunning()
{
    if (program_ <= 0)
        return false;
    int status = 0;
    if (waitpid(program_, &status, WNOHANG) != program_)
        return true;
    program_ = -1;
    if (WIFEXITED(status))
        programStatus_ = WEXITSTATUS(status);
    return false;
}

void XSession::terminateProgram()
{
    if (programRunning())
        kill(program_, SIGTERM);
}

ProgramRun XSession::waitForExit(Seconds deadline)
{
    waitUntil([&] { return !programRunning(); }, deadline);
    return ProgramRun{programStatus_, readFile(logDir_ + "/program.out"),
                      readFile(logDir_ + "/program.err")};
}

// ---- What a person sees ----

// Asked of the server each time: a display mode change can resize the screen.
static Rect rootGeometry(::Display *display)
{
    ::Window root;
    int x = 0, y = 0;
    unsigned int w = 0, h = 0, border, depth;
    XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h, &border, &depth);
    return Rect{x, y, static_cast<int>(w), static_cast<int>(h)};
}

int XSession::screenWidth() const
{
    return rootGeometry(display_).w;
}
int XSession::screenHeight() const
{
    return rootGeometry(display_).h;
}

Rect XSession::clientRect()
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window_, &attributes))
        return Rect{0, 0, 0, 0};
    int x = 0, y = 0;
    ::Window child;
    XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return Rect{x, y, attributes.width, attributes.height};
}

static std::vector<unsigned long> cardinals(::Display *display, ::Window window, const char *name,
                                            Atom type)
{
    Atom actualType;
    int format;
    unsigned long count = 0, after;
    unsigned char *data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 64, False, type,
                           &actualType, &format, &count, &after, &data) == Success &&
        data) {
        const unsigned long *items = reinterpret_cast<unsigned long *>(data);
        values.assign(items, items + count);
        XFree(data);
    }
    return values;
}

Rect XSession::frameExtents()
{
    const std::vector<unsigned long> v =
        cardinals(display_, window_, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (v.size() != 4)
        return Rect{0, 0, 0, 0};
    return Rect{static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                static_cast<int>(v[3])};
}

std::set<std::string> XSession::windowState()
{
    std::set<std::string> names;
    for (unsigned long atom : cardinals(display_, window_, "_NET_WM_STATE", XA_ATOM)) {
        char *name = XGetAtomName(display_, atom);
        if (name) {
            names.insert(name);
            XFree(name);
        }
    }
    return names;
}

bool XSession::isFullscreen()
{
    return windowState().count("_NET_WM_STATE_FULLSCREEN") == 1;
}

bool XSession::isMaximized()
{
    const std::set<std::string> state = windowState();
    return state.count("_NET_WM_STATE_MAXIMIZED_VERT") &&
           state.count("_NET_WM_STATE_MAXIMIZED_HORZ");
}

static Rgb rgbOf(unsigned long value)
{
    return Rgb{static_cast<int>((value >> 16) & 0xff), static_cast<int>((value >> 8) & 0xff),
               static_cast<int>(value & 0xff)};
}

Rgb XSession::pixel(int x, int y)
{
    XImage *image =
        XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return Rgb{-1, -1, -1};
    const Rgb colour = rgbOf(XGetPixel(image, 0, 0));
    XDestroyImage(image);
    return colour;
}

std::vector<unsigned char> XSession::screenshotRgb(int &width, int &height)
{
    width = screenWidth();
    height = screenHeight();
    std::vector<unsigned char> rgb;
    XImage *image =
        XGetImage(display_, DefaultRootWindow(display_), 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = rgbOf(XGetPixel(image, x, y));
            rgb.insert(rgb.end(), {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                   static_cast<unsigned char>(c.b)});
        }
    }
    XDestroyImage(image);
    return rgb;
}

Rect XSession::screenMode()
{
    Rect mode{0, 0, 0, 0};
    XRRScreenResources *resources =
        XRRGetScreenResourcesCurrent(display_, DefaultRootWindow(display_));
    if (!resources)
        return mode;
    for (int c = 0; c < resources->ncrtc && mode.w == 0; ++c) {
        XRRCrtcInfo *crtc = XRRGetCrtcInfo(display_, resources, resources->crtcs[c]);
        if (crtc && crtc->mode != None)
            mode = Rect{crtc->x, crtc->y, static_cast<int>(crtc->width),
                        static_cast<int>(crtc->height)};
        if (crtc)
            XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return mode;
}

void XSession::pointer(int &x, int &y)
{
    ::Window root, child;
    int windowX, windowY;
    unsigned int mask;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &windowX, &windowY,
                  &mask);
}

bool XSession::pointerGrabbedElsewhere()
{
    const int result = XGrabPointer(display_, DefaultRootWindow(display_), False, 0, GrabModeAsync,
                                    GrabModeAsync, None, None, CurrentTime);
    if (result == GrabSuccess)
        XUngrabPointer(display_, CurrentTime);
    XSync(display_, False);
    return result == AlreadyGrabbed;
}

// ---- What a person does ----

static KeyCode keycode(::Display *display, const char *keyName)
{
    const KeySym symbol = XStringToKeysym(keyName);
    const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
    if (code == 0)
        throw std::runtime_error(std::string("no key for ") + keyName);
    return code;
}

void XSession::pressKey(const char *keyName, const std::vector<const char *> &modifiers)
{
    for (const char *modifier : modifiers)
        XTestFakeKeyEvent(display_, keycode(display_, modifier), True, CurrentTime);
    XTestFakeKeyEvent(display_, keycode(display_, keyName), True, CurrentTime);
    XTestFakeKeyEvent(display_, keycode(display_, keyName), False, CurrentTime);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
        XTestFakeKeyEvent(display_, keycode(display_, *modifier), False, CurrentTime);
    XSync(display_, False);
}

// The server repeats a held key as a keyboard does.
void XSession::holdKey(const char *keyName, Seconds duration)
{
    XTestFakeKeyEvent(display_, keycode(display_, keyName), True, CurrentTime);
    XSync(display_, False);
    std::this_thread::sleep_for(duration);
    XTestFakeKeyEvent(display_, keycode(display_, keyName), False, CurrentTime);
    XSync(display_, False);
}

// Relative motion moves the pointer as a real mouse does; pointer barriers hold it.
void XSession::moveMouseBy(int dx, int dy)
{
    XTestFakeRelativeMotionEvent(display_, dx, dy, CurrentTime);
    XSync(display_, False);
}

void XSession::warpMouseTo(int x, int y)
{
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

void XSession::focusProgram()
{
    XSetInputFocus(display_, window_, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
}

// A request as a pager or the title bar makes it (source indication 2: the user).
void XSession::sendWmMessage(const char *type, long l0, long l1, long l2, long l3, long l4)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = XInternAtom(display_, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(display_, False);
}

void XSession::wmSetMaximized(bool maximized)
{
    constexpr long REMOVE = 0, ADD = 1, SOURCE_USER = 2;
    sendWmMessage("_NET_WM_STATE", maximized ? ADD : REMOVE,
                  static_cast<long>(XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_VERT", False)),
                  static_cast<long>(XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_HORZ", False)),
                  SOURCE_USER);
}

void XSession::wmResize(int width, int height)
{
    constexpr long WIDTH = 1L << 10, HEIGHT = 1L << 11, SOURCE_USER = 2L << 12;
    sendWmMessage("_NET_MOVERESIZE_WINDOW", WIDTH | HEIGHT | SOURCE_USER, 0, 0, width, height);
}

void XSession::wmClose()
{
    constexpr long SOURCE_USER = 2;
    sendWmMessage("_NET_CLOSE_WINDOW", CurrentTime, SOURCE_USER);
}

} // namespace e2e
