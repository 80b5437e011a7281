// The main window created in the test's own process, checked against what the user must see.

#include "shell/app.h"
#include "shell/main_window.h"
#include "shell/main_window_layout.h"
#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

namespace layout = main_window_layout;

namespace {
class MainWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartToolkit(GetModuleHandleW(nullptr))); }

    void SetUp() override
    {
        window = CreateMainWindow(GetModuleHandleW(nullptr), ToolkitWindow());
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyMainWindow(); }

    HWND Control(int id) const { return GetDlgItem(window, id); }

    // Presses a key as the message loop would see it.
    bool Key(WPARAM key) const
    {
        MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
        return PreTranslateMainWindowKey(message);
    }

    HWND window = nullptr;
};
} // namespace

TEST(CentredPosition, TruncatesTowardZero)
{
    struct Case {
        int screenWidth, screenHeight, x, y;
    };
    const Case cases[] = {{1366, 768, 523, 304},
                          {1920, 1080, 800, 460},
                          {1024, 768, 352, 304},
                          {320, 161, 0, 0},
                          {300, 100, -9, -30}};
    for (const Case& c : cases) {
        POINT at = layout::CentredPosition(c.screenWidth, c.screenHeight);
        EXPECT_EQ(at.x, c.x) << c.screenWidth;
        EXPECT_EQ(at.y, c.y) << c.screenHeight;
    }
}

TEST_F(MainWindowTest, IsCreatedHiddenWithItsFixedFrame)
{
    EXPECT_FALSE(IsWindowVisible(window));
    RECT outer = WindowRect(window);
    POINT centre =
        layout::CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(outer.left, centre.x);
    EXPECT_EQ(outer.top, centre.y);
    EXPECT_EQ(outer.right - outer.left, 319);
    EXPECT_EQ(outer.bottom - outer.top, 160);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
              static_cast<LONG>(WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN));
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), ToolkitWindow());
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowTest, ControlsHaveTheirLooksAndStackInReverseCreationOrder)
{
    const auto font = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const layout::Control& control : layout::kControls) {
        SCOPED_TRACE(control.id);
        HWND handle = Control(control.id);
        ASSERT_NE(handle, nullptr);
        LONG style = GetWindowLongW(handle, GWL_STYLE);
        LONG exStyle = GetWindowLongW(handle, GWL_EXSTYLE);
        EXPECT_EQ(SendMessageW(handle, WM_GETFONT, 0, 0), font);
        EXPECT_NE(style & WS_CLIPSIBLINGS, 0);
        switch (control.kind) {
        case layout::ControlKind::Edit:
            EXPECT_NE(style & ES_AUTOHSCROLL, 0);
            EXPECT_EQ(style & (ES_NUMBER | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE |
                               ES_NOHIDESEL | ES_MULTILINE),
                      0);
            EXPECT_NE(exStyle & WS_EX_CLIENTEDGE, 0);
            EXPECT_GE(SendMessageW(handle, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
            break;
        case layout::ControlKind::Button:
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
            EXPECT_EQ(style & (BS_CENTER | BS_VCENTER | BS_MULTILINE),
                      BS_CENTER | BS_VCENTER | BS_MULTILINE);
            break;
        case layout::ControlKind::Label:
            EXPECT_EQ(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
            EXPECT_EQ(style & WS_BORDER, 0);
            break;
        }
    }
    // Top first: the last created control lies on top.
    HWND child = GetWindow(window, GW_CHILD);
    for (auto control = layout::kControls.rbegin(); control != layout::kControls.rend();
         ++control) {
        EXPECT_EQ(child, Control(control->id)) << control->id;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

TEST_F(MainWindowTest, TabCyclesTheFocusableControlsAndEscapeHides)
{
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    ASSERT_EQ(GetFocus(), Control(layout::kWidthBox));
    for (int next :
         {layout::kHeightBox, layout::kResizeButton, layout::kShowHideButton, layout::kWidthBox}) {
        EXPECT_TRUE(Key(VK_TAB));
        EXPECT_EQ(GetFocus(), Control(next));
    }
    EXPECT_FALSE(Key(VK_RETURN));
    EXPECT_FALSE(Key(VK_F1));
    EXPECT_FALSE(Key(VK_LEFT));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(Key(VK_ESCAPE));
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(MainWindowTest, RemembersTheFocusAcrossDeactivation)
{
    TestWindow other = MakeTopLevel({10, 10, 210, 110});
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(Control(layout::kResizeButton));
    SetForegroundWindow(other);
    SetActiveWindow(other);
    PumpMessages(50);
    ASSERT_NE(GetActiveWindow(), window);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    PumpMessages(50);
    EXPECT_EQ(GetFocus(), Control(layout::kResizeButton));
}

TEST_F(MainWindowTest, DisabledTargetBoxNeverTakesTheFocus)
{
    HWND target = Control(layout::kTargetBox);
    EXPECT_FALSE(IsWindowEnabled(target));
    ShowWindow(window, SW_SHOW);
    SetFocus(target);
    EXPECT_NE(GetFocus(), target);
}
