// The main window as another program sees it, and the ways Glimvane ends.

#include "tests/e2e/probe.h"

#include <filesystem>

namespace {
HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}
} // namespace

TEST_F(GlimvaneTest, OpensCentredWithItsFixedSizeAndNoTaskbarButton)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1366);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    RECT outer = WindowRect(mainWindow);
    EXPECT_EQ(outer.left, 523);
    EXPECT_EQ(outer.top, 304);
    EXPECT_EQ(outer.right - outer.left, 319);
    EXPECT_EQ(outer.bottom - outer.top, 160);
    EXPECT_EQ(WindowText(mainWindow), L"Glimvane");

    LONG style = GetWindowLongW(mainWindow, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(GetWindowLongW(mainWindow, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(GetMenu(mainWindow), nullptr);

    // Owned by a hidden tool window, which keeps it out of the taskbar.
    HWND owner = GetWindow(mainWindow, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_NE(GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

TEST_F(GlimvaneTest, HasItsNineControlsInPlaceAndInStackingOrder)
{
    struct Expected {
        const wchar_t* className;
        const wchar_t* text;
        int x, y, width, height;
        bool enabled;
        bool tabStop;
    };
    // Top of the stacking order first.
    const Expected expected[] = {
        {L"GlimvaneLabel", L"Alt+↑、Alt+↓调整透明度", 56, 96, 144, 16, true, false},
        {L"GlimvaneLabel", L"透度：", 16, 96, 40, 16, true, false},
        {L"GlimvaneLabel", L"句柄：", 16, 64, 40, 16, true, false},
        {L"Button", L"隐藏/显示(Alt+X)", 176, 56, 120, 24, true, true},
        {L"Button", L"改变大小(Alt+Z)", 176, 24, 120, 24, true, true},
        {L"GlimvaneLabel", L"尺寸：", 16, 24, 40, 16, true, false},
        {L"Edit", L"", 56, 56, 104, 24, false, true},
        {L"Edit", L"", 112, 24, 48, 24, true, true},
        {L"Edit", L"", 56, 24, 48, 24, true, true},
    };
    std::vector<HWND> children = Children(mainWindow);
    ASSERT_EQ(children.size(), std::size(expected));
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "control " << i);
        HWND control = children[i];
        wchar_t className[64] = {};
        GetClassNameW(control, className, 64);
        EXPECT_EQ(_wcsicmp(className, expected[i].className), 0) << className;
        EXPECT_EQ(WindowText(control), expected[i].text);
        POINT corner = PositionInParent(control);
        RECT rect = WindowRect(control);
        EXPECT_EQ(corner.x, expected[i].x);
        EXPECT_EQ(corner.y, expected[i].y);
        EXPECT_EQ(rect.right - rect.left, expected[i].width);
        EXPECT_EQ(rect.bottom - rect.top, expected[i].height);
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, expected[i].enabled);
        EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0, expected[i].tabStop);
        EXPECT_TRUE(IsWindowVisible(control));
    }
}

TEST_F(GlimvaneTest, FocusStartsInTheWidthBoxAndTabCyclesOverFourControls)
{
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(mainWindow) == WidthBox(); }));
    for (HWND next : {HeightBox(), ResizeButton(), ShowHideButton(), WidthBox(), HeightBox()}) {
        PressKeys({VK_TAB});
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(mainWindow) == next; }));
    }
    // Shift+Tab is not taken, and Enter presses no button.
    PressKeys({VK_SHIFT, VK_TAB});
    PressKeys({VK_RETURN});
    PumpMessages(200);
    EXPECT_EQ(FocusOf(mainWindow), HeightBox());
    EXPECT_EQ(FindBox(glimvane->id(), L"信息：", 300), nullptr);
}

TEST_F(GlimvaneTest, EscapeHidesTheWindowButShiftEscapeDoesNot)
{
    PressKeys({VK_SHIFT, VK_ESCAPE});
    PumpMessages(200);
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(mainWindow); }));
    EXPECT_TRUE(IsWindow(mainWindow));
    EXPECT_EQ(WaitForSingleObject(glimvane->handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(GlimvaneTest, ExitItemEndsWithExitCodeZero)
{
    // The exit item's command identifier: the menu's entries are numbered from 20000.
    PostMessageW(mainWindow, WM_COMMAND, 20001, 0);
    EXPECT_EQ(glimvane->WaitForExit(), 0u);
}

TEST(FatalError, ShowsItsBoxAndEndsWithMinusOneOnlyOnceTheBoxIsClosed)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring marker = std::wstring(folder) + L"glimvane-hook-ran";
    DeleteFileW(marker.c_str());

    Program app(L"fatal_app.exe", L"6 调用DLL命令后发现堆栈错误 \"" + marker + L"\"");
    ASSERT_TRUE(app.started());
    HWND box = FindBox(app.id(), L"错误");
    ASSERT_NE(box, nullptr);
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    EXPECT_STREQ(text,
                 L"运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n");
    PumpMessages(300);
    EXPECT_EQ(WaitForSingleObject(app.handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.WaitForExit(), 0xFFFFFFFFu);
    EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the shutdown hook ran";
}

TEST(FatalError, AMainWindowThatCannotBeMadeEndsWithItsOwnBoxAndLeavesNothingBehind)
{
    Program app(L"fatal_app.exe", L"refuse-button");
    ASSERT_TRUE(app.started());
    HWND box = FindBox(app.id(), L"错误");
    ASSERT_NE(box, nullptr);
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    EXPECT_STREQ(text, L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    // What was made of the main window is gone again.
    EXPECT_EQ(app.FindWindowOf(kMainClass, kMainCaption, 0), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(app.WaitForExit(), 0xFFFFFFFFu);
}
