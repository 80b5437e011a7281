#include "hotkeys/bindings.h"

#include "hotkeys/registry.h"
#include "winops/commands.h"

namespace {
// Each press runs its command on a thread of its own; the parameter is the hotkey's identifier.
DWORD WINAPI ResizeHotkeyThread(LPVOID)
{
    ResizeCommand();
    return 0;
}

DWORD WINAPI ShowHideHotkeyThread(LPVOID)
{
    ShowHideCommand();
    return 0;
}

DWORD WINAPI OpacityUpHotkeyThread(LPVOID)
{
    OpacityUpCommand();
    return 0;
}

DWORD WINAPI OpacityDownHotkeyThread(LPVOID)
{
    OpacityDownCommand();
    return 0;
}

struct Binding {
    int keyCode;
    LPTHREAD_START_ROUTINE thread;
};

// Without MOD_NOREPEAT a held combination repeats, which is how opacity is swept.
constexpr UINT kModifiers = MOD_ALT;
constexpr Binding kBindings[] = {
    {'Z', ResizeHotkeyThread},
    {'X', ShowHideHotkeyThread},
    {VK_UP, OpacityUpHotkeyThread},
    {VK_DOWN, OpacityDownHotkeyThread},
};
} // namespace

void RegisterHotkeyBindings(HWND mainWindow)
{
    for (const Binding& binding : kBindings)
        hotkeys->Register(mainWindow, kModifiers, binding.keyCode, binding.thread);
}
