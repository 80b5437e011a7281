// Glimvane's notification-area icon and its menu, closing to the tray and the session's end, as
// another program sees them.

#include "tests/e2e/probe.h"

#include <shellapi.h>

#include <functional>
#include <vector>

namespace {
constexpr UINT kTrayMessage = WM_APP + 100;
constexpr UINT kTrayIconId = 100;
constexpr int kMenuOffset = 5;
constexpr UINT kHotkeys[] = {'Z', 'X', VK_UP, VK_DOWN}; // each with Alt

void DeleteTrayIcon(HWND window)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &record);
}

bool HotkeyIsFree(UINT key)
{
    constexpr int kProbeHotkey = 0xB000;
    if (!RegisterHotKey(nullptr, kProbeHotkey, MOD_ALT, key)) return false;
    UnregisterHotKey(nullptr, kProbeHotkey);
    return true;
}

void PostTrayEvent(HWND window, UINT mouseMessage)
{
    PostMessageW(window, kTrayMessage, kTrayIconId, mouseMessage);
}

// Returns once Glimvane has handled the event, unless it opened a menu.
void SendTrayEvent(HWND window, UINT mouseMessage)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, kTrayMessage, kTrayIconId, mouseMessage, SMTO_ABORTIFHUNG, 3000,
                        &result);
}

bool IsRunning(const Program& program)
{
    return WaitForSingleObject(program.handle(), 0) == WAIT_TIMEOUT;
}

// Wine moves the X input focus some time after the foreground has changed, and a move that
// lands late takes the foreground away from whichever window has it by then.
void LetFocusSettle()
{
    PumpMessages(150);
}

bool IsForegroundAndVisible(HWND window)
{
    return IsWindowVisible(window) && GetForegroundWindow() == window;
}

// Wine shows each notification-area icon as a window of its own inside its tray window.
std::vector<HWND> WineTrayIcons()
{
    std::vector<HWND> icons;
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (tray == nullptr) return icons;
    for (HWND icon : Children(tray))
        if (IsWindowVisible(icon)) icons.push_back(icon);
    return icons;
}

bool RunsUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The middle of the caption's close button, found the way the window manager finds it.
POINT CloseButton(HWND window)
{
    auto isClose = [window](int x, int y) {
        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE;
    };
    RECT outer = WindowRect(window);
    for (int y = outer.top; y < outer.top + 2 * GetSystemMetrics(SM_CYCAPTION); ++y) {
        for (int x = outer.right - 1; x > outer.right - 60; --x) {
            if (!isClose(x, y)) continue;
            // The first hit is the button's top right corner.
            int left = x;
            int bottom = y;
            while (isClose(left - 1, y))
                --left;
            while (isClose(x, bottom + 1))
                ++bottom;
            return {(left + x) / 2, (y + bottom) / 2};
        }
    }
    return {-1, -1};
}

void ClickAt(POINT point)
{
    SetCursorPos(point.x, point.y);
    PumpMessages(20);
    for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        SendInput(1, &input, sizeof input);
        PumpMessages(20);
    }
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

class TrayTest : public GlimvaneTest {
  protected:
    // Glimvane's pop-up menu once it is on screen, or null.
    HWND OpenMenu(DWORD milliseconds = 3000) const
    {
        HWND menu = nullptr;
        WaitUntil(
            [&] {
                menu = glimvane->FindWindowOf(L"#32768", nullptr, 0);
                return menu != nullptr && IsWindowVisible(menu);
            },
            milliseconds);
        return menu;
    }

    // Hides the main window the way the close button does.
    bool Hide() const
    {
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        bool hidden = WaitUntil([&] { return !IsWindowVisible(mainWindow); });
        LetFocusSettle();
        return hidden;
    }
};

