#include "tests/common/test_windows.h"

#include <shellapi.h>

#include <vector>

namespace {
constexpr wchar_t kTestWindowClass[] = L"GlimvaneTestWindow";
constexpr DWORD kKeyPace = 20;

ATOM RegisterTestClass()
{
    static ATOM atom = [] {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kTestWindowClass;
        return RegisterClassExW(&windowClass);
    }();
    return atom;
}

} // namespace

TestWindow& TestWindow::operator=(TestWindow&& other) noexcept
{
    if (this != &other) {
        if (window_ != nullptr) DestroyWindow(window_);
        window_ = other.window_;
        other.window_ = nullptr;
    }
    return *this;
}

TestWindow::~TestWindow()
{
    if (window_ != nullptr) DestroyWindow(window_);
}

TestWindow MakeTopLevel(RECT outer, DWORD style, DWORD exStyle, HWND owner, bool withMenu)
{
    RegisterTestClass();
    HMENU menu = nullptr;
    if (withMenu) {
        menu = CreateMenu();
        AppendMenuW(menu, MF_STRING, 1, L"&File");
    }
    HWND window = CreateWindowExW(exStyle, kTestWindowClass, L"Test window", style, outer.left,
                                  outer.top, outer.right - outer.left, outer.bottom - outer.top,
                                  owner, menu, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    PumpMessages(10);
    return TestWindow(window);
}

HWND MakeChild(HWND parent, const wchar_t* className, RECT at, DWORD style)
{
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                           at.right - at.left, at.bottom - at.top, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void PumpMessages(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return condition();
        PumpMessages(10);
    }
    return true;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRect(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return rect;
}

POINT PositionInParent(HWND window)
{
    RECT rect = WindowRect(window);
    POINT corner = {rect.left, rect.top};
    if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) ScreenToClient(GetParent(window), &corner);
    return corner;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND ChildAt(HWND parent, int x, int y)
{
    for (HWND child : Children(parent)) {
        POINT corner = PositionInParent(child);
        if (corner.x == x && corner.y == y) return child;
    }
    return nullptr;
}

int Alpha(HWND window)
{
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0) return -1;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags) || (flags & LWA_ALPHA) == 0)
        return -1;
    return alpha;
}

std::wstring WindowText(HWND window)
{
    std::vector<wchar_t> text(static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) +
                              1);
    LRESULT length =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::wstring(text.data(), static_cast<size_t>(length));
}

void SetText(HWND window, const std::wstring& text)
{
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool HasTrayIcon(HWND window, UINT id)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

void SendKey(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    SendInput(1, &input, sizeof input);
}

void PressKeys(std::initializer_list<WORD> keys)
{
    for (WORD key : keys) {
        SendKey(key, false);
        PumpMessages(kKeyPace);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        SendKey(*key, true);
        PumpMessages(kKeyPace);
    }
}
