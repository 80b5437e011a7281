#include "winops/cursor.h"

#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Topmost, so that nothing else on the screen covers the points the tests aim at.
TestWindow MakeUncovered()
{
    return MakeTopLevel({300, 150, 700, 450}, WS_OVERLAPPEDWINDOW, WS_EX_TOPMOST);
}

POINT Centre(HWND window)
{
    const RECT rect = WindowRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND WindowUnderCursorAt(POINT point)
{
    SetCursorPos(point.x, point.y);
    PumpMessages(10);
    return WindowUnderCursor();
}

TEST(WindowUnderCursorTest, ControlInsideWindow)
{
    TestWindow window = MakeUncovered();
    HWND button = MakeChild(window, L"BUTTON", {20, 20, 120, 50});

    EXPECT_EQ(WindowUnderCursorAt(Centre(button)), button);
}

TEST(WindowUnderCursorTest, TitleBarGivesTopLevelWindow)
{
    TestWindow window = MakeUncovered();
    MakeChild(window, L"BUTTON", {0, 0, 400, 300});
    POINT clientCorner = {0, 0};
    ClientToScreen(window, &clientCorner);
    const POINT titleBar = {Centre(window).x, clientCorner.y - GetSystemMetrics(SM_CYCAPTION) / 2};

    EXPECT_EQ(WindowUnderCursorAt(titleBar), window.get());
}

// From the thread that owns a group box, WindowFromPoint skips it (it answers HTTRANSPARENT);
// from any other thread, as from another program, the group box hides what lies beneath it.
template <class Find> HWND OnOtherThread(Find find, POINT point)
{
    std::atomic<HWND> found{nullptr};
    std::atomic<bool> done{false};
    std::thread finder([&] {
        found = find(point);
        done = true;
    });
    WaitUntil([&] { return done.load(); });
    finder.join();
    return found;
}

TEST(WindowUnderCursorTest, SmallerSiblingBeneathGroupBox)
{
    TestWindow window = MakeUncovered();
    HWND group = MakeChild(window, L"BUTTON", {10, 10, 310, 210}, BS_GROUPBOX);
    HWND control = MakeChild(window, L"BUTTON", {50, 50, 150, 80});
    // Smaller still, but hidden or away from the cursor.
    HWND hidden = MakeChild(window, L"BUTTON", {80, 55, 120, 75});
    ShowWindow(hidden, SW_HIDE);
    MakeChild(window, L"BUTTON", {200, 150, 220, 170});
    // Larger, and lower still.
    HWND below = MakeChild(window, L"STATIC", {0, 0, 400, 300});
    for (HWND lower : {below, hidden, control})
        SetWindowPos(lower, group, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const POINT point = Centre(control);
    ASSERT_EQ(OnOtherThread([](POINT at) { return WindowFromPoint(at); }, point), group);

    EXPECT_EQ(OnOtherThread([](POINT at) { return WindowUnderCursorAt(at); }, point), control);
}

TEST(WindowUnderCursorTest, AwayFromOurWindowsGivesSomethingElse)
{
    TestWindow window = MakeUncovered();

    HWND found = WindowUnderCursorAt({1350, 750});

    EXPECT_NE(found, window.get());
    if (found != nullptr) {
        EXPECT_TRUE(IsWindow(found));
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        EXPECT_NE(process, GetCurrentProcessId());
    }
}

} // namespace