TEST_F(TrayTest, TheIconIsUpWhileGlimvaneRuns)
{
    EXPECT_TRUE(HasTrayIcon(mainWindow));
    EXPECT_FALSE(HasTrayIcon(mainWindow, kTrayIconId + 1));
    EXPECT_FALSE(HasTrayIcon(GetWindow(mainWindow, GW_OWNER)));
    for (UINT key : kHotkeys)
        EXPECT_FALSE(HotkeyIsFree(key)) << "key " << key;
}

TEST_F(TrayTest, EveryWayOfClosingOnlyHidesAndALeftClickBringsTheWindowBack)
{
    struct Way {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Way ways[] = {
        {"Escape", [](HWND) { PressKeys({VK_ESCAPE}); }},
        {"close button", [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"close button clicked", [](HWND window) { ClickAt(CloseButton(window)); }},
        {"Alt+F4",
         [](HWND) {
             PressKeys({VK_MENU, VK_F4});
         }},
        {"WM_CLOSE from another program",
         [](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }},
    };
    const RECT home = WindowRect(mainWindow);
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(WaitUntil([&] { return IsForegroundAndVisible(mainWindow); }));
        LetFocusSettle();
        ASSERT_TRUE(IsForegroundAndVisible(mainWindow));
        way.close(mainWindow);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(mainWindow); }));
        EXPECT_TRUE(IsRunning(*glimvane));
        EXPECT_TRUE(IsWindow(mainWindow));
        EXPECT_TRUE(HasTrayIcon(mainWindow));

        LetFocusSettle();
        PostTrayEvent(mainWindow, WM_LBUTTONUP);
        EXPECT_TRUE(WaitUntil([&] { return IsForegroundAndVisible(mainWindow); }));
        EXPECT_TRUE(SameRect(WindowRect(mainWindow), home));
    }
}

TEST_F(TrayTest, ALeftClickActivatesTheShownWindowAgain)
{
    TestWindow other = MakeTopLevel({100, 100, 400, 300});
    SetForegroundWindow(other);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }));
    LetFocusSettle();
    ASSERT_TRUE(IsWindowVisible(mainWindow));

    PostTrayEvent(mainWindow, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mainWindow; }));
    EXPECT_TRUE(IsWindowVisible(mainWindow));
}

TEST_F(TrayTest, OtherMouseMessagesDoNothing)
{
    const UINT messages[] = {WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                             WM_MOUSEMOVE,     WM_MBUTTONUP,   NIN_SELECT};
    for (bool hidden : {false, true}) {
        if (hidden) {
            ASSERT_TRUE(Hide());
        }
        for (UINT message : messages) {
            SCOPED_TRACE(testing::Message()
                         << "message 0x" << std::hex << message << ", hidden " << hidden);
            SendTrayEvent(mainWindow, message);
            EXPECT_EQ(IsWindowVisible(mainWindow) != FALSE, !hidden);
            EXPECT_EQ(OpenMenu(0), nullptr);
            EXPECT_TRUE(IsRunning(*glimvane));
        }
    }
}

TEST_F(TrayTest, ARightClickOpensTheMenuBesideTheCursorAndEscapeDismissesIt)
{
    struct Case {
        UINT message;
        POINT cursor;
        bool hidden;
    };
    const Case cases[] = {
        {WM_RBUTTONUP, {683, 384}, false},
        {WM_CONTEXTMENU, {700, 420}, false},
        {WM_RBUTTONUP, {650, 350}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message << std::dec
                                        << " at " << c.cursor.x << "," << c.cursor.y);
        if (c.hidden) {
            ASSERT_TRUE(Hide());
        }
        const RECT before = WindowRect(mainWindow);
        SetCursorPos(c.cursor.x, c.cursor.y);
        POINT cursor = {};
        ASSERT_TRUE(WaitUntil([&] {
            return GetCursorPos(&cursor) && cursor.x == c.cursor.x && cursor.y == c.cursor.y;
        }));

        PostTrayEvent(mainWindow, c.message);
        HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        RECT rect = WindowRect(menu);
        EXPECT_EQ(rect.right, c.cursor.x - kMenuOffset);
        EXPECT_EQ(rect.top, c.cursor.y - kMenuOffset);

        PressKeys({VK_ESCAPE});
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
        LetFocusSettle();
        EXPECT_TRUE(IsRunning(*glimvane));
        EXPECT_EQ(IsWindowVisible(mainWindow) != FALSE, !c.hidden);
        EXPECT_TRUE(SameRect(WindowRect(mainWindow), before));
        EXPECT_TRUE(HasTrayIcon(mainWindow));
    }
}

