// Start-up, the event loop with its dispatch, and shutdown.
#include "app_state.h"
#include "event_loop.h"
#include "sdl_stand_in.h"
#include "started_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace
{

using standIn::keyDown;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::ExitedWithCode;
using ::testing::StartsWith;

const char *const SHUTDOWN_CALLS = "SDL_DestroyTexture(canvas)\n"
                                   "SDL_DestroyRenderer(renderer)\n"
                                   "SDL_DestroyWindow(window)\n"
                                   "SDL_Quit()\n";

// ---- Start-up ----

class StartUp : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        standIn::reset();
        appState = AppState{};
    }
};

TEST_F(StartUp, CreatesTheWindowHiddenThenSizesPlacesLimitsAndShowsIt)
{
    startUp();
    EXPECT_THAT(standIn::calls(),
                ElementsAre("SDL_Init(0x20)", "SDL_GetHint(\"SDL_VIDEODRIVER\")",
                            "SDL_GetCurrentVideoDriver()",
                            "SDL_CreateWindow(\"Window modes demo\", 0, 0, 0, 0, 0x28)",
                            "SDL_CreateRenderer(window, -1, 0xe)",
                            "SDL_CreateTexture(renderer, 0x16762004, 2, 400, 225)",
                            "SDL_SetWindowSize(window, 800, 600)",
                            "SDL_SetWindowPosition(window, 0x2fff0000, 0x2fff0000)",
                            "SDL_SetWindowMinimumSize(window, 400, 225)",
                            "SDL_ShowWindow(window)"));
}

TEST_F(StartUp, LeavesTheStateAtItsStartValues)
{
    appState.windowMode = WindowMode::ExclusiveFullscreen;
    appState.displayModeIndex = 3;
    appState.mouseConfined = true;
    startUp();
    EXPECT_EQ(appState.mainWindow, standIn::window);
    EXPECT_EQ(appState.mainRenderer, standIn::renderer);
    EXPECT_EQ(appState.canvas, standIn::canvas);
    EXPECT_EQ(appState.windowMode, WindowMode::Windowed);
    EXPECT_EQ(appState.displayModeIndex, 0u);
    EXPECT_FALSE(appState.mouseConfined);
    const SDL_Rect &r = appState.contentRect;
    EXPECT_TRUE(r.x == 0 && r.y == 0 && r.w == 0 && r.h == 0);
}

// A user who asks for a driver without a screen, for instance to run headless, gets it.
TEST_F(StartUp, AcceptsADriverWithoutAScreenWhenTheUserAskedForIt)
{
    standIn::script.videoDriver = "offscreen";
    standIn::script.videoDriverHint = "offscreen";
    startUp();
    EXPECT_EQ(standIn::calls().back(), "SDL_ShowWindow(window)");
}

struct FailureCase {
    const char *name;
    void (*arrange)(standIn::Script &);
    const char *message;
    // The record from the failing call to the end: the error asked for and the clean-up.
    const char *lastCalls;
};

const FailureCase failureCases[] = {
    {"InitFails", [](standIn::Script &s) { s.initResult = -1; },
     "window-modes-demo: cannot initialise SDL: stand-in error",
     "SDL_Init(0x20)\nSDL_GetError()\nSDL_Quit()\n"},
    {"OffscreenDriver", [](standIn::Script &s) { s.videoDriver = "offscreen"; },
     "window-modes-demo: no display to open a window on",
     "SDL_GetCurrentVideoDriver()\nSDL_Quit()\n"},
    {"DummyDriver", [](standIn::Script &s) { s.videoDriver = "dummy"; },
     "window-modes-demo: no display to open a window on",
     "SDL_GetCurrentVideoDriver()\nSDL_Quit()\n"},
    {"WindowFails", [](standIn::Script &s) { s.windowFails = true; },
     "window-modes-demo: cannot create the window: stand-in error",
     "SDL_CreateWindow(\"Window modes demo\", 0, 0, 0, 0, 0x28)\nSDL_GetError()\nSDL_Quit()\n"},
    {"RendererFails", [](standIn::Script &s) { s.rendererFails = true; },
     "window-modes-demo: cannot create the renderer: stand-in error",
     "SDL_CreateRenderer(window, -1, 0xe)\nSDL_GetError()\nSDL_DestroyWindow(window)\n"
     "SDL_Quit()\n"},
    {"CanvasFails", [](standIn::Script &s) { s.textureFails = true; },
     "window-modes-demo: cannot create the canvas: stand-in error",
     "SDL_CreateTexture(renderer, 0x16762004, 2, 400, 225)\nSDL_GetError()\n"
     "SDL_DestroyRenderer(renderer)\nSDL_DestroyWindow(window)\nSDL_Quit()\n"},
};

