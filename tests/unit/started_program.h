// The fixture most unit tests start from: a fresh stand-in and a program that has started up on
// it, with the start-up calls cleared from the record.
#pragma once

#include "app_state.h"
#include "event_loop.h"
#include "sdl_stand_in.h"

#include <gtest/gtest.h>

class StartedProgram : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        standIn::reset();
        appState = AppState{};
        startUp();
        standIn::clearCalls();
    }

    // Polls one event, as the loop does, and dispatches it.
    static void deliver(const SDL_Event &event)
    {
        appState.polledEvent = event;
        dispatchEvent();
    }
};
