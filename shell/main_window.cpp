#include "shell/main_window.h"

#include "hotkeys/bindings.h"
#include "res/resource.h"
#include "shell/app.h"
#include "shell/command_boxes.h"
#include "shell/label.h"
#include "shell/main_window_layout.h"
#include "shell/scoped.h"
#include "shell/tray.h"
#include "winops/commands.h"

#include <atomic>
#include <utility>

namespace layout = main_window_layout;

namespace {
constexpr wchar_t kMainWindowClass[] = L"GlimvaneMain";

std::atomic<HWND> mainWindow{nullptr};
HWND rememberedFocus = nullptr;
// The window's icons, kept until the window is gone.
ScopedIcon bigIcon;
ScopedIcon smallIcon;

bool IsFocusable(HWND control)
{
    return IsWindowVisible(control) && IsWindowEnabled(control) &&
           (GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

// The next control after `from` in the focus order, wrapping round; the first one when `from`
// is none of them.
HWND NextFocusable(HWND window, HWND from)
{
    int start = 0;
    for (size_t i = 0; i < layout::kControls.size(); ++i)
        if (GetDlgItem(window, layout::kControls[i].id) == from) start = static_cast<int>(i) + 1;
    for (size_t step = 0; step < layout::kControls.size(); ++step) {
        HWND control =
            GetDlgItem(window, layout::kControls[(start + step) % layout::kControls.size()].id);
        if (control != nullptr && IsFocusable(control)) return control;
    }
    return nullptr;
}

void OnActivate(HWND window, WPARAM wParam)
{
    if (LOWORD(wParam) != WA_INACTIVE) return;
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus)) rememberedFocus = focus;
}

void OnSetFocus(HWND window)
{
    HWND target = std::exchange(rememberedFocus, nullptr);
    if (target == nullptr || !IsChild(window, target)) target = NextFocusable(window, nullptr);
    if (target != nullptr) SetFocus(target);
}

void OnCommand(WPARAM wParam)
{
    int id = LOWORD(wParam);
    if (id >= layout::kFirstMenuCommand && id <= layout::kLastMenuCommand) {
        if (id == layout::kExitCommand) EndProgram(0);
        return;
    }
    if (HIWORD(wParam) != BN_CLICKED) return;
    if (id == layout::kResizeButton) ResizeCommand();
    if (id == layout::kShowHideButton) ShowHideCommand();
}

void OnCreated(HWND window)
{
    RegisterHotkeyBindings(window);
    PutUpTrayIcon(window);
    SetOpacityLevel(kHighestOpacity);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam);
        return 0;
    case WM_CLOSE:
        if (!OnCloseQuery()) return 0;
        break;
    case WM_QUERYENDSESSION:
        return OnQueryEndSession(window, wParam, lParam);
    case WM_ENDSESSION:
        OnEndSession(wParam);
        return 0;
    case kTrayCallbackMessage:
        OnTrayEvent(TrayTypeFromMouseMessage(static_cast<UINT>(lParam)));
        return 0;
    case WM_ACTIVATE:
        OnActivate(window, wParam);
        break;
    case WM_SETFOCUS:
        OnSetFocus(window);
        return 0;
    case WM_DESTROY:
        RemoveTrayIcon(window);
        return 0;
    case WM_NCDESTROY:
        mainWindow = nullptr;
        OnProgramWindowGone();
        break;
    default:
        if (message == TaskbarCreatedMessage()) PutUpTrayIcon(window);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void SetWindowIcons(HINSTANCE instance, HWND window)
{
    auto load = [instance](int size) {
        return static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(IDI_GLIMVANE), IMAGE_ICON, size, size, 0));
    };
    bigIcon.reset(load(GetSystemMetrics(SM_CXICON)));
    smallIcon.reset(load(GetSystemMetrics(SM_CXSMICON)));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
}

HWND CreateControl(HINSTANCE instance, HWND window, const layout::Control& control)
{
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (control.tabStop) style |= WS_TABSTOP;
    if (!control.enabled) style |= WS_DISABLED;
    DWORD exStyle = 0;
    const wchar_t* className = kLabelClass;
    switch (control.kind) {
    case layout::ControlKind::Edit:
        className = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case layout::ControlKind::Button:
        className = L"BUTTON";
        style |= BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
        break;
    case layout::ControlKind::Label:
        break;
    }
    HWND handle = CreateWindowExW(exStyle, className, control.text, style, control.x, control.y,
                                  control.width, control.height, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                  instance, nullptr);
    if (handle == nullptr) return nullptr;
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    if (control.kind == layout::ControlKind::Edit) SendMessageW(handle, EM_LIMITTEXT, 0, 0);
    return handle;
}
} // namespace

HWND CreateMainWindow(HINSTANCE instance, HWND owner)
{
    if (!RegisterMainWindowClass(instance) || !RegisterLabelClass(instance)) return nullptr;
    POINT at =
        layout::CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HWND window =
        CreateWindowExW(0, kMainWindowClass, layout::kCaption, layout::kStyle, at.x, at.y,
                        layout::kWidth, layout::kHeight, owner, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != layout::kWidth || outer.bottom - outer.top != layout::kHeight)
        MoveWindow(window, outer.left, outer.top, layout::kWidth, layout::kHeight, FALSE);
    SetWindowIcons(instance, window);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);

    for (const layout::Control& control : layout::kControls) {
        if (CreateControl(instance, window, control) == nullptr) {
            DestroyWindow(window);
            return nullptr;
        }
    }
    // Each control goes on top of the ones created before it.
    for (const layout::Control& control : layout::kControls)
        SetWindowPos(GetDlgItem(window, control.id), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const layout::Control& control : layout::kControls)
        ShowWindow(GetDlgItem(window, control.id), SW_SHOWNA);

    mainWindow = window;
    SetCommandBoxes(&MainWindowCommandBoxes());
    return window;
}

bool LoadMainWindow(HINSTANCE instance)
{
    HWND window = CreateMainWindow(instance, ToolkitWindow());
    if (window == nullptr) return false;
    OnCreated(window);
    if (IsWindow(window)) ShowWindow(window, SW_SHOW);
    return true;
}

HWND MainWindow()
{
    return mainWindow;
}

void DestroyMainWindow()
{
    if (mainWindow != nullptr) DestroyWindow(mainWindow);
    bigIcon.reset();
    smallIcon.reset();
}

bool PreTranslateMainWindowKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || mainWindow == nullptr) return false;
    if (message.hwnd != mainWindow && !IsChild(mainWindow, message.hwnd)) return false;
    if (!IsWindowEnabled(message.hwnd)) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    switch (message.wParam) {
    case VK_TAB:
        if (HWND next = NextFocusable(mainWindow, GetFocus())) SetFocus(next);
        return true;
    case VK_ESCAPE:
        SendMessageW(mainWindow, WM_CLOSE, 0, 0);
        return true;
    default:
        return false; // Enter has no default button to press; everything else is the control's
    }
}
