// The least a Win32 program with one window can be: what Glimvane's start-up time and idle
// memory are weighed against. Same size, style and place as Glimvane's main window, no
// controls, no hotkeys, no tray icon.

#include "stand_in.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    HWND window = stand_in::CreateWindowLikeGlimvanes(instance, L"GlimvaneBaseline", L"Baseline",
                                                      stand_in::WindowProc);
    if (window == nullptr) return 1;
    return stand_in::Run(window);
}
