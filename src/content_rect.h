// Where the canvas is shown: the largest centred 16:9 rectangle that fits the window.
#pragma once

void recomputeContentRect(int newWidth, int newHeight);
