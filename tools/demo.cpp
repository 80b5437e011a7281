// A short tour of Glimvane for a machine without a display of its own: starts glimvane.exe,
// uses its hotkeys on a window of this program as a person would, and says what happened.
// The run script takes a screenshot while the tour pauses.

#include "tests/common/program.h"
#include "tests/common/test_windows.h"

#include <cstdio>
#include <string>

namespace {
constexpr WPARAM kExitCommand = 20001; // the tray menu's "退出"

void Say(const char* format, auto... values)
{
    std::printf(format, values...);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    Program glimvane(L"glimvane.exe");
    if (!glimvane.started()) {
        Say("Could not start glimvane.exe.");
        return 1;
    }
    HWND main = glimvane.FindWindowOf(L"GlimvaneMain", L"Glimvane", 10000);
    WaitUntil([&] { return IsWindowVisible(main) != FALSE; });
    if (main == nullptr) {
        Say("Glimvane's window did not appear.");
        return 1;
    }
    RECT outer = WindowRect(main);
    Say("Glimvane is running: its window is at %ld,%ld, %ld x %ld, with a tray icon.", outer.left,
        outer.top, outer.right - outer.left, outer.bottom - outer.top);

    TestWindow target = MakeTopLevel({150, 120, 150 + 420, 120 + 330});
    SetWindowTextW(target, L"Some other program");
    RECT client = ClientRect(target);
    Say("Another program's window has a client area of %ld x %ld.", client.right, client.bottom);

    SetText(ChildAt(main, 56, 24), L"640");
    SetText(ChildAt(main, 112, 24), L"480");
    Say("Typed 640 and 480 into Glimvane's size boxes.");
    RECT before = WindowRect(target);
    SetCursorPos(before.left + 60, before.top + 8); // on its title bar
    PressKeys({VK_SHIFT}); // Wine may miss the modifier of the very first key it is sent
    PressKeys({VK_MENU, 'Z'});
    WaitUntil([&] { return ClientRect(target).right == 640; });
    client = ClientRect(target);
    RECT after = WindowRect(target);
    Say("Alt+Z over it: its client area is now %ld x %ld; its top-left corner stayed at %ld,%ld.",
        client.right, client.bottom, after.left, after.top);

    for (int i = 0; i < 3; ++i)
        PressKeys({VK_MENU, VK_DOWN});
    WaitUntil([&] { return Alpha(target) == 180; });
    Say("Alt+Down three times: it is layered at opacity %d of 255.", Alpha(target));
    Say("Glimvane shows the locked window's handle: %ls.",
        WindowText(ChildAt(main, 56, 56)).c_str());

    if (argc > 1) { // the run script takes its screenshot now
        Say("%s", argv[1]);
        PumpMessages(1500);
    }

    PressKeys({VK_MENU, 'X'});
    WaitUntil([&] { return !IsWindowVisible(target); });
    Say("Alt+X: the window is %s.", IsWindowVisible(target) ? "still visible" : "hidden");
    SetCursorPos(1300, 700);
    PressKeys({VK_MENU, 'X'});
    WaitUntil([&] { return IsWindowVisible(target) != FALSE; });
    Say("Alt+X again, wherever the cursor is: the window is %s.",
        IsWindowVisible(target) ? "back" : "still hidden");

    PressKeys({VK_MENU, VK_UP});
    PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    DWORD code = glimvane.WaitForExit();
    Say("Chose 退出 (Exit) in the tray menu: Glimvane ended with exit code %lu, and the window it "
        "had faded is %s.",
        code,
        (GetWindowLongW(target, GWL_EXSTYLE) & WS_EX_LAYERED) ? "still layered" : "as it was");
    return 0;
}
