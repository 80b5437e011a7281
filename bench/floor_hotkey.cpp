// The fastest an opacity hotkey can answer on this system: Alt+Down and Alt+Up registered on a
// window whose procedure changes the locked window's alpha at once, on the thread that receives
// WM_HOTKEY. Glimvane's hotkey latency is weighed against this, measured the same way.

#include <windows.h>

namespace {
constexpr wchar_t kClass[] = L"GlimvaneFloor";
constexpr wchar_t kCaption[] = L"Floor";
constexpr int kWidth = 319;
constexpr int kHeight = 160;
constexpr WORD kExitCommand = 20001;
constexpr int kUpHotkey = 1;
constexpr int kDownHotkey = 2;
constexpr int kStep = 25;

HWND target = nullptr;
int level = 255;

void Step(int step)
{
    if (target == nullptr) {
        // Locked at the first press, like Glimvane: the window under the cursor.
        POINT point = {};
        GetCursorPos(&point);
        target = WindowFromPoint(point);
        if (target == nullptr) return;
    }
    level += step;
    if (level > 255) level = 255;
    if (level < 0) level = 0;
    LONG_PTR exStyle = GetWindowLongPtrW(target, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0)
        SetWindowLongPtrW(target, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(target, 0, static_cast<BYTE>(level), LWA_ALPHA);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HOTKEY:
        if (static_cast<int>(wParam) == kUpHotkey) Step(kStep);
        if (static_cast<int>(wParam) == kDownHotkey) Step(-kStep);
        return 0;
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
    // Shown where Glimvane shows its window, so focus and pointer meet the same screen.
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreateWindowExW(0, kClass, kCaption, WS_CAPTION | WS_SYSMENU, x, y, kWidth,
                                  kHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    if (!RegisterHotKey(window, kUpHotkey, MOD_ALT, VK_UP) ||
        !RegisterHotKey(window, kDownHotkey, MOD_ALT, VK_DOWN))
        return 2;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
