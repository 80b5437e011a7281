#pragma once

// The main window as the user sees it: every size, position and text in one place.

#include <windows.h>

#include <array>

namespace main_window_layout {

inline constexpr wchar_t kCaption[] = L"Glimvane";
inline constexpr int kWidth = 319; // outer size, frame and title bar included
inline constexpr int kHeight = 160;
inline constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

enum class ControlKind { Edit, Label, Button };

struct Control {
    int id;
    ControlKind kind;
    int x, y, width, height; // in the main window's client coordinates
    const wchar_t* text;
    bool tabStop;
    bool enabled;
};

// Control identifiers, also their creation order.
enum ControlId : int {
    kWidthBox = 1,   // 编辑框1
    kHeightBox,      // 编辑框2
    kTargetBox,      // 编辑框3
    kSizeLabel,      // 标签4
    kResizeButton,   // 按钮1
    kShowHideButton, // 按钮2
    kHandleLabel,    // 标签1
    kOpacityLabel,   // 标签2
    kOpacityHint,    // 标签3
};

// In creation order. Later controls lie above earlier ones, and the focus follows this order.
inline constexpr std::array<Control, 9> kControls = {{
    {kWidthBox, ControlKind::Edit, 56, 24, 48, 24, L"", true, true},
    {kHeightBox, ControlKind::Edit, 112, 24, 48, 24, L"", true, true},
    {kTargetBox, ControlKind::Edit, 56, 56, 104, 24, L"", true, false},
    {kSizeLabel, ControlKind::Label, 16, 24, 40, 16, L"尺寸：", false, true},
    {kResizeButton, ControlKind::Button, 176, 24, 120, 24, L"改变大小(Alt+Z)", true, true},
    {kShowHideButton, ControlKind::Button, 176, 56, 120, 24, L"隐藏/显示(Alt+X)", true, true},
    {kHandleLabel, ControlKind::Label, 16, 64, 40, 16, L"句柄：", false, true},
    {kOpacityLabel, ControlKind::Label, 16, 96, 40, 16, L"透度：", false, true},
    {kOpacityHint, ControlKind::Label, 56, 96, 144, 16, L"Alt+↑、Alt+↓调整透明度", false, true},
}};

// The window's menu definition: only the tray menu, which is never shown as a menu bar.
// Command identifiers are kFirstMenuCommand plus the entry's position.
struct MenuEntry {
    const wchar_t* caption;
    int level; // 0 top level, 1 child of the entry above
    bool visible;
};
inline constexpr int kFirstMenuCommand = 20000;
inline constexpr int kLastMenuCommand = 0xE0FF; // identifiers above belong to the system
inline constexpr std::array<MenuEntry, 2> kMenu = {{
    {L"托盘菜单", 0, false},
    {L"退出", 1, true},
}};
inline constexpr int kExitCommand = kFirstMenuCommand + 1;

// Centred on the primary screen; the work area and the taskbar are not taken into account.
inline constexpr POINT CentredPosition(int screenWidth, int screenHeight)
{
    return {(screenWidth - kWidth) / 2, (screenHeight - kHeight) / 2};
}

} // namespace main_window_layout
