// One frame: the canvas filled afresh and copied, scaled, into the content rectangle.
#pragma once

void drawFrame();
