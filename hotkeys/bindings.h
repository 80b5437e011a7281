#pragma once

#include <windows.h>

// Alt+Z, Alt+X, Alt+Up and Alt+Down for the main window. A combination that another program
// holds stays without effect for the run.
void RegisterHotkeyBindings(HWND mainWindow);
