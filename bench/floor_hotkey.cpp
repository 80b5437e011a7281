// The fastest an opacity hotkey can answer on this system: Alt+Down and Alt+Up registered on a
// window whose procedure changes the locked window's alpha at once, on the thread that receives
// WM_HOTKEY. Glimvane's hotkey latency is weighed against this, measured the same way.

#include "stand_in.h"

namespace {
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
    default:
        return stand_in::WindowProc(window, message, wParam, lParam);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Shown where Glimvane shows its window, so focus and pointer meet the same screen.
    HWND window =
        stand_in::CreateWindowLikeGlimvanes(instance, L"GlimvaneFloor", L"Floor", WindowProc);
    if (window == nullptr) return 1;
    if (!RegisterHotKey(window, kUpHotkey, MOD_ALT, VK_UP) ||
        !RegisterHotKey(window, kDownHotkey, MOD_ALT, VK_DOWN))
        return 2;
    return stand_in::Run(window);
}
