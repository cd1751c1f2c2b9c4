// The window modes: the keys W, M, F, E, A, Page Up and Page Down, and the window manager's
// maximize and restore, delivered through the dispatch as the loop delivers them.
#include "app_state.h"
#include "sdl_stand_in.h"
#include "started_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

using standIn::keyDown;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Calls = std::vector<std::string>;

const char *const FLAGS = "SDL_GetWindowFlags(window)";
const char *const LEAVE_FULLSCREEN = "SDL_SetWindowFullscreen(window, 0)";
const char *const RESTORE = "SDL_RestoreWindow(window)";
const char *const SIZE_800_600 = "SDL_SetWindowSize(window, 800, 600)";
const char *const CENTRE = "SDL_SetWindowPosition(window, 0x2fff0000, 0x2fff0000)";
const char *const MAXIMIZE = "SDL_MaximizeWindow(window)";
const char *const DESKTOP_FULLSCREEN = "SDL_SetWindowFullscreen(window, 0x1001)";
const char *const EXCLUSIVE_FULLSCREEN = "SDL_SetWindowFullscreen(window, 0x1)";

const char *modeName(WindowMode mode)
{
    switch (mode) {
    case WindowMode::Windowed:
        return "Windowed";
    case WindowMode::Maximized:
        return "Maximized";
    case WindowMode::DesktopFullscreen:
        return "DesktopFullscreen";
    case WindowMode::ExclusiveFullscreen:
        return "ExclusiveFullscreen";
    }
    return "?";
}

// The flags SDL reports for a window that really is in the mode, beside the ones every shown
// resizable OpenGL window has.
Uint32 flagsOf(WindowMode mode)
{
    const Uint32 always = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_OPENGL;
    switch (mode) {
    case WindowMode::Windowed:
        return always;
    case WindowMode::Maximized:
        return always | SDL_WINDOW_MAXIMIZED;
    case WindowMode::DesktopFullscreen:
        return always | SDL_WINDOW_FULLSCREEN_DESKTOP;
    case WindowMode::ExclusiveFullscreen:
        return always | SDL_WINDOW_FULLSCREEN;
    }
    return always;
}

struct Input {
    const char *name;
    SDL_Event event;
};

const Input W{"W", keyDown(SDL_SCANCODE_W)}, M{"M", keyDown(SDL_SCANCODE_M)},
    F{"F", keyDown(SDL_SCANCODE_F)}, E{"E", keyDown(SDL_SCANCODE_E)},
    A{"A", keyDown(SDL_SCANCODE_A)}, PAGE_UP{"PageUp", keyDown(SDL_SCANCODE_PAGEUP)},
    PAGE_DOWN{"PageDown", keyDown(SDL_SCANCODE_PAGEDOWN)},
    MAXIMIZED{"Maximized", standIn::windowEvent(SDL_WINDOWEVENT_MAXIMIZED)},
    RESTORED{"Restored", standIn::windowEvent(SDL_WINDOWEVENT_RESTORED)};

// ---- The state machine ----

// Every case starts with the rectangle of an 800 × 600 window, three display modes and the
// second of them chosen, so that both Page keys can move.
struct Transition {
    WindowMode from;
    Uint32 flags;
    Input input;
    Calls calls;
    WindowMode to;
    Uint32 indexAfter;
};

std::ostream &operator<<(std::ostream &out, const Transition &t)
{
    return out << t.input.name << " from " << modeName(t.from);
}

const WindowMode WINDOWED = WindowMode::Windowed, MAXIMIZED_MODE = WindowMode::Maximized,
                 DESKTOP = WindowMode::DesktopFullscreen,
                 EXCLUSIVE = WindowMode::ExclusiveFullscreen;

