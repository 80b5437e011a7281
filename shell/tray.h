#pragma once

// The notification-area icon, its menu, and closing to the tray.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr UINT kTrayCallbackMessage = WM_APP + 100;
inline constexpr UINT kTrayIconId = 100;
inline constexpr wchar_t kTrayTip[] = L"Glimvane";

// What a mouse action on the icon means; anything else is kTrayNone.
enum TrayType : int {
    kTrayNone = 0,
    kTrayLeftClick = 1,
    kTrayDoubleClick = 2,
    kTrayRightClick = 3
};
TrayType TrayTypeFromMouseMessage(UINT mouseMessage);

// An icon made from the bytes of an icon file; null when none can be made.
HICON IconFromFileData(std::span<const uint8_t> file);

// The tip as the notification record holds it: cut so that it fits with room to spare, never
// between the two halves of a surrogate pair.
std::wstring TrayTipText(std::wstring_view tip);

// Puts up, changes or removes the window's icon. Icon data from which no icon can be made
// removes it.
void SetTrayIcon(HWND window, std::span<const uint8_t> iconData, std::wstring_view tip);
void PutUpTrayIcon(HWND window);  // Glimvane's own icon and tip
void RemoveTrayIcon(HWND window); // when the window goes
UINT TaskbarCreatedMessage();     // a new notification area wants the icon again

bool OnCloseQuery();
void OnTrayEvent(TrayType trayType);
LRESULT OnQueryEndSession(HWND window, WPARAM wParam, LPARAM lParam);
void OnEndSession(WPARAM sessionEnding);
