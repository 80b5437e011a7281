#include "winops/client_size.h"
#include "winops/primitives.h"

#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <utility>
#include <vector>

namespace {

std::pair<LONG, LONG> Corner(HWND window)
{
    const POINT corner = PositionInParent(window);
    return {corner.x, corner.y};
}

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}
int Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

TEST(PlacementForClientSizeTest, KeepsThePositionAndTheFrame)
{
    struct Case {
        const char* name;
        Placement current;
        ClientSize currentClient, wanted;
        Placement expected;
    };
    const std::vector<Case> cases = {
        {"shrink", {100, 50, 800, 600}, {784, 561}, {640, 480}, {100, 50, 656, 519}},
        {"grow", {-8, -8, 200, 100}, {184, 61}, {1920, 1080}, {-8, -8, 1936, 1119}},
        {"child", {10, 10, 104, 34}, {100, 30}, {200, 50}, {10, 10, 204, 54}},
        {"frame only", {0, 0, 800, 600}, {784, 561}, {0, 0}, {0, 0, 16, 39}},
        {"negative", {5, 5, 800, 600}, {784, 561}, {-20, -1}, {5, 5, -4, 38}},
        {"wraps", {0, 0, 16, 39}, {0, 0}, {INT_MAX, 0}, {0, 0, INT_MIN + 15, 39}},
    };
    for (const Case& c : cases) {
        Placement p = PlacementForClientSize(c.current, c.currentClient, c.wanted);
        EXPECT_EQ(p.x, c.expected.x) << c.name;
        EXPECT_EQ(p.y, c.expected.y) << c.name;
        EXPECT_EQ(p.width, c.expected.width) << c.name;
        EXPECT_EQ(p.height, c.expected.height) << c.name;
    }
}

constexpr RECT kOuter = {100, 50, 900, 650};

// Parents and owners outlive the window they hold.
struct Subject {
    TestWindow parent;
    TestWindow window;
    HWND child = nullptr;
    HWND Target() const { return child != nullptr ? child : window.get(); }
};

TEST(SetClientSizeTest, GivesExactClientSizeAndKeepsTheCorner)
{
    struct Case {
        const char* name;
        std::function<Subject()> make;
    };
    const std::vector<Case> cases = {
        {"top-level",
         [] {
             return Subject{{}, MakeTopLevel(kOuter)};
         }},
        {"menu bar",
         [] {
             return Subject{{}, MakeTopLevel(kOuter, WS_OVERLAPPEDWINDOW, 0, nullptr, true)};
         }},
        {"maximised",
         [] {
             Subject s{{}, MakeTopLevel(kOuter)};
             ShowWindow(s.window, SW_MAXIMIZE);
             return s;
         }},
        {"child",
         [] {
             Subject s;
             s.parent = MakeTopLevel(kOuter);
             s.child = MakeChild(s.parent, L"EDIT", {10, 10, 110, 40}, WS_BORDER);
             return s;
         }},
        {"owned pop-up",
         [] {
             Subject s;
             s.parent = MakeTopLevel(kOuter);
             s.window = MakeTopLevel({300, 200, 500, 350}, WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0,
                                     s.parent);
             return s;
         }},
    };
    for (const Case& c : cases) {
        Subject s = c.make();
        HWND target = s.Target();
        ASSERT_NE(target, nullptr) << c.name;
        PumpMessages(20);
        const auto corner = Corner(target);

        EXPECT_TRUE(SetClientSize(target, 640, 480)) << c.name;
        PumpMessages(20);

        const RECT client = ClientRect(target);
        EXPECT_EQ(client.right, 640) << c.name;
        EXPECT_EQ(client.bottom, 480) << c.name;
        EXPECT_EQ(Corner(target), corner) << c.name;
    }
}

TEST(SetClientSizeTest, ZeroClientLeavesTheFrameOnly)
{
    TestWindow parent = MakeTopLevel(kOuter);
    TestWindow popup =
        MakeTopLevel({300, 200, 500, 350}, WS_POPUP | WS_CAPTION | WS_BORDER, 0, parent);
    HWND child = MakeChild(parent, L"STATIC", {10, 10, 110, 40}, WS_BORDER);
    for (HWND target : {child, popup.get()}) {
        const RECT window = WindowRect(target);
        const RECT client = ClientRect(target);
        const auto corner = Corner(target);

        EXPECT_TRUE(SetClientSize(target, 0, 0));
        PumpMessages(20);

        EXPECT_EQ(Width(WindowRect(target)), Width(window) - client.right);
        EXPECT_EQ(Height(WindowRect(target)), Height(window) - client.bottom);
        EXPECT_EQ(Corner(target), corner);
    }
}

TEST(SetClientSizeTest, LeavesMinimisedWindowAlone)
{
    TestWindow window = MakeTopLevel(kOuter);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(window));
    WINDOWPLACEMENT before = {};
    before.length = sizeof before;
    GetWindowPlacement(window, &before);

    EXPECT_FALSE(SetClientSize(window, 640, 480));
    PumpMessages(20);

    WINDOWPLACEMENT after = {};
    after.length = sizeof after;
    GetWindowPlacement(window, &after);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_TRUE(EqualRect(&after.rcNormalPosition, &before.rcNormalPosition));
    ShowWindow(window, SW_RESTORE);
    EXPECT_EQ(Width(WindowRect(window)), Width(kOuter));
    EXPECT_EQ(Height(WindowRect(window)), Height(kOuter));
}

TEST(SetClientSizeTest, FailsForDestroyedWindow)
{
    HWND gone = MakeTopLevel(kOuter).get();
    ASSERT_FALSE(IsWindow(gone));
    EXPECT_FALSE(SetClientSize(gone, 640, 480));
}

} // namespace
