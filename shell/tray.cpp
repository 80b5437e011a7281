#include "shell/tray.h"

#include "res/resource.h"
#include "shell/app.h"
#include "shell/icon_file.h"
#include "shell/main_window.h"
#include "shell/main_window_layout.h"
#include "shell/scoped.h"

#include <shellapi.h>

#include <iterator>
#include <vector>

namespace layout = main_window_layout;

namespace {
constexpr int kMenuOffset = 5; // the menu opens this far left of and above the cursor
constexpr DWORD kIconFormatVersion = 0x00030000;

// The window that has an icon in the notification area, and the icon it shows.
HWND trayWindow = nullptr;
ScopedIcon trayIcon;

// Broadcast when a new notification area has started (Explorer restarted).
const UINT taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");

NOTIFYICONDATAW Record(HWND window, std::wstring_view tip)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = kTrayIconId;
    std::wstring cut = TrayTipText(tip);
    cut.copy(record.szTip, cut.size());
    return record;
}

void Notify(DWORD action, NOTIFYICONDATAW& record, HICON icon)
{
    if (icon != nullptr) {
        record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        record.uCallbackMessage = kTrayCallbackMessage;
        record.hIcon = icon;
    }
    Shell_NotifyIconW(action, &record); // no notification area is no reason to stop
}

std::span<const uint8_t> ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return {};
    const void* data = LockResource(LoadResource(module, found));
    return {static_cast<const uint8_t*>(data), SizeofResource(module, found)};
}

void Append32(std::vector<uint8_t>& bytes, size_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

// The program's icon as icon-file bytes, put together from the executable's own icon resource
// so that the picture is stored once: the group lists the images as the file's directory does,
// but names each by its resource identifier where the file gives its offset.
std::vector<uint8_t> ProgramIconFile()
{
    constexpr size_t kHeaderSize = 6, kGroupEntrySize = 14, kFileEntrySize = 16;
    HMODULE module = GetModuleHandleW(nullptr);
    std::span<const uint8_t> group =
        ResourceBytes(module, MAKEINTRESOURCEW(IDI_GLIMVANE), RT_GROUP_ICON);
    if (group.size() < kHeaderSize) return {};
    size_t count = group[4] | group[5] << 8;
    if (group.size() < kHeaderSize + count * kGroupEntrySize) return {};

    std::vector<uint8_t> file(group.begin(), group.begin() + kHeaderSize);
    std::vector<uint8_t> images;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = group.data() + kHeaderSize + i * kGroupEntrySize;
        std::span<const uint8_t> image =
            ResourceBytes(module, MAKEINTRESOURCEW(entry[12] | entry[13] << 8), RT_ICON);
        file.insert(file.end(), entry, entry + 8); // size, colours, planes and bit count
        Append32(file, image.size());
        Append32(file, kHeaderSize + count * kFileEntrySize + images.size());
        images.insert(images.end(), image.begin(), image.end());
    }
    file.insert(file.end(), images.begin(), images.end());
    return file;
}

HICON IconFromImage(std::span<const uint8_t> file, const IconImage& image)
{
    // The calls take a non-const pointer but only read the image.
    PBYTE bits = const_cast<PBYTE>(file.data() + image.offset);
    DWORD size = static_cast<DWORD>(image.size);
    HICON icon = CreateIconFromResourceEx(bits, size, TRUE, kIconFormatVersion, image.width,
                                          image.height, LR_DEFAULTCOLOR);
    if (icon == nullptr && image.bitCount != 16)
        icon = CreateIconFromResource(bits, size, TRUE, kIconFormatVersion);
    return icon;
}

void PopupTrayMenu(HWND window)
{
    ScopedMenu popup(CreatePopupMenu());
    if (!popup) return;
    // The children of the hidden top-level tray entry, with their command identifiers.
    for (size_t i = 1; i < layout::kMenu.size() && layout::kMenu[i].level == 1; ++i)
        AppendMenuW(popup.get(), MF_STRING, layout::kFirstMenuCommand + i,
                    layout::kMenu[i].caption);
    POINT cursor;
    GetCursorPos(&cursor);
    // The window must be in the foreground, or the menu does not close when the user clicks
    // elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(popup.get(), TPM_RIGHTALIGN, cursor.x - kMenuOffset, cursor.y - kMenuOffset, 0,
                   window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
}

void SetMainWindowVisible(bool visible)
{
    HWND window = MainWindow();
    ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
    if (visible) SetForegroundWindow(window); // already shown: activated again
}
} // namespace

TrayType TrayTypeFromMouseMessage(UINT mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP:
        return kTrayLeftClick;
    case WM_LBUTTONDBLCLK:
        return kTrayDoubleClick;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        return kTrayRightClick;
    default:
        return kTrayNone;
    }
}

HICON IconFromFileData(std::span<const uint8_t> file)
{
    // First a 16-pixel image, then a 32-pixel one; with neither, the last of the file.
    for (int width : {16, 32}) {
        std::optional<IconImage> image = PickIconImage(file, width);
        if (!image) return nullptr;
        if (HICON icon = IconFromImage(file, *image)) return icon;
    }
    return nullptr;
}

std::wstring TrayTipText(std::wstring_view tip)
{
    constexpr size_t limit = std::size(NOTIFYICONDATAW{}.szTip) - 1;
    if (tip.size() <= limit) return std::wstring(tip);
    size_t length = limit;
    if (IS_HIGH_SURROGATE(tip[length - 1])) --length;
    return std::wstring(tip.substr(0, length));
}

void SetTrayIcon(HWND window, std::span<const uint8_t> iconData, std::wstring_view tip)
{
    ScopedIcon icon(IconFromFileData(iconData));
    NOTIFYICONDATAW record = Record(window, tip);
    if (trayIcon && trayWindow == window) {
        Notify(icon ? NIM_MODIFY : NIM_DELETE, record, icon.get());
    } else if (icon) {
        Notify(NIM_ADD, record, icon.get());
    }
    trayWindow = icon ? window : nullptr;
    trayIcon = std::move(icon);
}

void PutUpTrayIcon(HWND window)
{
    if (trayIcon && trayWindow == window) {
        // A new notification area knows nothing of the icon: add it again.
        NOTIFYICONDATAW record = Record(window, kTrayTip);
        Notify(NIM_ADD, record, trayIcon.get());
        return;
    }
    SetTrayIcon(window, ProgramIconFile(), kTrayTip);
}

void RemoveTrayIcon(HWND window)
{
    if (trayWindow == window) SetTrayIcon(window, {}, kTrayTip);
}

UINT TaskbarCreatedMessage()
{
    return taskbarCreatedMessage;
}

bool OnCloseQuery()
{
    SetMainWindowVisible(false);
    return false;
}

void OnTrayEvent(TrayType trayType)
{
    if (trayType == kTrayRightClick) PopupTrayMenu(MainWindow());
    if (trayType == kTrayLeftClick) SetMainWindowVisible(true);
}

LRESULT OnQueryEndSession(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!DefWindowProcW(window, WM_QUERYENDSESSION, wParam, lParam)) return FALSE;
    OnCloseQuery();
    // Glimvane never stands in the way of a log-off or shut-down.
    return TRUE;
}

void OnEndSession(WPARAM sessionEnding)
{
    // The orderly end takes the icon away and gives changed windows back.
    if (sessionEnding) EndProgram(0);
}
