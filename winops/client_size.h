#pragma once

// The arithmetic of giving a window an exact client size, apart from any window.

#include <cstdint>

struct Placement {
    int32_t x, y, width, height; // as MoveWindow takes them
};

struct ClientSize {
    int32_t width, height;
};

// Where a window goes and how big it gets for the wanted client size: it stays where it is and
// its frame keeps its width, so only the client area changes.
Placement PlacementForClientSize(Placement current, ClientSize currentClient, ClientSize wanted);
