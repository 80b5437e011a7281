#pragma once

// System-wide hotkeys, each press running its routine on a new thread.

#include <windows.h>

#include <vector>

struct HotkeyEntry {
    HWND window;
    UINT modifiers;
    int keyCode; // -1 once the registration has been released
    int id;      // also the entry's 1-based position in hotkeyList
    LPTHREAD_START_ROUTINE callback;
};

// Every registration that succeeded since start or since the last UnregisterAll, in order.
// Touched only by the user-interface thread.
extern std::vector<HotkeyEntry> hotkeyList;

// Has no state of its own: every object works on the program-wide registry.
class 热键类 {
  public:
    热键类() = default;
    热键类(const 热键类&) = default;
    热键类& operator=(const 热键类&) = default;
    virtual ~热键类(); // runs UnregisterAll

    // Registers the combination for the window, first releasing any earlier registration of
    // it. Returns the new identifier (1 or more), or 0 when the window manager refuses it.
    // The first success replaces the window's procedure so that presses reach the registry.
    virtual int Register(HWND window, UINT modifiers, int keyCode, LPTHREAD_START_ROUTINE callback);
    virtual BOOL Unregister(HWND window, int id);
    // Releases everything, puts the window procedure back and starts identifiers at 1 again.
    virtual void UnregisterAll();
};

extern 热键类* hotkeys;

// Frees what hotkeyList holds, at shutdown.
void FreeHotkeyList();
