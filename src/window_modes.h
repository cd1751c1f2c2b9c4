// The four window modes, the keys that switch between them, the window manager's maximize and
// restore, and the display modes of exclusive fullscreen.
#pragma once

void enterWindowed();
void enterMaximized();
void enterDesktopFullscreen();
void enterExclusiveFullscreen();
void fitWindowToContent();
void stepDisplayMode(int delta);
void onWindowStateEvent(int windowEventId);
