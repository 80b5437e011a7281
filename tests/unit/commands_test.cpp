#include "winops/commands.h"
#include "winops/primitives.h"

#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(SteppedOpacityTest, StopsAtTheEnds)
{
    const std::vector<int> down = {230, 205, 180, 155, 130, 105, 80, 55, 30, 5, 0, 0};
    const std::vector<int> up = {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255, 255};
    int level = 255;
    for (int expected : down)
        EXPECT_EQ(level = SteppedOpacity(level, -kOpacityStep), expected);
    level = 0;
    for (int expected : up)
        EXPECT_EQ(level = SteppedOpacity(level, kOpacityStep), expected);
}

TEST(StepOpacityLevelTest, LosesNoStepUnderContention)
{
    constexpr int kThreads = 8, kSteps = 50, kStart = 100;
    // Two steps up for every one down, 34 against 16: each thread's share stays between 0 and
    // its final +18, so the level never reaches an end however the threads interleave.
    constexpr int kShare = 18;
    SetOpacityLevel(kStart);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&go] {
            while (!go)
                std::this_thread::yield();
            for (int i = 0; i < kSteps; ++i)
                StepOpacityLevel(i % 3 == 2 ? -1 : 1);
        });
    go = true;
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(OpacityLevel(), kStart + kThreads * kShare);
}

class FakeBoxes final : public CommandBoxes {
  public:
    std::wstring Read(CommandBox box) override { return Text(box); }
    void Write(CommandBox box, std::wstring_view text) override { Text(box) = text; }
    std::wstring& Text(CommandBox box)
    {
        return box == CommandBox::Width ? width : box == CommandBox::Height ? height : target;
    }
    std::wstring width, height, target;
};

BOOL CALLBACK CloseBox(HWND window, LPARAM)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Runs a command the way a hotkey does, on a thread of its own, while this thread answers what
// the command asks of the test's windows.
void RunCommand(void (*command)(), const std::function<void()>& meanwhile = {})
{
    std::atomic<bool> done{false};
    std::atomic<DWORD> threadId{0};
    std::thread worker([&] {
        threadId = GetCurrentThreadId();
        command();
        done = true;
    });
    if (meanwhile) meanwhile();
    if (!WaitUntil([&] { return done.load(); }, 5000)) {
        ADD_FAILURE() << "the command did not finish";
        // A message box nobody answered would keep the thread waiting for ever.
        EnumThreadWindows(threadId, CloseBox, 0);
    }
    worker.join();
}

std::wstring HandleText(HWND window)
{
    return std::to_wstring(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window)));
}

POINT Centre(HWND window)
{
    const RECT rect = WindowRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class CommandsTest : public testing::Test {
  protected:
    void SetUp() override { SetCommandBoxes(&boxes); }
    void TearDown() override
    {
        SetCommandBoxes(nullptr);
        RestoreChangedWindows();
    }
    static TestWindow MakeUncovered(RECT outer)
    {
        return MakeTopLevel(outer, WS_OVERLAPPEDWINDOW, WS_EX_TOPMOST);
    }
    static void PointAt(HWND window)
    {
        const POINT centre = Centre(window);
        SetCursorPos(centre.x, centre.y);
    }
    FakeBoxes boxes;
    TestWindow window = MakeUncovered({100, 50, 900, 650});
    TestWindow elsewhere = MakeUncovered({950, 50, 1250, 350});
};

TEST_F(CommandsTest, ResizeGivesWindowUnderCursorTheTypedSize)
{
    struct Case {
        std::wstring width, height;
        LONG clientWidth, clientHeight;
    };
    const std::vector<Case> cases = {
        {L"640", L"480", 640, 480},
        {L" 640px", L"480.7", 640, 480},
        {L"１２０", L"９０", 120, 90},
    };
    PointAt(window);
    for (const Case& c : cases) {
        MoveWindow(window, 100, 50, 800, 600, TRUE);
        boxes.width = c.width;
        boxes.height = c.height;

        RunCommand(ResizeCommand);

        const RECT client = ClientRect(window);
        EXPECT_EQ(client.right, c.clientWidth) << c.width;
        EXPECT_EQ(client.bottom, c.clientHeight) << c.height;
    }
}

TEST_F(CommandsTest, ResizeWithoutSizeAsksForIt)
{
    PointAt(window);
    const RECT before = WindowRect(window);
    for (const wchar_t* width : {L"", L"640"}) {
        boxes.width = width;
        boxes.height = boxes.width.empty() ? L"480" : L"";

        RunCommand(ResizeCommand, [] {
            HWND box = nullptr;
            ASSERT_TRUE(
                WaitUntil([&] { return (box = FindWindowW(L"#32770", L"信息：")) != nullptr; }));
            wchar_t text[64] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 64);
            EXPECT_STREQ(text, L"请先填写窗口尺寸");
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });

        const RECT after = WindowRect(window);
        EXPECT_TRUE(EqualRect(&after, &before));
    }
}

TEST_F(CommandsTest, ShowHideLocksWindowUnderCursorThenShowsItAgain)
{
    PointAt(window);
    RunCommand(ShowHideCommand);
    EXPECT_EQ(boxes.target, HandleText(window));
    EXPECT_FALSE(IsWindowVisible(window));

    PointAt(elsewhere);
    RunCommand(ShowHideCommand);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowVisible(elsewhere));
    EXPECT_EQ(boxes.target, HandleText(window));
}

TEST_F(CommandsTest, OpacityDownFadesLockedWindow)
{
    boxes.target = HandleText(window);
    PointAt(elsewhere);
    SetOpacityLevel(200);

    RunCommand(OpacityDownCommand);

    EXPECT_EQ(OpacityLevel(), 175);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
    EXPECT_EQ(alpha, 175);
    EXPECT_FALSE(GetWindowLongPtrW(elsewhere, GWL_EXSTYLE) & WS_EX_LAYERED);
}

} // namespace
