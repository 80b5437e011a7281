// The four hotkeys as a user meets them: pressed on the keyboard, acting on another program's
// windows (the probe's own), whether Glimvane's window shows or not.

#include "tests/e2e/probe.h"

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace {
constexpr wchar_t kInfoCaption[] = L"信息：";
constexpr wchar_t kErrorCaption[] = L"错误";
constexpr wchar_t kMissingSizeText[] = L"请先填写窗口尺寸";
constexpr UINT kExitCommand = 20001;
// Clear of Glimvane's own window in the middle of the screen.
constexpr RECT kTargetPlace = {40, 40, 440, 340};
constexpr RECT kOtherPlace = {900, 40, 1300, 340};
constexpr RECT kThirdPlace = {900, 400, 1300, 700};

bool HasClientSize(HWND window, int width, int height)
{
    RECT client = ClientRect(window);
    return client.right == width && client.bottom == height;
}

bool HasClientSize(HWND window, RECT client)
{
    return HasClientSize(window, client.right, client.bottom);
}

POINT ClientOrigin(HWND window)
{
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

// Halfway between the window's top edge and its client area: inside the caption.
POINT TitleBarPoint(HWND window)
{
    POINT origin = ClientOrigin(window);
    return {origin.x + 100, (WindowRect(window).top + origin.y) / 2};
}

POINT CentreOf(HWND window)
{
    RECT rect = WindowRect(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void PointAt(POINT point)
{
    SetCursorPos(point.x, point.y);
}

bool TakesTheKeyboard(HWND window)
{
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

// Escape reaches a main window only while it has the keyboard.
void HideWithEscape(HWND window)
{
    SetForegroundWindow(window);
    ASSERT_TRUE(TakesTheKeyboard(window));
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
}

// Sets and reads back an edit box's text without hanging the probe when its thread does not
// answer.
bool AnswersTextRequests(HWND box, const std::wstring& text)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 1000, &result))
        return false;
    wchar_t read[64] = {};
    if (!SendMessageTimeoutW(box, WM_GETTEXT, std::size(read), reinterpret_cast<LPARAM>(read),
                             SMTO_ABORTIFHUNG, 1000, &result))
        return false;
    return read == text;
}

std::wstring MessageBoxText(HWND box)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
    return text;
}

// Counts the hides and shows that ShowWindow brings one of the probe's windows.
class VisibilityLog {
  public:
    explicit VisibilityLog(HWND window) : window_(window)
    {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
    }
    VisibilityLog(const VisibilityLog&) = delete;
    VisibilityLog& operator=(const VisibilityLog&) = delete;
    ~VisibilityLog()
    {
        if (IsWindow(window_))
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }

    int hides = 0;
    int shows = 0;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* log = reinterpret_cast<VisibilityLog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        // A non-zero lParam reports a change that ShowWindow did not make (an owner minimised).
        if (message == WM_SHOWWINDOW && lParam == 0) ++(wParam ? log->shows : log->hides);
        return CallWindowProcW(log->previous_, window, message, wParam, lParam);
    }

    HWND window_;
    WNDPROC previous_ = nullptr;
};

// A top-level window on a thread of the probe that stops handling messages, as a hung program
// does, until it is released.
class StalledWindow {
  public:
    explicit StalledWindow(RECT outer) : outer_(outer)
    {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(created_, 5000);
    }
    StalledWindow(const StalledWindow&) = delete;
    StalledWindow& operator=(const StalledWindow&) = delete;
    ~StalledWindow()
    {
        SetEvent(release_);
        SetEvent(finish_);
        WaitForSingleObject(thread_, 5000);
        for (HANDLE handle : {thread_, created_, release_, finish_})
            CloseHandle(handle);
    }

    HWND get() const { return window_; }
    void Release() { SetEvent(release_); }

  private:
    static DWORD WINAPI Run(LPVOID parameter)
    {
        auto* self = static_cast<StalledWindow*>(parameter);
        TestWindow window = MakeTopLevel(self->outer_);
        self->window_ = window;
        SetEvent(self->created_);
        WaitForSingleObject(self->release_, INFINITE);
        while (WaitForSingleObject(self->finish_, 0) == WAIT_TIMEOUT)
            PumpMessages(10);
        return 0;
    }

