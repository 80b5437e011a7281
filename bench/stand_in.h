#pragma once

// What the two stand-ins share: one plain window of the size and at the place of Glimvane's,
// ended by the same request that ends Glimvane, so the driver treats all three alike.

#include <windows.h>

namespace stand_in {

inline constexpr WORD kExitCommand = 20001;

// The messages every stand-in handles the same way.
inline LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kExitCommand) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Centred like Glimvane's main window, 319 x 160, not yet shown; null when it cannot be made.
inline HWND CreateWindowLikeGlimvanes(HINSTANCE instance, const wchar_t* className,
                                      const wchar_t* caption, WNDPROC procedure)
{
    constexpr int kWidth = 319;
    constexpr int kHeight = 160;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass)) return nullptr;
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    return CreateWindowExW(0, className, caption, WS_CAPTION | WS_SYSMENU, x, y, kWidth, kHeight,
                           nullptr, nullptr, instance, nullptr);
}

// Shows the window and runs the message loop until it is gone; the exit code.
inline int Run(HWND window)
{
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace stand_in
