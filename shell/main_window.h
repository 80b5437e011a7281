#pragma once

#include <windows.h>

// Creates the main window, hidden, with its controls in place and in their stacking order.
// Returns null, with nothing left behind, when any part cannot be created.
HWND CreateMainWindow(HINSTANCE instance, HWND owner);

// Start-up's load: create, run the created event, then show and activate the window.
bool LoadMainWindow(HINSTANCE instance);

HWND MainWindow();
void DestroyMainWindow();

// Keys aimed at the main window or its controls pass here before the control sees them.
// True when the key was taken.
bool PreTranslateMainWindowKey(const MSG& message);
