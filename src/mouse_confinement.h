// Tab confines the mouse pointer to the canvas and frees it; the confining rectangle follows
// every size change of the window.
#pragma once

void toggleMouseConfinement();
void refreshMouseConfinement();