    RECT outer_;
    HANDLE created_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE finish_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;
};

// A message-only window of the probe's that holds a hotkey and counts its presses.
class HotkeyHolder {
  public:
    HotkeyHolder()
    {
        static const ATOM windowClass = [] {
            WNDCLASSEXW description = {};
            description.cbSize = sizeof description;
            description.lpfnWndProc = Procedure;
            description.hInstance = GetModuleHandleW(nullptr);
            description.lpszClassName = L"GlimvaneProbeHotkeyHolder";
            return RegisterClassExW(&description);
        }();
        window_ = CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HotkeyHolder(const HotkeyHolder&) = delete;
    HotkeyHolder& operator=(const HotkeyHolder&) = delete;
    ~HotkeyHolder()
    {
        UnregisterHotKey(window_, kId);
        DestroyWindow(window_);
    }

    bool Take(UINT modifiers, UINT key)
    {
        return RegisterHotKey(window_, kId, modifiers, key) != FALSE;
    }

    int presses = 0;

  private:
    static constexpr int kId = 1;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* holder = reinterpret_cast<HotkeyHolder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_HOTKEY && holder != nullptr) ++holder->presses;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

class HotkeyTest : public GlimvaneTest {
  protected:
    void TypeSize(const wchar_t* width, const wchar_t* height)
    {
        SetText(WidthBox(), width);
        SetText(HeightBox(), height);
    }

    std::vector<HWND> InfoBoxes() const { return BoxesOf(glimvane->id(), kInfoCaption); }

    bool StillRunning() const
    {
        return WaitForSingleObject(glimvane->handle(), 0) == static_cast<DWORD>(WAIT_TIMEOUT);
    }
};

enum class Spot { TitleBar, MenuBar, ChildControl };

struct ResizeCase {
    const char* name;
    Spot spot;
    bool glimvaneHidden;
};

class ResizeHotkeyTest : public HotkeyTest, public testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeHotkeyTest, GivesWhatIsUnderTheCursorTheTypedClientSizeInPlace)
{
    const ResizeCase& test = GetParam();
    TestWindow window =
        MakeTopLevel(kTargetPlace, WS_OVERLAPPEDWINDOW, 0, nullptr, test.spot == Spot::MenuBar);
    HWND target = window;
    POINT point = {};
    switch (test.spot) {
    case Spot::TitleBar:
        point = TitleBarPoint(window);
        ASSERT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)), HTCAPTION);
        break;
    case Spot::MenuBar:
        // The menu bar lies right above the client area.
        point = ClientOrigin(window);
        point.x += 100;
        point.y -= 4;
        ASSERT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)), HTMENU);
        break;
    case Spot::ChildControl:
        // A border makes the control's client area smaller than the control.
        target = MakeChild(window, L"EDIT", {30, 20, 230, 60}, WS_BORDER);
        point = CentreOf(target);
        break;
    }
    ASSERT_EQ(WindowFromPoint(point), target);
    const POINT corner = PositionInParent(target);
    const RECT windowBefore = WindowRect(window);

    TypeSize(L"640", L"480");
    if (test.glimvaneHidden) {
        ASSERT_NO_FATAL_FAILURE(HideWithEscape(mainWindow));
    }
    PointAt(point);
    PressHotkey('Z');

    EXPECT_TRUE(WaitUntil([&] { return HasClientSize(target, 640, 480); }))
        << ClientRect(target).right << " x " << ClientRect(target).bottom;
    EXPECT_EQ(PositionInParent(target).x, corner.x);
    EXPECT_EQ(PositionInParent(target).y, corner.y);
    const RECT windowAfter = WindowRect(window);
    if (target != window) {
        EXPECT_TRUE(EqualRect(&windowBefore, &windowAfter));
    }
}

