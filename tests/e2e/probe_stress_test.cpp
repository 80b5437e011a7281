// Glimvane under a long run of presses, targets that vanish, and boxes full of garbage: it
// must neither crash nor say anything it would not say anyway, and must lose no step.

#include "tests/e2e/probe.h"

namespace {
bool StillAnswers(HWND window)
{
    DWORD_PTR length = 0;
    return SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) !=
           0;
}

bool Running(const Program& program)
{
    return WaitForSingleObject(program.handle(), 0) == WAIT_TIMEOUT;
}

// Nothing but what the user asked for: no error box, no box asking for a size.
void ExpectNoBoxes(const Program& program)
{
    EXPECT_TRUE(BoxesOf(program.id(), L"错误").empty());
    EXPECT_TRUE(BoxesOf(program.id(), L"信息：").empty());
}

POINT CentreOf(HWND window)
{
    RECT rect = WindowRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}
} // namespace

TEST_F(GlimvaneTest, AllFourHotkeysInALongRunWhileTheWindowComesAndGoes)
{
    // A large window lies behind the target, so Alt+Z always finds one of the two even while
    // Alt+X keeps the target hidden; both keep the pointer inside their new 300 x 200 size.
    TestWindow backdrop = MakeTopLevel({80, 60, 780, 560});
    TestWindow target = MakeTopLevel({100, 80, 600, 480});
    SetText(WidthBox(), L"300");
    SetText(HeightBox(), L"200");
    SetCursorPos(200, 180);

    // Lock the target and bring the level to the middle, where no step can be clamped.
    for (int i = 0; i < 5; ++i) {
        PressHotkey(VK_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return Alpha(target) == 255 - 25 * (i + 1); }))
            << Alpha(target);
    }
    int level = 130;
    const WORD cycle[] = {VK_UP, 'Z', VK_DOWN, 'X', VK_UP, VK_UP, 'Z', VK_DOWN, 'X', VK_DOWN};
    for (int round = 0; round < 8; ++round) {
        PressWithAltHeld(std::vector<WORD>(std::begin(cycle), std::end(cycle)), 12);
        // The main window hides and comes back between rounds, as from the tray.
        PostMessageW(mainWindow, round % 2 ? 0x8064 : WM_CLOSE, 100, WM_LBUTTONUP);
        PumpMessages(50);
    }
    PumpMessages(500);
    ASSERT_TRUE(Running(*glimvane));
    EXPECT_TRUE(StillAnswers(mainWindow));
    ExpectNoBoxes(*glimvane);
    // Each round is net zero; one slow press after the burst shows no step went missing.
    PressHotkey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Alpha(target) == level - 25; })) << Alpha(target);
    EXPECT_TRUE(IsWindowVisible(target)); // an even number of Alt+X
    EXPECT_EQ(WindowText(TargetBox()), HandleText(target));
}

TEST_F(GlimvaneTest, TargetsThatVanishAreToleratedQuietly)
{
    // The locked window goes away; Alt+X, Alt+Up and Alt+Down keep acting on its dead handle.
    {
        TestWindow doomed = MakeTopLevel({100, 80, 500, 380});
        SetCursorPos(200, 200);
        PressHotkey(VK_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return Alpha(doomed) == 230; }));
    }
    for (WORD key : {WORD{'X'}, WORD{VK_UP}, WORD{VK_DOWN}, WORD{'X'}})
        PressHotkey(key);

    // A window destroyed right after the press that means it.
    SetText(WidthBox(), L"320");
    SetText(HeightBox(), L"240");
    for (int i = 0; i < 5; ++i) {
        TestWindow fleeting = MakeTopLevel({700, 100, 1100, 400});
        SetCursorPos(900, 250);
        LetTheKeyboardStateSettle();
        SendKey(VK_MENU, false);
        SendKey('Z', false);
        SendKey('Z', true);
        SendKey(VK_MENU, true);
        // `fleeting` is destroyed here, while the command may be on its way to it.
    }
    PumpMessages(500);
    ASSERT_TRUE(Running(*glimvane));
    EXPECT_TRUE(StillAnswers(mainWindow));
    ExpectNoBoxes(*glimvane);
}

TEST_F(GlimvaneTest, GarbageInTheSizeBoxesIsReadAsNumbersWithoutAWord)
{
    std::wstring surrogates = {0xD800, L'7', 0xDC00, 0xDBFF};
    std::wstring control = {L'\x01', L'\x1B', L'\x7F', L'\x85', L'4', L'0'};
    const std::wstring texts[] = {
        std::wstring(10000, L'9'),
        std::wstring(10000, L'x') + L"5",
        surrogates,
        control,
        L"1e999999999999",
        L"-.e-",
        std::wstring(10000, L'\x3000') + L"８０",
    };
    TestWindow target = MakeTopLevel({100, 80, 600, 480});
    for (const std::wstring& text : texts) {
        SetText(WidthBox(), text);
        SetText(HeightBox(), text);
        ASSERT_EQ(WindowText(WidthBox()).size(), text.size());
        SetCursorPos(CentreOf(target).x, CentreOf(target).y);
        PressHotkey('Z');
        PostMessageW(ResizeButton(), BM_CLICK, 0, 0);
        PumpMessages(150);
        ASSERT_TRUE(Running(*glimvane));
    }
    EXPECT_TRUE(StillAnswers(mainWindow));
    ExpectNoBoxes(*glimvane);
}
