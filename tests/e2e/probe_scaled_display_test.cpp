// On a display scaled to 150 % (144 dpi): the sizes typed are the sizes a window gets, in
// physical pixels, and Glimvane's own window keeps its fixed layout. Run in a Wine prefix set
// to 144 dpi; the ordinary run leaves these out.

#include "tests/e2e/probe.h"

namespace {
// The probe sees, and makes, windows in physical pixels, as a modern program does.
class ScaledDisplayTest : public GlimvaneTest {
  protected:
    void SetUp() override
    {
        previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        GlimvaneTest::SetUp();
    }
    void TearDown() override
    {
        GlimvaneTest::TearDown();
        SetThreadDpiAwarenessContext(previous);
    }

    DPI_AWARENESS_CONTEXT previous = nullptr;
};
} // namespace

TEST_F(ScaledDisplayTest, TypedSizesArePhysicalPixelsAndTheMainWindowKeepsItsLayout)
{
    ASSERT_EQ(GetDpiForSystem(), 144u) << "run with the 144 dpi prefix";
    RECT outer = WindowRect(mainWindow);
    EXPECT_EQ(outer.right - outer.left, 319);
    EXPECT_EQ(outer.bottom - outer.top, 160);
    RECT box = WindowRect(TargetBox());
    EXPECT_EQ(box.right - box.left, 104);
    EXPECT_EQ(PositionInParent(TargetBox()).x, 56);

    TestWindow target = MakeTopLevel({100, 60, 500, 360});
    ASSERT_EQ(GetDpiForWindow(target), 144u);
    SetText(WidthBox(), L"640");
    SetText(HeightBox(), L"480");
    RECT before = WindowRect(target);
    SetCursorPos(before.left + 150, before.top + 150);
    PressHotkey('Z');
    ASSERT_TRUE(WaitUntil([&] { return ClientRect(target).right == 640; }))
        << ClientRect(target).right;
    EXPECT_EQ(ClientRect(target).bottom, 480);
    EXPECT_EQ(WindowRect(target).left, before.left);
    EXPECT_EQ(WindowRect(target).top, before.top);
}