const std::vector<Transition> transitions = {
    // W
    {WINDOWED, flagsOf(WINDOWED), W, {}, WINDOWED, 1},
    {MAXIMIZED_MODE,
     flagsOf(MAXIMIZED_MODE),
     W,
     {FLAGS, RESTORE, SIZE_800_600, CENTRE},
     WINDOWED,
     1},
    {DESKTOP, flagsOf(DESKTOP), W, {FLAGS, LEAVE_FULLSCREEN, SIZE_800_600, CENTRE}, WINDOWED, 1},
    {EXCLUSIVE,
     flagsOf(EXCLUSIVE),
     W,
     {FLAGS, LEAVE_FULLSCREEN, SIZE_800_600, CENTRE},
     WINDOWED,
     1},
    // M: maximizes from the centred 800 × 600 window, without restoring first
    {WINDOWED, flagsOf(WINDOWED), M, {FLAGS, SIZE_800_600, CENTRE, MAXIMIZE}, MAXIMIZED_MODE, 1},
    {MAXIMIZED_MODE, flagsOf(MAXIMIZED_MODE), M, {}, MAXIMIZED_MODE, 1},
    {DESKTOP,
     flagsOf(DESKTOP),
     M,
     {FLAGS, LEAVE_FULLSCREEN, SIZE_800_600, CENTRE, MAXIMIZE},
     MAXIMIZED_MODE,
     1},
    {EXCLUSIVE,
     flagsOf(EXCLUSIVE),
     M,
     {FLAGS, LEAVE_FULLSCREEN, SIZE_800_600, CENTRE, MAXIMIZE},
     MAXIMIZED_MODE,
     1},
    // F
    {WINDOWED, flagsOf(WINDOWED), F, {FLAGS, SIZE_800_600, CENTRE, DESKTOP_FULLSCREEN}, DESKTOP, 1},
    {MAXIMIZED_MODE,
     flagsOf(MAXIMIZED_MODE),
     F,
     {FLAGS, RESTORE, SIZE_800_600, CENTRE, DESKTOP_FULLSCREEN},
     DESKTOP,
     1},
    {DESKTOP, flagsOf(DESKTOP), F, {}, DESKTOP, 1},
    {EXCLUSIVE,
     flagsOf(EXCLUSIVE),
     F,
     {FLAGS, LEAVE_FULLSCREEN, SIZE_800_600, CENTRE, DESKTOP_FULLSCREEN},
     DESKTOP,
     1},
    // E: the display mode is set on the window before it goes fullscreen; size and place stay
    {WINDOWED,
     flagsOf(WINDOWED),
     E,
     {FLAGS, "SDL_GetDisplayMode(0, 1)", "SDL_SetWindowDisplayMode(window, 1600x900@60)",
      EXCLUSIVE_FULLSCREEN},
     EXCLUSIVE,
     1},
    {MAXIMIZED_MODE,
     flagsOf(MAXIMIZED_MODE),
     E,
     {FLAGS, RESTORE, "SDL_GetDisplayMode(0, 1)", "SDL_SetWindowDisplayMode(window, 1600x900@60)",
      EXCLUSIVE_FULLSCREEN},
     EXCLUSIVE,
     1},
    {DESKTOP,
     flagsOf(DESKTOP),
     E,
     {FLAGS, LEAVE_FULLSCREEN, "SDL_GetDisplayMode(0, 1)",
      "SDL_SetWindowDisplayMode(window, 1600x900@60)", EXCLUSIVE_FULLSCREEN},
     EXCLUSIVE,
     1},
    {EXCLUSIVE, flagsOf(EXCLUSIVE), E, {}, EXCLUSIVE, 1},
    // A: only a normal window shrinks to the canvas
    {WINDOWED, flagsOf(WINDOWED), A, {"SDL_SetWindowSize(window, 800, 450)"}, WINDOWED, 1},
    {MAXIMIZED_MODE, flagsOf(MAXIMIZED_MODE), A, {}, MAXIMIZED_MODE, 1},
    {DESKTOP, flagsOf(DESKTOP), A, {}, DESKTOP, 1},
    {EXCLUSIVE, flagsOf(EXCLUSIVE), A, {}, EXCLUSIVE, 1},
    // Page Up and Page Down: only in exclusive fullscreen, which is left and entered again
    {WINDOWED, flagsOf(WINDOWED), PAGE_UP, {}, WINDOWED, 1},
    {MAXIMIZED_MODE, flagsOf(MAXIMIZED_MODE), PAGE_UP, {}, MAXIMIZED_MODE, 1},
    {DESKTOP, flagsOf(DESKTOP), PAGE_UP, {}, DESKTOP, 1},
    {EXCLUSIVE,
     flagsOf(EXCLUSIVE),
     PAGE_UP,
     {"SDL_GetDisplayMode(0, 0)", LEAVE_FULLSCREEN,
      "SDL_SetWindowDisplayMode(window, 1920x1080@60)", EXCLUSIVE_FULLSCREEN},
     EXCLUSIVE,
     0},
    {WINDOWED, flagsOf(WINDOWED), PAGE_DOWN, {}, WINDOWED, 1},
    {MAXIMIZED_MODE, flagsOf(MAXIMIZED_MODE), PAGE_DOWN, {}, MAXIMIZED_MODE, 1},
    {DESKTOP, flagsOf(DESKTOP), PAGE_DOWN, {}, DESKTOP, 1},
    {EXCLUSIVE,
     flagsOf(EXCLUSIVE),
     PAGE_DOWN,
     {"SDL_GetNumDisplayModes(0)", "SDL_GetDisplayMode(0, 2)", LEAVE_FULLSCREEN,
      "SDL_SetWindowDisplayMode(window, 1280x720@60)", EXCLUSIVE_FULLSCREEN},
     EXCLUSIVE,
     2},
    // The window manager's maximize and restore change the mode and call nothing
    {WINDOWED, flagsOf(WINDOWED), MAXIMIZED, {}, MAXIMIZED_MODE, 1},
    {MAXIMIZED_MODE, flagsOf(MAXIMIZED_MODE), MAXIMIZED, {}, MAXIMIZED_MODE, 1},
    {DESKTOP, flagsOf(DESKTOP), MAXIMIZED, {}, MAXIMIZED_MODE, 1},
    {EXCLUSIVE, flagsOf(EXCLUSIVE), MAXIMIZED, {}, MAXIMIZED_MODE, 1},
    {WINDOWED, flagsOf(WINDOWED), RESTORED, {}, WINDOWED, 1},
    {MAXIMIZED_MODE, flagsOf(MAXIMIZED_MODE), RESTORED, {}, WINDOWED, 1},
    {DESKTOP, flagsOf(DESKTOP), RESTORED, {}, DESKTOP, 1},
    {EXCLUSIVE, flagsOf(EXCLUSIVE), RESTORED, {}, EXCLUSIVE, 1},
    // The flags, not the mode, decide what is left: a window both maximized and fullscreen
    // leaves both, and maximizing never restores first.
    {DESKTOP,
     flagsOf(DESKTOP) | SDL_WINDOW_MAXIMIZED,
     W,
     {FLAGS, LEAVE_FULLSCREEN, RESTORE, SIZE_800_600, CENTRE},
     WINDOWED,
     1},
    {EXCLUSIVE,
     flagsOf(EXCLUSIVE) | SDL_WINDOW_MAXIMIZED,
     F,
     {FLAGS, LEAVE_FULLSCREEN, RESTORE, SIZE_800_600, CENTRE, DESKTOP_FULLSCREEN},
     DESKTOP,
     1},
    {DESKTOP,
     flagsOf(DESKTOP) | SDL_WINDOW_MAXIMIZED,
     M,
     {FLAGS, LEAVE_FULLSCREEN, SIZE_800_600, CENTRE, MAXIMIZE},
     MAXIMIZED_MODE,
     1},
    {WINDOWED,
     flagsOf(WINDOWED) | SDL_WINDOW_FULLSCREEN,
     E,
     {FLAGS, LEAVE_FULLSCREEN, "SDL_GetDisplayMode(0, 1)",
      "SDL_SetWindowDisplayMode(window, 1600x900@60)", EXCLUSIVE_FULLSCREEN},
     EXCLUSIVE,
     1},
};