const ResizeCase kResizeCases[] = {
    {"TitleBar", Spot::TitleBar, false},
    {"TitleBarWhileGlimvaneIsHidden", Spot::TitleBar, true},
    {"MenuBar", Spot::MenuBar, false},
    {"ChildControl", Spot::ChildControl, false},
};
INSTANTIATE_TEST_SUITE_P(Spots, ResizeHotkeyTest, testing::ValuesIn(kResizeCases),
                         [](const testing::TestParamInfo<ResizeCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(HotkeyTest, ResizeWithoutASizeAsksForOneOnItsOwnThreadWhileTheWindowStaysUsable)
{
    TestWindow window = MakeTopLevel(kTargetPlace);
    const RECT clientBefore = ClientRect(window);
    PointAt(TitleBarPoint(window));

    TypeSize(L"", L"480");
    PressHotkey('Z');
    HWND box = FindBox(glimvane->id(), kInfoCaption);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kMissingSizeText);
    ASSERT_TRUE(TakesTheKeyboard(box));
    // Only the press's thread waits on the box.
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    EXPECT_TRUE(AnswersTextRequests(WidthBox(), L"640"));
    EXPECT_TRUE(AnswersTextRequests(HeightBox(), L""));

    PressHotkey('Z');
    HWND secondBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND open : InfoBoxes())
            if (open != box) secondBox = open;
        return secondBox != nullptr;
    }));
    EXPECT_EQ(MessageBoxText(secondBox), kMissingSizeText);
    ASSERT_TRUE(TakesTheKeyboard(secondBox));
    EXPECT_TRUE(HasClientSize(window, clientBefore));

    ASSERT_NO_FATAL_FAILURE(HideWithEscape(mainWindow));
    EXPECT_EQ(InfoBoxes().size(), 2u) << "Escape closed a box instead";
    for (HWND open : InfoBoxes())
        PostMessageW(open, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return InfoBoxes().empty(); }));
    EXPECT_TRUE(StillRunning());
}

TEST_F(HotkeyTest, ShowHideLocksTheWindowUnderTheCursorAndTogglesItWhereverTheCursorIs)
{
    TestWindow first = MakeTopLevel(kTargetPlace);
    TestWindow second = MakeTopLevel(kOtherPlace);
    PointAt(TitleBarPoint(first));
    PressHotkey('X');
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(first); }));
    EXPECT_EQ(WindowText(TargetBox()), HandleText(first));

    PointAt(TitleBarPoint(second));
    PressHotkey('X');
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(first); }));
    PressHotkey('X');
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(first); }));
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_EQ(WindowText(TargetBox()), HandleText(first));

    // The box is what locks: another handle there is the next target.
    SetText(TargetBox(), HandleText(second));
    PointAt(TitleBarPoint(first));
    PressHotkey('X');
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(second); }));
    EXPECT_FALSE(IsWindowVisible(first));
}

TEST_F(HotkeyTest, TwoQuickShowHidePressesLockOneWindowAndToggleItTwice)
{
    // Once the upper window is hidden, the cursor is over the lower one.
    TestWindow lower = MakeTopLevel({20, 20, 460, 360});
    TestWindow upper = MakeTopLevel(kTargetPlace);
    const POINT point = TitleBarPoint(upper);
    ASSERT_EQ(WindowFromPoint(point), upper.get());
    VisibilityLog upperLog(upper);
    VisibilityLog lowerLog(lower);
    PointAt(point);

    PressWithAltHeld({'X', 'X'}, 10);

    ASSERT_TRUE(WaitUntil([&] { return upperLog.shows == 1; }))
        << upperLog.hides << " hides, " << lowerLog.hides << " of the lower window";
    EXPECT_EQ(upperLog.hides, 1);
    EXPECT_TRUE(IsWindowVisible(upper));
    EXPECT_EQ(WindowText(TargetBox()), HandleText(upper));
    EXPECT_EQ(lowerLog.hides, 0);
    EXPECT_TRUE(IsWindowVisible(lower));
}