std::ostream &operator<<(std::ostream &out, const FailureCase &c)
{
    return out << c.name;
}

class StartUpFailureDeathTest : public ::testing::TestWithParam<FailureCase>
{
};

// One line on standard error, then the record: what was made is destroyed, SDL is shut down,
// and the exit status is 1.
TEST_P(StartUpFailureDeathTest, SaysWhatFailedCleansUpAndExitsWithStatus1)
{
    const FailureCase &c = GetParam();
    standIn::reset();
    appState = AppState{};
    c.arrange(standIn::script);
    EXPECT_EXIT(
        {
            standIn::writeCallsAtExit();
            startUp();
        },
        ExitedWithCode(1),
        AllOf(StartsWith(std::string(c.message) + "\nSDL_Init(0x20)\n"), EndsWith(c.lastCalls)));
}

INSTANTIATE_TEST_SUITE_P(Cases, StartUpFailureDeathTest, ::testing::ValuesIn(failureCases),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Dispatch ----

class Dispatch : public StartedProgram
{
};
class DispatchDeathTest : public StartedProgram
{
};

TEST_F(Dispatch, SizeChangeRecomputesTheContentRectangle)
{
    deliver(standIn::sizeChanged(2560, 1080));
    const SDL_Rect &r = appState.contentRect;
    EXPECT_EQ((std::array<int, 4>{r.x, r.y, r.w, r.h}), (std::array<int, 4>{320, 0, 1920, 1080}));
}

struct IgnoredCase {
    const char *name;
    SDL_Event event;
};

SDL_Event escapeSymbolOnAnotherKey()
{
    SDL_Event event = keyDown(SDL_SCANCODE_Q);
    event.key.keysym.sym = SDLK_ESCAPE;
    return event;
}

const IgnoredCase ignoredCases[] = {
    {"EscapeRepeat", keyDown(SDL_SCANCODE_ESCAPE, KMOD_NONE, 1)},
    {"EscapeRelease", standIn::keyUp(SDL_SCANCODE_ESCAPE)},
    {"UnboundKey", keyDown(SDL_SCANCODE_Q)},
    {"UnboundKeyWithCtrl", keyDown(SDL_SCANCODE_Q, KMOD_LCTRL)},
    {"EscapeSymbolOnAnotherKey", escapeSymbolOnAnotherKey()},
    {"MouseMotion", standIn::mouseMotion(10, 10)},
    {"ResizedCarriesNoSize", standIn::windowEvent(SDL_WINDOWEVENT_RESIZED, 1000, 450)},
    {"Moved", standIn::windowEvent(SDL_WINDOWEVENT_MOVED, 10, 20)},
    {"Minimized", standIn::windowEvent(SDL_WINDOWEVENT_MINIMIZED)},
    {"FocusGained", standIn::windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)},
    {"FocusLost", standIn::windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)},
    {"Exposed", standIn::windowEvent(SDL_WINDOWEVENT_EXPOSED)},
    {"CloseIsFollowedByAQuitRequest", standIn::windowEvent(SDL_WINDOWEVENT_CLOSE)},
};

std::ostream &operator<<(std::ostream &out, const IgnoredCase &c)
{
    return out << c.name;
}

class IgnoredEvent : public StartedProgram, public ::testing::WithParamInterface<IgnoredCase>
{
};

