#include "tests/e2e/probe.h"

#include <vector>

std::wstring ProgramPath(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

Program::Program(const wchar_t* name, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + ProgramPath(name) + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        process_ = {};
    else
        WaitForInputIdle(process_.hProcess, 5000);
}

Program::~Program()
{
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

DWORD Program::WaitForExit(DWORD milliseconds)
{
    WaitUntil([&] { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; },
              milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND Program::FindWindowOf(const wchar_t* className, const wchar_t* caption,
                           DWORD milliseconds) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window = FindWindowExW(nullptr, nullptr, className, caption);
                 window != nullptr; window = FindWindowExW(nullptr, window, className, caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND ChildWithText(HWND parent, const std::wstring& text)
{
    for (HWND child : Children(parent))
        if (WindowText(child) == text) return child;
    return nullptr;
}

std::vector<HWND> BoxesOf(DWORD processId, const wchar_t* caption)
{
    std::vector<HWND> boxes;
    for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", caption); box != nullptr;
         box = FindWindowExW(nullptr, box, L"#32770", caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == processId) boxes.push_back(box);
    }
    return boxes;
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

HWND ChildAt(HWND parent, int x, int y)
{
    for (HWND child : Children(parent)) {
        POINT corner = PositionInParent(child);
        if (corner.x == x && corner.y == y) return child;
    }
    return nullptr;
}

std::wstring HandleText(HWND window)
{
    return std::to_wstring(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window)));
}

int Alpha(HWND window)
{
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0) return -1;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags) || (flags & LWA_ALPHA) == 0)
        return -1;
    return alpha;
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