TEST_F(HotkeyTest, OpacityStepsBy25DownToNoneAndBackUpOnTheLockedWindow)
{
    TestWindow window = MakeTopLevel(kTargetPlace, WS_OVERLAPPEDWINDOW, WS_EX_ACCEPTFILES);
    TestWindow other = MakeTopLevel(kOtherPlace);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    PointAt(TitleBarPoint(window));
    PressHotkey(VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return Alpha(window) == 230; })) << Alpha(window);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE), exStyle | WS_EX_LAYERED);
    EXPECT_EQ(WindowText(TargetBox()), HandleText(window));

    // Locked: the cursor elsewhere changes nothing.
    PointAt(TitleBarPoint(other));
    for (int expected : {205, 180, 155, 130, 105, 80, 55, 30, 5, 0}) {
        PressHotkey(VK_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return Alpha(window) == expected; }))
            << Alpha(window) << " instead of " << expected;
    }
    // Past either end the level stays put, as the next press shows.
    PressHotkey(VK_DOWN);
    for (int expected : {25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}) {
        PressHotkey(VK_UP);
        ASSERT_TRUE(WaitUntil([&] { return Alpha(window) == expected; }))
            << Alpha(window) << " instead of " << expected;
    }
    PressHotkey(VK_UP);
    PressHotkey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Alpha(window) == 230; })) << Alpha(window);
    EXPECT_EQ(Alpha(other), -1);
}

TEST_F(HotkeyTest, AHeldBurstOfOpacityPressesLosesNoStep)
{
    TestWindow window = MakeTopLevel(kTargetPlace);
    PointAt(TitleBarPoint(window));
    PressHotkey(VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return Alpha(window) == 230; }));

    // Runs of eight keep the level clear of 0 and 255, so it ends the same in whatever order
    // the presses' threads run: 230, 30, 230, 30, 230, 30.
    std::vector<WORD> burst;
    for (WORD key : std::initializer_list<WORD>{VK_DOWN, VK_UP, VK_DOWN, VK_UP, VK_DOWN})
        burst.insert(burst.end(), 8, key);
    PressWithAltHeld(burst, 12);
    ASSERT_TRUE(WaitUntil([&] { return Alpha(window) == 30; }, 5000)) << Alpha(window);

    // The window shows the alpha of whichever thread came last; one more press shows the level.
    PressHotkey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Alpha(window) == 5; })) << Alpha(window);
}

TEST_F(HotkeyTest, AWindowThatDoesNotAnswerHoldsUpOnlyThePressAimedAtIt)
{
    StalledWindow stalled(kTargetPlace);
    ASSERT_NE(stalled.get(), nullptr);
    TestWindow other = MakeTopLevel(kOtherPlace);
    TypeSize(L"640", L"480");
    PointAt(TitleBarPoint(stalled.get()));
    PressHotkey('X');
    // Written just before the press's thread asks the window to hide.
    ASSERT_TRUE(WaitUntil([&] { return WindowText(TargetBox()) == HandleText(stalled.get()); }));

    EXPECT_TRUE(AnswersTextRequests(WidthBox(), L"640"));
    PointAt(TitleBarPoint(other));
    PressHotkey('Z');
    EXPECT_TRUE(WaitUntil([&] { return HasClientSize(other, 640, 480); }));
    EXPECT_TRUE(IsWindowVisible(stalled.get()));

    stalled.Release();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(stalled.get()); }));
}

TEST_F(HotkeyTest, HotkeyMessagesWithForeignIdentifiersAreIgnored)
{
    TestWindow window = MakeTopLevel(kTargetPlace);
    const RECT clientBefore = ClientRect(window);
    TypeSize(L"640", L"480");
    PointAt(TitleBarPoint(window));
    for (WPARAM id : {WPARAM{0}, WPARAM{5}, WPARAM{99}, static_cast<WPARAM>(-1)})
        PostMessageW(mainWindow, WM_HOTKEY, id, MAKELPARAM(MOD_ALT, 'X'));

    // A real press queues behind them: once it has acted, they have been handled. Had any of
    // them run a command, the window would be resized, faded or shown again.
    PressHotkey('X');
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_EQ(WindowText(TargetBox()), HandleText(window));
    EXPECT_TRUE(HasClientSize(window, clientBefore));
    EXPECT_EQ(Alpha(window), -1);
    EXPECT_TRUE(BoxesOf(glimvane->id(), kErrorCaption).empty());
    EXPECT_TRUE(StillRunning());
}

