// The hotkey registry against real windows of the test. Combinations use keys no one else
// here binds, and every test leaves the registry empty.

#include "hotkeys/registry.h"
#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {
constexpr UINT kAltShift = MOD_ALT | MOD_SHIFT;

std::atomic<int> firstCalls{0};
std::atomic<int> secondCalls{0};
std::atomic<INT_PTR> lastParameter{0};
std::atomic<int> hotkeysSeen{0}; // WM_HOTKEY messages that reached the window's own procedure

DWORD WINAPI FirstCallback(LPVOID parameter)
{
    lastParameter = reinterpret_cast<INT_PTR>(parameter);
    ++firstCalls;
    return 0;
}

DWORD WINAPI SecondCallback(LPVOID parameter)
{
    lastParameter = reinterpret_cast<INT_PTR>(parameter);
    ++secondCalls;
    return 0;
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOTKEY) ++hotkeysSeen;
    return DefWindowProcW(window, message, wParam, lParam);
}

class HotkeyRegistryTest : public testing::Test {
  protected:
    void SetUp() override
    {
        firstCalls = secondCalls = hotkeysSeen = 0;
        lastParameter = 0;
        window = MakeWindow();
        otherWindow = MakeWindow();
    }
    void TearDown() override
    {
        registry.UnregisterAll();
        EXPECT_TRUE(hotkeyList.empty());
    }

    static TestWindow MakeWindow()
    {
        TestWindow made = MakeTopLevel({0, 0, 100, 100}, WS_POPUP);
        SetWindowLongPtrW(made, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc));
        return made;
    }

    static WNDPROC ProcOf(HWND of)
    {
        return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(of, GWLP_WNDPROC));
    }

    // True when nobody holds the combination: the test can take it for itself.
    static bool IsFree(UINT modifiers, UINT key)
    {
        if (!RegisterHotKey(nullptr, 0xB000, modifiers, key)) return false;
        UnregisterHotKey(nullptr, 0xB000);
        return true;
    }

    static void Press(HWND to, INT_PTR id)
    {
        SendMessageW(to, WM_HOTKEY, static_cast<WPARAM>(id), 0);
    }

    热键类 registry;
    TestWindow window;
    TestWindow otherWindow;
};
} // namespace

TEST_F(HotkeyRegistryTest, RefusedFirstRegistrationLeavesTheProcedureAndTheNextSuccessIsOne)
{
    ASSERT_TRUE(RegisterHotKey(nullptr, 0xB001, kAltShift, 'Q')); // someone else holds Alt+Shift+Q
    EXPECT_EQ(registry.Register(window, kAltShift, 'Q', FirstCallback), 0);
    UnregisterHotKey(nullptr, 0xB001);
    EXPECT_EQ(ProcOf(window), CountingProc);
    EXPECT_TRUE(hotkeyList.empty());

    EXPECT_EQ(registry.Register(window, kAltShift, 'W', FirstCallback), 1);
    EXPECT_NE(ProcOf(window), CountingProc);
    Press(window, 1);
    EXPECT_TRUE(WaitUntil([] { return firstCalls == 1; }));
    EXPECT_EQ(lastParameter, 1);
    EXPECT_EQ(hotkeysSeen, 1); // passed on as well

    registry.UnregisterAll();
    EXPECT_EQ(ProcOf(window), CountingProc);
    EXPECT_TRUE(IsFree(kAltShift, 'W'));
    EXPECT_EQ(registry.Register(window, kAltShift, 'W', FirstCallback), 1); // numbering restarts
}

TEST_F(HotkeyRegistryTest, SameCombinationAgainReleasesTheEarlierOne)
{
    ASSERT_EQ(registry.Register(window, kAltShift, 'E', FirstCallback), 1);
    ASSERT_EQ(registry.Register(otherWindow, kAltShift, 'E', SecondCallback), 2);
    ASSERT_EQ(hotkeyList.size(), 2u);
    EXPECT_EQ(hotkeyList[0].keyCode, -1);
    EXPECT_EQ(hotkeyList[1].keyCode, 'E');
    EXPECT_EQ(hotkeyList[1].window, otherWindow.get());
    EXPECT_FALSE(IsFree(kAltShift, 'E')); // still held, now by the second registration

    // Presses reach the registry only through the first window's procedure.
    Press(window, 2);
    EXPECT_TRUE(WaitUntil([] { return secondCalls == 1; }));
    Press(otherWindow, 2);
    PumpMessages(100);
    EXPECT_EQ(secondCalls, 1);
    EXPECT_EQ(firstCalls, 0);
}

TEST_F(HotkeyRegistryTest, RefusedReRegistrationLeavesTheCombinationRegisteredNowhere)
{
    ASSERT_EQ(registry.Register(window, kAltShift, 'R', FirstCallback), 1);
    // The window manager refuses a window that no longer exists.
    HWND gone = MakeTopLevel({0, 0, 10, 10}, WS_POPUP).get();
    EXPECT_EQ(registry.Register(gone, kAltShift, 'R', SecondCallback), 0);
    EXPECT_EQ(hotkeyList.size(), 1u);
    EXPECT_EQ(hotkeyList[0].keyCode, -1);
    EXPECT_TRUE(IsFree(kAltShift, 'R'));
}

TEST_F(HotkeyRegistryTest, ReleasedEntryStillStartsItsCallbackAndUnknownIdentifiersAreIgnored)
{
    ASSERT_EQ(registry.Register(window, kAltShift, 'T', FirstCallback), 1);
    EXPECT_TRUE(registry.Unregister(window, 1));
    EXPECT_EQ(hotkeyList[0].keyCode, -1);
    EXPECT_TRUE(IsFree(kAltShift, 'T'));
    EXPECT_FALSE(
        registry.Unregister(window, 7)); // no such registration: the window manager's answer

    Press(window, 1); // queued before the release, say
    EXPECT_TRUE(WaitUntil([] { return firstCalls == 1; }));
    for (INT_PTR foreign : {0, 2, 99, -1})
        Press(window, foreign);
    PumpMessages(100);
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(hotkeysSeen, 5);
}

TEST_F(HotkeyRegistryTest, UnregisterAllWithNothingRegisteredChangesNothing)
{
    registry.UnregisterAll();
    EXPECT_EQ(ProcOf(window), CountingProc);
    EXPECT_TRUE(hotkeyList.empty());
    EXPECT_EQ(registry.Register(window, kAltShift, 'Y', FirstCallback), 1);
}

TEST_F(HotkeyRegistryTest, DestroyingAnyRegistryObjectReleasesEverything)
{
    ASSERT_EQ(registry.Register(window, kAltShift, 'U', FirstCallback), 1);
    delete new 热键类(registry);
    EXPECT_TRUE(hotkeyList.empty());
    EXPECT_TRUE(IsFree(kAltShift, 'U'));
    EXPECT_EQ(ProcOf(window), CountingProc);
}