class WindowModes : public StartedProgram
{
  protected:
    void SetUp() override
    {
        StartedProgram::SetUp();
        deliver(standIn::sizeChanged(800, 600));
        standIn::script.numDisplayModes = 3;
        standIn::clearCalls();
    }

    // A window that does what it is told: its flags follow the mode.
    void press(const SDL_Event &event)
    {
        standIn::script.windowFlags = flagsOf(appState.windowMode);
        deliver(event);
    }
};

class StateMachine : public WindowModes, public ::testing::WithParamInterface<Transition>
{
};

TEST_P(StateMachine, MakesExactlyTheCallsOfTheTransition)
{
    const Transition &t = GetParam();
    appState.windowMode = t.from;
    appState.displayModeIndex = 1;
    standIn::script.windowFlags = t.flags;
    deliver(t.input.event);
    EXPECT_THAT(standIn::calls(), ElementsAreArray(t.calls));
    EXPECT_STREQ(modeName(appState.windowMode), modeName(t.to));
    EXPECT_EQ(appState.displayModeIndex, t.indexAfter);
}

INSTANTIATE_TEST_SUITE_P(Table, StateMachine, ::testing::ValuesIn(transitions));

// Modifiers are not looked at and a held key acts once.
TEST_F(WindowModes, KeysActLikeTheBareKeyWithModifiersAndOnceWhenHeld)
{
    press(keyDown(SDL_SCANCODE_F, KMOD_LSHIFT));
    EXPECT_EQ(appState.windowMode, WindowMode::DesktopFullscreen);
    press(keyDown(SDL_SCANCODE_W, KMOD_LCTRL));
    EXPECT_EQ(appState.windowMode, WindowMode::Windowed);
    press(keyDown(SDL_SCANCODE_M, KMOD_RALT | KMOD_RSHIFT));
    EXPECT_EQ(appState.windowMode, WindowMode::Maximized);
    standIn::clearCalls();
    press(keyDown(SDL_SCANCODE_E, KMOD_NONE, 1));
    press(keyDown(SDL_SCANCODE_W, KMOD_NONE, 1));
    EXPECT_THAT(standIn::calls(), IsEmpty());
    EXPECT_EQ(appState.windowMode, WindowMode::Maximized);
}

