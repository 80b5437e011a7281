#pragma once

#include <windows.h>

struct Placement {
    int x, y, width, height;
};

// Where a window goes and how big it gets for the wanted client size: it stays at `position`
// and its frame keeps its width, so only the client area changes.
Placement PlacementForClientSize(POINT position, RECT window, RECT client, int clientWidth,
                                 int clientHeight);