TEST_F(TrayTest, TheExitItemEndsGlimvaneTakesTheIconAwayAndFreesTheHotkeys)
{
    SetCursorPos(683, 384);
    PostTrayEvent(mainWindow, WM_RBUTTONUP);
    ASSERT_NE(OpenMenu(), nullptr);
    PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_EQ(glimvane->WaitForExit(), 0u);
    // Wine also clears away the icons of destroyed windows; Windows leaves them behind.
    EXPECT_FALSE(HasTrayIcon(mainWindow));
    for (UINT key : kHotkeys)
        EXPECT_TRUE(HotkeyIsFree(key)) << "key " << key;
}

TEST_F(TrayTest, TheSessionsEndIsNeverRefusedAndEndsGlimvaneInOrder)
{
    const RECT home = WindowRect(mainWindow);
    const LPARAM reasons[] = {0, static_cast<LPARAM>(ENDSESSION_LOGOFF), ENDSESSION_CLOSEAPP};
    for (LPARAM reason : reasons) {
        SCOPED_TRACE(testing::Message() << "reason " << std::hex << reason);
        PostTrayEvent(mainWindow, WM_LBUTTONUP);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(mainWindow) != FALSE; }));
        DWORD_PTR answer = FALSE;
        ASSERT_NE(SendMessageTimeoutW(mainWindow, WM_QUERYENDSESSION, 0, reason, SMTO_ABORTIFHUNG,
                                      3000, &answer),
                  0);
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
        EXPECT_FALSE(IsWindowVisible(mainWindow));
        EXPECT_TRUE(HasTrayIcon(mainWindow));
    }

    // The session goes on after all.
    DWORD_PTR result = 0;
    ASSERT_NE(
        SendMessageTimeoutW(mainWindow, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 3000, &result),
        0);
    EXPECT_TRUE(IsRunning(*glimvane));
    EXPECT_TRUE(HasTrayIcon(mainWindow));
    PostTrayEvent(mainWindow, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(mainWindow) != FALSE; }));
    EXPECT_TRUE(SameRect(WindowRect(mainWindow), home));

    SendMessageTimeoutW(mainWindow, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 3000, &result);
    EXPECT_EQ(glimvane->WaitForExit(), 0u);
    EXPECT_FALSE(HasTrayIcon(mainWindow));
}

TEST_F(TrayTest, ANewNotificationAreaGetsTheIconAgain)
{
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    for (bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "hidden" : "shown");
        if (hidden) {
            ASSERT_TRUE(Hide());
        }
        DeleteTrayIcon(mainWindow);
        ASSERT_FALSE(HasTrayIcon(mainWindow));
        PostMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return HasTrayIcon(mainWindow); }));
        EXPECT_EQ(IsWindowVisible(mainWindow) != FALSE, !hidden);
        EXPECT_TRUE(IsRunning(*glimvane));
    }
}

TEST_F(TrayTest, ClickingTheIconInWinesTrayShowsTheWindow)
{
    if (!RunsUnderWine()) GTEST_SKIP() << "finds the icon in Wine's own tray window";
    // Icons of programs ended before are cleared away shortly after.
    ASSERT_TRUE(WaitUntil([] { return WineTrayIcons().size() == 1; }));
    ASSERT_TRUE(Hide());
    RECT icon = WindowRect(WineTrayIcons().front());
    ClickAt({(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return IsForegroundAndVisible(mainWindow); }));
}
} // namespace
