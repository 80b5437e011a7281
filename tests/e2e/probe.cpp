#include "tests/e2e/probe.h"

#include <vector>

std::vector<HWND> BoxesOf(DWORD processId, const wchar_t* caption)
{
    return TopLevelWindowsOf(processId, L"#32770", caption);
}

HWND FindBox(DWORD processId, const wchar_t* caption, DWORD milliseconds)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> boxes = BoxesOf(processId, caption);
            if (!boxes.empty()) found = boxes.front();
            return found != nullptr;
        },
        milliseconds);
    return found;
}

std::wstring HandleText(HWND window)
{
    return std::to_wstring(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window)));
}

void LetTheKeyboardStateSettle()
{
    PumpMessages(100);
}

void PressHotkey(WORD key)
{
    LetTheKeyboardStateSettle();
    PressKeys({VK_MENU, key});
}

void PressWithAltHeld(const std::vector<WORD>& keys, DWORD pace)
{
    LetTheKeyboardStateSettle();
    SendKey(VK_MENU, false);
    Sleep(pace);
    for (WORD key : keys) {
        SendKey(key, false);
        Sleep(pace);
        SendKey(key, true);
        Sleep(pace);
    }
    SendKey(VK_MENU, true);
}

void GlimvaneTest::SetUp()
{
    glimvane = std::make_unique<Program>(L"glimvane.exe");
    ASSERT_TRUE(glimvane->started());
    mainWindow = glimvane->FindWindowOf(kMainClass, kMainCaption);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(mainWindow) != FALSE; }));
    // Keys sent before X has moved its focus to the new window can go astray.
    WaitUntil([&] { return GetForegroundWindow() == mainWindow; });
    LetTheKeyboardStateSettle();
}

void GlimvaneTest::TearDown()
{
    glimvane.reset();
}

HWND GlimvaneTest::WidthBox() const
{
    return ChildAt(mainWindow, 56, 24);
}
HWND GlimvaneTest::HeightBox() const
{
    return ChildAt(mainWindow, 112, 24);
}
HWND GlimvaneTest::TargetBox() const
{
    return ChildAt(mainWindow, 56, 56);
}
HWND GlimvaneTest::ResizeButton() const
{
    return ChildAt(mainWindow, 176, 24);
}
HWND GlimvaneTest::ShowHideButton() const
{
    return ChildAt(mainWindow, 176, 56);
}
