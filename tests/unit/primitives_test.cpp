#include "winops/primitives.h"

#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace {

constexpr RECT kOuter = {200, 100, 600, 400};

LONG_PTR ExStyle(HWND window)
{
    return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

struct Layering {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
};

Layering LayeringOf(HWND window)
{
    Layering layering;
    GetLayeredWindowAttributes(window, &layering.key, &layering.alpha, &layering.flags);
    return layering;
}

// What Glimvane remembers is program-wide, so every test starts with nothing changed.
class PrimitivesTest : public testing::Test {
  protected:
    void SetUp() override { RestoreChangedWindows(); }
    void TearDown() override { RestoreChangedWindows(); }
};

TEST_F(PrimitivesTest, ToggleHidesAndShowsAgain)
{
    TestWindow window = MakeTopLevel(kOuter);

    EXPECT_FALSE(ToggleVisibility(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(RememberedWindow(), window.get());

    EXPECT_TRUE(ToggleVisibility(window));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(PrimitivesTest, ToggleWithoutTargetActsOnRememberedWindow)
{
    TestWindow remembered = MakeTopLevel(kOuter);
    TestWindow other = MakeTopLevel({650, 100, 900, 300});
    ToggleVisibility(remembered);
    SetForegroundWindow(other);

    EXPECT_TRUE(ToggleVisibility(nullptr));
    EXPECT_TRUE(IsWindowVisible(remembered));
    EXPECT_FALSE(ToggleVisibility(nullptr));
    EXPECT_FALSE(IsWindowVisible(remembered));
    EXPECT_TRUE(IsWindowVisible(other));
}

// How the fresh process below ended; a death test shows only the exit code.
enum FallbackOutcome { kAsExpected, kNoForeground, kForegroundNotHidden, kNotShownAgain };

// The fallback only exists while nothing is remembered, which is once per process; a death test
// runs its statement in a fresh process, whatever ran in this one before.
TEST_F(PrimitivesTest, FirstToggleWithoutTargetTakesForegroundWindow)
{
    EXPECT_EXIT(
        {
            TestWindow first = MakeTopLevel(kOuter);
            TestWindow second = MakeTopLevel({650, 100, 900, 300});
            SetForegroundWindow(first);
            if (!WaitUntil([&] { return GetForegroundWindow() == first.get(); }))
                std::exit(kNoForeground);
            if (ToggleVisibility(nullptr) || IsWindowVisible(first) ||
                RememberedWindow() != first.get())
                std::exit(kForegroundNotHidden);
            SetForegroundWindow(second);
            WaitUntil([&] { return GetForegroundWindow() == second.get(); });
            if (!ToggleVisibility(nullptr) || !IsWindowVisible(first) || !IsWindowVisible(second))
                std::exit(kNotShownAgain);
            std::exit(kAsExpected);
        },
        testing::ExitedWithCode(kAsExpected), "");
}

TEST_F(PrimitivesTest, HiddenWindowComesBackRestored)
{
    for (int state : {SW_SHOWMINNOACTIVE, SW_MAXIMIZE}) {
        TestWindow window = MakeTopLevel(kOuter);
        ShowWindow(window, state);
        ASSERT_TRUE(IsIconic(window) || IsZoomed(window)) << state;

        ToggleVisibility(window);
        EXPECT_TRUE(ToggleVisibility(window)) << state;

        EXPECT_TRUE(IsWindowVisible(window)) << state;
        EXPECT_FALSE(IsIconic(window)) << state;
        EXPECT_FALSE(IsZoomed(window)) << state;
        const RECT outer = WindowRect(window);
        EXPECT_TRUE(EqualRect(&outer, &kOuter)) << state;
    }
}

TEST_F(PrimitivesTest, TransparencyKeepsOtherExtendedStyles)
{
    TestWindow window =
        MakeTopLevel(kOuter, WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES);
    const LONG_PTR before = ExStyle(window);

    for (BYTE alpha : {BYTE{0}, BYTE{180}}) {
        EXPECT_TRUE(SetTransparency(window, alpha));
        EXPECT_EQ(ExStyle(window), before | WS_EX_LAYERED);
        EXPECT_EQ(LayeringOf(window).alpha, alpha);
        EXPECT_EQ(LayeringOf(window).flags, DWORD{LWA_ALPHA});
    }
}

TEST_F(PrimitivesTest, TransparencyWithColourKey)
{
    struct Case {
        std::optional<BYTE> alpha;
        DWORD flags;
    };
    const COLORREF key = RGB(10, 20, 30);
    for (const Case& c :
         std::vector<Case>{{std::nullopt, LWA_COLORKEY}, {BYTE{90}, LWA_COLORKEY | LWA_ALPHA}}) {
        TestWindow window = MakeTopLevel(kOuter);
        EXPECT_TRUE(SetTransparency(window, c.alpha, key)) << c.flags;
        const Layering layering = LayeringOf(window);
        EXPECT_EQ(layering.flags, c.flags);
        EXPECT_EQ(layering.key, key) << c.flags;
        if (c.alpha) {
            EXPECT_EQ(layering.alpha, *c.alpha);
        }
    }
}

TEST_F(PrimitivesTest, ClickThroughAddsTransparentStyle)
{
    for (bool clickThrough : {false, true}) {
        TestWindow window = MakeTopLevel(kOuter);
        SetTransparency(window, BYTE{128}, std::nullopt, clickThrough);
        EXPECT_TRUE(ExStyle(window) & WS_EX_LAYERED);
        EXPECT_EQ((ExStyle(window) & WS_EX_TRANSPARENT) != 0, clickThrough);
    }
}

TEST_F(PrimitivesTest, RestoreGivesBackWhatChanged)
{
    TestWindow hidden = MakeTopLevel(kOuter);
    TestWindow faded = MakeTopLevel(kOuter, WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
    TestWindow layered = MakeTopLevel(kOuter, WS_OVERLAPPEDWINDOW, WS_EX_LAYERED);
    TestWindow gone = MakeTopLevel(kOuter);
    SetLayeredWindowAttributes(layered, 0, 77, LWA_ALPHA);
    const LONG_PTR fadedStyle = ExStyle(faded);
    const LONG_PTR layeredStyle = ExStyle(layered);

    ToggleVisibility(hidden);
    SetTransparency(faded, BYTE{100}, std::nullopt, true);
    SetTransparency(layered, BYTE{200});
    SetTransparency(layered, BYTE{30});
    SetTransparency(gone, BYTE{50});
    gone = TestWindow();

    RestoreChangedWindows();

    EXPECT_TRUE(IsWindowVisible(hidden));
    EXPECT_EQ(ExStyle(faded), fadedStyle);
    EXPECT_EQ(ExStyle(layered), layeredStyle);
    EXPECT_EQ(LayeringOf(layered).alpha, 77);
}

} // namespace
