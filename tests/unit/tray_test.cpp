#include "shell/tray.h"

#include "shell/main_window.h"

#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr size_t kTipCapacity = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t);
// Room for the tip's characters once the terminator has its place.
constexpr size_t kTipRoom = kTipCapacity - 1;

constexpr wchar_t kHigh = 0xD83D; // U+1F600 as a surrogate pair
constexpr wchar_t kLow = 0xDE00;

std::wstring Pairs(size_t count)
{
    std::wstring text;
    for (size_t i = 0; i < count; ++i)
        text += {kHigh, kLow};
    return text;
}

std::vector<uint8_t> ProgramIconBytes()
{
    std::ifstream file(GLIMVANE_SOURCE_DIR "/res/glimvane.ico", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(TrayTest, MouseMessagesMapToTrayTypes)
{
    struct Case {
        UINT message;
        TrayType expected;
    };
    const Case cases[] = {
        {WM_LBUTTONUP, kTrayLeftClick},
        {WM_LBUTTONDBLCLK, kTrayDoubleClick},
        {WM_RBUTTONUP, kTrayRightClick},
        {WM_CONTEXTMENU, kTrayRightClick},
        {WM_LBUTTONDOWN, kTrayNone},
        {WM_RBUTTONDOWN, kTrayNone},
        {WM_RBUTTONDBLCLK, kTrayNone},
        {WM_MBUTTONUP, kTrayNone},
        {WM_MOUSEMOVE, kTrayNone},
        {NIN_SELECT, kTrayNone},
        {NIN_KEYSELECT, kTrayNone},
        {NIN_BALLOONUSERCLICK, kTrayNone},
        {0, kTrayNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrayTypeFromMouseMessage(c.message), c.expected)
            << "message 0x" << std::hex << c.message;
}

TEST(TrayTest, TipIsCutToFitTheRecordButNeverInsideASurrogatePair)
{
    const std::wstring full(kTipRoom, L'x');
    struct Case {
        std::wstring tip;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"", L""},
        {L"Glimvane", L"Glimvane"},
        {L"托盘" + Pairs(2), L"托盘" + Pairs(2)},
        {full, full},
        {full + L"y", full},
        {std::wstring(1000, L'x'), full},
        // The pair would straddle the cut: it goes whole.
        {full.substr(1) + Pairs(1), full.substr(1)},
        {full.substr(1) + Pairs(1) + L"y", full.substr(1)},
        // The pair ends exactly where the room does: it stays.
        {full.substr(2) + Pairs(1), full.substr(2) + Pairs(1)},
        {full.substr(2) + Pairs(1) + L"y", full.substr(2) + Pairs(1)},
        {Pairs(kTipRoom), Pairs(kTipRoom / 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tip of " << c.tip.size() << " units");
        std::wstring cut = TrayTipText(c.tip);
        EXPECT_EQ(cut, c.expected);
        EXPECT_LT(cut.size(), kTipCapacity);
    }
}

class TrayIconTest : public testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_FALSE(iconBytes.empty()) << "res/glimvane.ico could not be read";
        ASSERT_NE(window.get(), nullptr);
    }
    void TearDown() override { RemoveTrayIcon(window); }

    const std::vector<uint8_t> iconBytes = ProgramIconBytes();
    TestWindow window = MakeTopLevel({0, 0, 200, 100});
};

TEST_F(TrayIconTest, IsPutUpChangedAndRemoved)
{
    EXPECT_FALSE(HasTrayIcon(window));
    SetTrayIcon(window, iconBytes, std::wstring(1000, L'x'));
    EXPECT_TRUE(HasTrayIcon(window));
    EXPECT_FALSE(HasTrayIcon(window, kTrayIconId + 1));
    SetTrayIcon(window, iconBytes, L"changed");
    EXPECT_TRUE(HasTrayIcon(window));
    RemoveTrayIcon(window);
    EXPECT_FALSE(HasTrayIcon(window));
    // Nothing to remove is no error, and the icon can come back.
    RemoveTrayIcon(window);
    SetTrayIcon(window, iconBytes, L"again");
    EXPECT_TRUE(HasTrayIcon(window));
}

TEST_F(TrayIconTest, DataWithoutAnIconRemovesItOrAddsNothing)
{
    const std::vector<uint8_t> notAnIcon = {0, 0, 3, 0, 1, 0};
    SetTrayIcon(window, notAnIcon, L"tip");
    EXPECT_FALSE(HasTrayIcon(window));
    SetTrayIcon(window, iconBytes, L"tip");
    ASSERT_TRUE(HasTrayIcon(window));
    SetTrayIcon(window, notAnIcon, L"tip");
    EXPECT_FALSE(HasTrayIcon(window));
    SetTrayIcon(window, {}, L"tip");
    EXPECT_FALSE(HasTrayIcon(window));
}

TEST_F(TrayIconTest, RemovingAnotherWindowsIconLeavesThisOne)
{
    TestWindow other = MakeTopLevel({0, 0, 200, 100});
    SetTrayIcon(window, iconBytes, L"tip");
    RemoveTrayIcon(other);
    EXPECT_TRUE(HasTrayIcon(window));
    EXPECT_FALSE(HasTrayIcon(other));
}

TEST_F(TrayIconTest, TheMainWindowTakesItsIconAlongWhenItGoes)
{
    HWND mainWindow = CreateMainWindow(GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(mainWindow, nullptr);
    SetTrayIcon(mainWindow, iconBytes, kTrayTip);
    ASSERT_TRUE(HasTrayIcon(mainWindow));
    // Wine clears away the icons of a destroyed window by itself, sooner or later: only while
    // the window still exists does the check show Glimvane's own part.
    SendMessageW(mainWindow, WM_DESTROY, 0, 0);
    EXPECT_FALSE(HasTrayIcon(mainWindow));
    DestroyWindow(mainWindow);
}

} // namespace
