#pragma once

// Real windows for tests, and the waiting that goes with them.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A window of the test's own: destroyed when the holder goes.
class TestWindow {
  public:
    TestWindow() = default;
    explicit TestWindow(HWND window) : window_(window) {}
    TestWindow(TestWindow&& other) noexcept : window_(other.window_) { other.window_ = nullptr; }
    TestWindow& operator=(TestWindow&& other) noexcept;
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow();

    HWND get() const { return window_; }
    operator HWND() const { return window_; }

  private:
    HWND window_ = nullptr;
};

// A plain top-level window at the given outer rectangle, shown without being activated unless
// asked. `owner` makes it an owned window.
TestWindow MakeTopLevel(RECT outer, DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0,
                        HWND owner = nullptr, bool withMenu = false);

// A child control of the given window class ("BUTTON", "EDIT", ...) in the parent's client area.
HWND MakeChild(HWND parent, const wchar_t* className, RECT at, DWORD style = 0);

// Handles the calling thread's messages for the given time.
void PumpMessages(DWORD milliseconds);

// Pumps messages until the condition holds or the time is up; returns the condition.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 3000);

RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
// The top-left corner as MoveWindow sees it: a child's in its parent's client area.
POINT PositionInParent(HWND window);

// The children of `parent`, top of the stacking order first.
std::vector<HWND> Children(HWND parent);
// The child whose top-left corner lies at the given point of the parent's client area.
HWND ChildAt(HWND parent, int x, int y);
// The alpha of a layered window, or -1 while it has none.
int Alpha(HWND window);

// Another process's edit box text, read and set the way the window manager allows.
std::wstring WindowText(HWND window);
void SetText(HWND window, const std::wstring& text);

// Whether the notification area holds an icon for this window and identifier: modifying an
// icon with no flags changes nothing, and fails when there is no such icon.
bool HasTrayIcon(HWND window, UINT id = 100); // 100 is the identifier of Glimvane's icon

// One key event, as the keyboard sends it.
void SendKey(WORD key, bool up);

// Keys as the user would press them, one after the other, 20 ms apart (Wine drops keys sent
// faster in bursts). Modifiers are pressed first and released last.
void PressKeys(std::initializer_list<WORD> keys);
