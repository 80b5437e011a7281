#include "hotkeys/registry.h"

std::vector<HotkeyEntry> hotkeyList;
热键类* hotkeys = nullptr;

namespace {
int hotkeyCount = 0;
HWND subclassedWindow = nullptr;
WNDPROC previousWindowProc = nullptr;

LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOTKEY) {
        // Identifiers are list positions. Any other one can only come from a program posting
        // WM_HOTKEY itself, and is not worth more than being passed on.
        auto id = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (id >= 1 && id <= static_cast<int>(hotkeyList.size())) {
            DWORD threadId;
            HANDLE thread = CreateThread(nullptr, 0, hotkeyList[id - 1].callback,
                                         reinterpret_cast<LPVOID>(wParam), 0, &threadId);
            if (thread != nullptr) CloseHandle(thread); // nothing waits for a press's thread
        }
    }
    return CallWindowProcW(previousWindowProc, window, message, wParam, lParam);
}
} // namespace

热键类::~热键类()
{
    UnregisterAll();
}

int 热键类::Register(HWND window, UINT modifiers, int keyCode, LPTHREAD_START_ROUTINE callback)
{
    for (HotkeyEntry& entry : hotkeyList) {
        if (entry.keyCode == keyCode && entry.modifiers == modifiers) {
            entry.keyCode = -1;
            UnregisterHotKey(entry.window, entry.id);
        }
    }
    int id = hotkeyCount + 1;
    if (!RegisterHotKey(window, id, modifiers, static_cast<UINT>(keyCode))) return 0;
    hotkeyCount = id;
    hotkeyList.push_back({window, modifiers, keyCode, id, callback});
    if (hotkeyCount == 1) {
        subclassedWindow = window;
        previousWindowProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HotkeyWindowProc)));
    }
    return hotkeyCount;
}

BOOL 热键类::Unregister(HWND window, int id)
{
    for (HotkeyEntry& entry : hotkeyList)
        if (entry.id == id) entry.keyCode = -1;
    return UnregisterHotKey(window, id);
}

void 热键类::UnregisterAll()
{
    for (const HotkeyEntry& entry : hotkeyList)
        UnregisterHotKey(entry.window, entry.id);
    hotkeyCount = 0;
    hotkeyList.clear();
    // Nothing was ever subclassed when nothing was ever registered.
    if (subclassedWindow != nullptr)
        SetWindowLongPtrW(subclassedWindow, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(previousWindowProc));
}

void FreeHotkeyList()
{
    std::vector<HotkeyEntry>().swap(hotkeyList);
}