// W from maximized restores and recentres; the restore event that follows finds the mode at
// Windowed already and leaves it there.
TEST_F(WindowModes, RestoreEventAfterWLeavesTheModeWindowed)
{
    press(M.event);
    press(W.event);
    press(RESTORED.event);
    EXPECT_EQ(appState.windowMode, WindowMode::Windowed);
}

// Maximized through the title bar: M then does nothing, and W brings back the centred window.
TEST_F(WindowModes, TitleBarMaximizeIsFollowed)
{
    press(MAXIMIZED.event);
    standIn::clearCalls();
    press(M.event);
    EXPECT_THAT(standIn::calls(), IsEmpty());
    press(W.event);
    EXPECT_THAT(standIn::calls(), ElementsAre(FLAGS, RESTORE, SIZE_800_600, CENTRE));
}

TEST_F(WindowModes, ACopiesTheCurrentContentRectangleSize)
{
    deliver(standIn::sizeChanged(1366, 900));
    standIn::clearCalls();
    press(A.event);
    EXPECT_THAT(standIn::calls(), ElementsAre("SDL_SetWindowSize(window, 1366, 768)"));
    EXPECT_EQ(appState.windowMode, WindowMode::Windowed);
}

// ---- Display modes ----

TEST_F(WindowModes, FirstExclusiveFullscreenUsesTheFirstDisplayMode)
{
    press(E.event);
    EXPECT_THAT(standIn::calls(), ElementsAre(FLAGS, "SDL_GetDisplayMode(0, 0)",
                                              "SDL_SetWindowDisplayMode(window, 1920x1080@60)",
                                              EXCLUSIVE_FULLSCREEN));
}

// The chosen display mode survives leaving exclusive fullscreen and comes back with E.
TEST_F(WindowModes, ChosenDisplayModeComesBackAfterW)
{
    press(E.event);
    press(PAGE_DOWN.event);
    press(PAGE_DOWN.event);
    press(W.event);
    standIn::clearCalls();
    press(E.event);
    EXPECT_EQ(appState.displayModeIndex, 2u);
    EXPECT_THAT(standIn::calls(),
                ElementsAre(FLAGS, "SDL_GetDisplayMode(0, 2)",
                            "SDL_SetWindowDisplayMode(window, 1280x720@60)", EXCLUSIVE_FULLSCREEN));
}

struct Step {
    const char *why;
    int count;
    Uint32 indexBefore;
    Input input;
    Uint32 indexAfter;
};

std::ostream &operator<<(std::ostream &out, const Step &s)
{
    return out << s.why;
}

const Step steps[] = {
    {"an error count never moves the index", -1, 0, PAGE_DOWN, 0},
    {"the most negative count does not overflow", INT_MIN, 0, PAGE_DOWN, 0},
    {"no modes: the index stays", 0, 0, PAGE_DOWN, 0},
    {"one mode: it is already the last", 1, 0, PAGE_DOWN, 0},
    {"three modes: the next one", 3, 0, PAGE_DOWN, 1},
    {"three modes: the last stays", 3, 2, PAGE_DOWN, 2},
    {"the first stays", 3, 0, PAGE_UP, 0},
    {"back from the last", 3, 2, PAGE_UP, 1},
};

class DisplayModeStep : public WindowModes, public ::testing::WithParamInterface<Step>
{
};

TEST_P(DisplayModeStep, MovesWithinTheDisplaysModes)
{
    const Step &s = GetParam();
    standIn::script.numDisplayModes = s.count;
    appState.windowMode = WindowMode::ExclusiveFullscreen;
    appState.displayModeIndex = s.indexBefore;
    press(s.input.event);
    EXPECT_EQ(appState.displayModeIndex, s.indexAfter);
    const Calls calls = standIn::calls();
    const bool applied = !calls.empty() && calls.back() == EXCLUSIVE_FULLSCREEN;
    EXPECT_EQ(applied, s.indexAfter != s.indexBefore);
}

INSTANTIATE_TEST_SUITE_P(Table, DisplayModeStep, ::testing::ValuesIn(steps));

} // namespace
