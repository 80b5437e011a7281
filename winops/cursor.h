#pragma once

#include <windows.h>

// The window under the mouse cursor: what WindowFromPoint finds there, unless a smaller visible
// sibling lower in the z-order also holds the point (a control beneath a group box); then the
// smallest such sibling. Null when there is no window at the cursor.
HWND WindowUnderCursor();