TEST_F(HotkeyTest, TheOrderlyEndGivesHiddenAndFadedWindowsBack)
{
    TestWindow hidden = MakeTopLevel(kTargetPlace);
    TestWindow tool = MakeTopLevel(kOtherPlace, WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW);
    TestWindow layered = MakeTopLevel(kThirdPlace, WS_OVERLAPPEDWINDOW, WS_EX_LAYERED);
    SetLayeredWindowAttributes(layered, 0, 200, LWA_ALPHA);
    const LONG hiddenStyle = GetWindowLongW(hidden, GWL_EXSTYLE);
    const LONG toolStyle = GetWindowLongW(tool, GWL_EXSTYLE);
    const LONG layeredStyle = GetWindowLongW(layered, GWL_EXSTYLE);

    PointAt(TitleBarPoint(hidden));
    PressHotkey('X');
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(hidden); }));
    PressHotkey(VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return Alpha(hidden) == 230; }));
    struct Faded {
        HWND window;
        int alpha;
    };
    for (Faded faded : {Faded{tool, 205}, Faded{layered, 180}}) {
        SetText(TargetBox(), L"");
        PointAt(TitleBarPoint(faded.window));
        PressHotkey(VK_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return Alpha(faded.window) == faded.alpha; }));
    }

    PostMessageW(mainWindow, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(glimvane->WaitForExit(), 0u);
    EXPECT_TRUE(IsWindowVisible(hidden));
    EXPECT_EQ(GetWindowLongW(hidden, GWL_EXSTYLE), hiddenStyle);
    EXPECT_EQ(GetWindowLongW(tool, GWL_EXSTYLE), toolStyle);
    EXPECT_EQ(GetWindowLongW(layered, GWL_EXSTYLE), layeredStyle);
    EXPECT_EQ(Alpha(layered), 200);
}

TEST_F(HotkeyTest, ASecondInstanceGetsNoHotkeysButItsWindowWorks)
{
    TestWindow window = MakeTopLevel(kTargetPlace);
    TypeSize(L"640", L"480");
    Program second(L"glimvane.exe");
    ASSERT_TRUE(second.started());
    HWND secondWindow = second.FindWindowOf(kMainClass, kMainCaption);
    ASSERT_NE(secondWindow, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(secondWindow) != FALSE; }));
    // Whichever instance handles Alt+Z shows in the size the window gets.
    SetText(ChildAt(secondWindow, 56, 24), L"500");
    SetText(ChildAt(secondWindow, 112, 24), L"300");

    PointAt(TitleBarPoint(window));
    PressHotkey('Z');
    EXPECT_TRUE(WaitUntil([&] { return HasClientSize(window, 640, 480); }));
    PressHotkey('X');
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_EQ(WindowText(TargetBox()), HandleText(window));
    EXPECT_EQ(WindowText(ChildAt(secondWindow, 56, 56)), L"");

    ASSERT_NO_FATAL_FAILURE(HideWithEscape(secondWindow));
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    EXPECT_TRUE(BoxesOf(second.id(), kErrorCaption).empty());
    EXPECT_EQ(WaitForSingleObject(second.handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// Another program holds Alt+Z before Glimvane starts.
class AltZTakenTest : public HotkeyTest {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(holder.Take(MOD_ALT, 'Z'));
        HotkeyTest::SetUp();
    }

    HotkeyHolder holder;
};

TEST_F(AltZTakenTest, AltZStaysWithTheOtherProgramAndTheOtherHotkeysStillWork)
{
    TestWindow window = MakeTopLevel(kTargetPlace);
    const RECT clientBefore = ClientRect(window);
    TypeSize(L"640", L"480");
    PointAt(TitleBarPoint(window));

    PressHotkey('Z');
    ASSERT_TRUE(WaitUntil([&] { return holder.presses == 1; }));
    PressHotkey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Alpha(window) == 230; }));
    PressHotkey('X');
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    // Had Glimvane handled Alt+Z too, the window would have its new size well before now.
    EXPECT_TRUE(HasClientSize(window, clientBefore));
    EXPECT_EQ(holder.presses, 1);
}

} // namespace
