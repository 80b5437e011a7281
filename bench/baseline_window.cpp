// The least a Win32 program with one window can be: what Glimvane's start-up time and idle
// memory are weighed against. Same size, style and place as Glimvane's main window, no
// controls, no hotkeys, no tray icon.

#include <windows.h>

namespace {
constexpr wchar_t kClass[] = L"GlimvaneBaseline";
constexpr wchar_t kCaption[] = L"Baseline";
constexpr int kWidth = 319;
constexpr int kHeight = 160;
// The same request that ends Glimvane, so the driver ends both alike.
constexpr WORD kExitCommand = 20001;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClass;
    if (!RegisterClassExW(&windowClass)) return 1;
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreateWindowExW(0, kClass, kCaption, WS_CAPTION | WS_SYSMENU, x, y, kWidth,
                                  kHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