TEST_P(IgnoredEvent, ChangesNothingAndCallsNothing)
{
    deliver(standIn::sizeChanged(800, 600));
    standIn::clearCalls();
    const AppState before = appState;
    deliver(GetParam().event);
    EXPECT_THAT(standIn::calls(), ::testing::IsEmpty());
    // Field by field: a copy need not keep the padding between them.
    const SDL_Rect &r = appState.contentRect, &b = before.contentRect;
    EXPECT_TRUE(r.x == b.x && r.y == b.y && r.w == b.w && r.h == b.h);
    EXPECT_EQ(std::memcmp(&appState.displayMode, &before.displayMode, sizeof before.displayMode),
              0);
    EXPECT_EQ(appState.windowMode, before.windowMode);
    EXPECT_EQ(appState.displayModeIndex, before.displayModeIndex);
    EXPECT_EQ(appState.mouseConfined, before.mouseConfined);
    EXPECT_EQ(appState.mainWindow, before.mainWindow);
    EXPECT_EQ(appState.mainRenderer, before.mainRenderer);
    EXPECT_EQ(appState.canvas, before.canvas);
}

INSTANTIATE_TEST_SUITE_P(Cases, IgnoredEvent, ::testing::ValuesIn(ignoredCases),
                         [](const auto &info) { return std::string(info.param.name); });

struct QuitCase {
    const char *name;
    SDL_Event event;
};

const QuitCase quitCases[] = {
    {"QuitRequest", standIn::quitRequest()},
    {"Escape", keyDown(SDL_SCANCODE_ESCAPE)},
    {"ShiftEscape", keyDown(SDL_SCANCODE_ESCAPE, KMOD_LSHIFT)},
    {"CtrlAltEscape", keyDown(SDL_SCANCODE_ESCAPE, KMOD_RCTRL | KMOD_LALT)},
};

std::ostream &operator<<(std::ostream &out, const QuitCase &c)
{
    return out << c.name;
}

class QuitDeathTest : public StartedProgram, public ::testing::WithParamInterface<QuitCase>
{
};

TEST_P(QuitDeathTest, ShutsDownInReverseOrderAndExitsWithStatus0)
{
    EXPECT_EXIT(
        {
            standIn::writeCallsAtExit();
            deliver(GetParam().event);
        },
        ExitedWithCode(0), ::testing::StrEq(SHUTDOWN_CALLS));
}

INSTANTIATE_TEST_SUITE_P(Cases, QuitDeathTest, ::testing::ValuesIn(quitCases),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- The loop ----

// Every queued event is handled before a frame is drawn, and a frame only when the queue is
// empty.
TEST_F(DispatchDeathTest, LoopDrainsTheQueueBeforeEachFrame)
{
    standIn::queueEvent(standIn::sizeChanged(800, 600));
    standIn::queueEvent(standIn::sizeChanged(1000, 450));
    standIn::queueEmptyPoll();
    standIn::queueEmptyPoll();
    standIn::queueEvent(standIn::quitRequest());
    const std::string frame = "SDL_SetRenderTarget(renderer, canvas)\n"
                              "SDL_SetRenderDrawColor(renderer, 100, 100, 100, 255)\n"
                              "SDL_RenderClear(renderer)\n"
                              "SDL_SetRenderTarget(renderer, NULL)\n"
                              "SDL_SetRenderDrawColor(renderer, 32, 32, 32, 255)\n"
                              "SDL_RenderClear(renderer)\n"
                              "SDL_RenderCopy(renderer, canvas, NULL, {100, 0, 800, 450})\n"
                              "SDL_RenderPresent(renderer)\n";
    EXPECT_EXIT(
        {
            standIn::writeCallsAtExit();
            runEventLoop();
        },
        ExitedWithCode(0),
        ::testing::StrEq("SDL_PollEvent() = 1\nSDL_PollEvent() = 1\nSDL_PollEvent() = 0\n" + frame +
                         "SDL_PollEvent() = 0\n" + frame + "SDL_PollEvent() = 1\n" +
                         SHUTDOWN_CALLS));
}

} // namespace
