#include "winops/primitives.h"

#include "winops/client_size.h"

#include <atomic>
#include <vector>

namespace {
std::atomic<HWND> rememberedWindow{nullptr};

// What Glimvane changed in other programs' windows, so that it can give it back when it ends.
struct SavedLayering {
    HWND window;
    LONG_PTR exStyle;
    bool hadAttributes;
    COLORREF colourKey;
    BYTE alpha;
    DWORD flags;
};
SRWLOCK changesLock = SRWLOCK_INIT;
std::vector<SavedLayering> savedLayering;
HWND hiddenWindow = nullptr; // hidden by Glimvane and not shown again since

class ChangesGuard {
  public:
    ChangesGuard() { AcquireSRWLockExclusive(&changesLock); }
    ~ChangesGuard() { ReleaseSRWLockExclusive(&changesLock); }
    ChangesGuard(const ChangesGuard&) = delete;
    ChangesGuard& operator=(const ChangesGuard&) = delete;
};

void SaveLayeringOnce(HWND target, LONG_PTR exStyle)
{
    ChangesGuard guard;
    for (const SavedLayering& saved : savedLayering)
        if (saved.window == target) return;
    SavedLayering saved = {target, exStyle, false, 0, 0, 0};
    if (exStyle & WS_EX_LAYERED)
        saved.hadAttributes =
            GetLayeredWindowAttributes(target, &saved.colourKey, &saved.alpha, &saved.flags) != 0;
    savedLayering.push_back(saved);
}

// The top-left corner in the coordinates MoveWindow takes: a child's in its parent's client
// area (mirrored parents included), any other window's on the screen.
POINT MovePosition(HWND target, RECT window)
{
    if ((GetWindowLongPtrW(target, GWL_STYLE) & WS_CHILD) == 0) return {window.left, window.top};
    MapWindowPoints(HWND_DESKTOP, GetAncestor(target, GA_PARENT), reinterpret_cast<POINT*>(&window),
                    2);
    return {window.left, window.top};
}
} // namespace

bool SetClientSize(HWND target, int clientWidth, int clientHeight)
{
    if (IsIconic(target)) return false; // MoveWindow would change nothing that shows
    RECT window, client;
    if (!GetWindowRect(target, &window)) return false;
    if (!GetClientRect(target, &client)) return false;
    POINT position = MovePosition(target, window);
    Placement current = {position.x, position.y, window.right - window.left,
                         window.bottom - window.top};
    Placement placement =
        PlacementForClientSize(current, {client.right, client.bottom}, {clientWidth, clientHeight});
    MoveWindow(target, placement.x, placement.y, placement.width, placement.height, TRUE);
    return true;
}

bool ToggleVisibility(HWND target)
{
    HWND window = target;
    if (window != nullptr) {
        rememberedWindow = window;
    } else {
        // Only the first toggle without a target falls back to the foreground window.
        HWND remembered = nullptr;
        HWND foreground = GetForegroundWindow();
        rememberedWindow.compare_exchange_strong(remembered, foreground);
        window = remembered != nullptr ? remembered : foreground;
    }
    if (!IsWindowVisible(window)) {
        ShowWindow(window, SW_RESTORE);
        ChangesGuard guard;
        if (hiddenWindow == window) hiddenWindow = nullptr;
        return true;
    }
    {
        ChangesGuard guard;
        hiddenWindow = window;
    }
    ShowWindow(window, SW_HIDE);
    return false;
}

HWND RememberedWindow()
{
    return rememberedWindow;
}

BOOL SetTransparency(HWND target, std::optional<BYTE> alpha, std::optional<COLORREF> colourKey,
                     bool clickThrough)
{
    LONG_PTR exStyle = GetWindowLongPtrW(target, GWL_EXSTYLE);
    if (IsWindow(target)) SaveLayeringOnce(target, exStyle);
    LONG_PTR added = WS_EX_LAYERED | (clickThrough ? WS_EX_TRANSPARENT : 0);
    if ((exStyle & added) != added) SetWindowLongPtrW(target, GWL_EXSTYLE, exStyle | added);
    DWORD flags = LWA_ALPHA;
    if (colourKey) flags = alpha ? LWA_COLORKEY | LWA_ALPHA : LWA_COLORKEY;
    return SetLayeredWindowAttributes(target, colourKey.value_or(0), alpha.value_or(0), flags);
}

void RestoreChangedWindows()
{
    ChangesGuard guard;
    if (hiddenWindow != nullptr && IsWindow(hiddenWindow) && !IsWindowVisible(hiddenWindow))
        ShowWindow(hiddenWindow, SW_SHOWNA);
    hiddenWindow = nullptr;
    for (const SavedLayering& saved : savedLayering) {
        if (!IsWindow(saved.window)) continue;
        SetWindowLongPtrW(saved.window, GWL_EXSTYLE, saved.exStyle);
        if (saved.hadAttributes)
            SetLayeredWindowAttributes(saved.window, saved.colourKey, saved.alpha, saved.flags);
    }
    savedLayering.clear();
}
