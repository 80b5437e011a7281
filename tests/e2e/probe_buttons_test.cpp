// The two buttons run the same commands as Alt+Z and Alt+X, on Glimvane's own thread.

#include "tests/e2e/probe.h"

namespace {
// Clicks the button the way a posted BM_CLICK does, leaving the cursor where it is.
void Click(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

void MouseClickAt(POINT at)
{
    SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

POINT CentreOf(HWND window)
{
    RECT rect = WindowRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}
} // namespace

TEST_F(GlimvaneTest, ResizeButtonGivesTheWindowUnderTheCursorTheTypedClientSize)
{
    TestWindow target =
        MakeTopLevel({100, 60, 100 + 300, 60 + 200}, WS_OVERLAPPEDWINDOW, 0, nullptr, true);
    SetText(WidthBox(), L"640");
    SetText(HeightBox(), L"480");
    RECT before = WindowRect(target);
    SetCursorPos(before.left + 40, before.top + 60);
    Click(ResizeButton());
    ASSERT_TRUE(WaitUntil([&] { return ClientRect(target).right == 640; }));
    EXPECT_EQ(ClientRect(target).bottom, 480);
    EXPECT_EQ(WindowRect(target).left, before.left);
    EXPECT_EQ(WindowRect(target).top, before.top);
}

TEST_F(GlimvaneTest, RealClickOnTheResizeButtonResizesTheButtonItself)
{
    SetText(WidthBox(), L"130");
    SetText(HeightBox(), L"30");
    MouseClickAt(CentreOf(ResizeButton()));
    HWND button = ResizeButton(); // found by its place, which must not change
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ClientRect(button).right == 130; }));
    EXPECT_EQ(ClientRect(button).bottom, 30);
}

TEST_F(GlimvaneTest, ResizeButtonWithAnEmptyBoxAsksForTheSizeAndChangesNothing)
{
    TestWindow target = MakeTopLevel({100, 60, 400, 260});
    RECT before = WindowRect(target);
    SetText(WidthBox(), L"640");
    SetCursorPos(before.left + 40, before.top + 60);
    Click(ResizeButton());
    HWND box = FindBox(glimvane->id(), L"信息：");
    ASSERT_NE(box, nullptr);
    wchar_t text[128] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 128);
    EXPECT_STREQ(text, L"请先填写窗口尺寸");
    EXPECT_FALSE(IsWindowEnabled(mainWindow)); // task-modal on Glimvane's own thread
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }));
    RECT after = WindowRect(target);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(GlimvaneTest, ShowHideButtonLocksTheWindowUnderTheCursorInTheTargetBox)
{
    TestWindow target = MakeTopLevel({100, 60, 400, 260});
    SetCursorPos(150, 110);
    Click(ShowHideButton());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(target); }));
    EXPECT_EQ(WindowText(TargetBox()), std::to_wstring(HandleToLong(target.get())));

    SetCursorPos(1300, 700); // elsewhere: the same window comes back
    Click(ShowHideButton());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(target) != FALSE; }));
    EXPECT_EQ(WindowText(TargetBox()), std::to_wstring(HandleToLong(target.get())));
}
