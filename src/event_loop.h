// The program's spine: start-up, the one event loop with its dispatch, and shutdown.
#pragma once

void startUp();
[[noreturn]] void runEventLoop();
void dispatchEvent();
[[noreturn]] void shutDown();
