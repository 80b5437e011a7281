#pragma once

// The only places where Glimvane changes other programs' windows. Callable from any thread.

#include <windows.h>

#include <optional>

// Gives the window a client area of exactly the given size, keeping its top-left corner (a
// child in its parent's client area, a top-level window on the screen). False when it did not
// ask the window manager to move the window: a minimised window, or one that does not exist.
bool SetClientSize(HWND target, int clientWidth, int clientHeight);

// Hides a visible window or shows a hidden one (restored to its normal size and position).
// Null acts on the remembered window, or on the foreground window when none is remembered yet.
// True when it showed the window.
bool ToggleVisibility(HWND target);
HWND RememberedWindow();

// Makes the window layered at the given opacity, keeping its other extended styles. Returns the
// result of SetLayeredWindowAttributes.
BOOL SetTransparency(HWND target, std::optional<BYTE> alpha, std::optional<COLORREF> colourKey = {},
                     bool clickThrough = false);

// Shows again the window that Glimvane left hidden, and gives every window whose opacity it
// changed its own extended style and layered attributes back. Windows that are gone are skipped.
void RestoreChangedWindows();
