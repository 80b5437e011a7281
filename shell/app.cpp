#include "shell/app.h"

#include "hotkeys/registry.h"
#include "shell/fatal_error.h"
#include "shell/main_window.h"
#include "winops/primitives.h"

#include <atomic>
#include <utility>

namespace {
constexpr wchar_t kToolkitClass[] = L"GlimvaneToolkit";

DWORD uiThread = 0;
HWND toolkitWindow = nullptr;
std::atomic<void (*)()> shutdownHook{nullptr};
bool ending = false;
bool loopEntered = false;

LRESULT CALLBACK ToolkitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kEndRequestMessage:
        EndProgram(static_cast<int>(wParam));
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void ShutdownHook()
{
    delete hotkeys;
    hotkeys = nullptr;
    FreeHotkeyList();
}

int RunMessageLoop()
{
    if (MainWindow() == nullptr) return 0;
    loopEntered = true;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateMainWindowKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
} // namespace

bool StartToolkit(HINSTANCE instance)
{
    uiThread = GetCurrentThreadId();
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ToolkitWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kToolkitClass;
    if (!RegisterClassExW(&windowClass)) return false;
    toolkitWindow = CreateWindowExW(WS_EX_TOOLWINDOW, kToolkitClass, L"", 0, 0, 0, 0, 0, nullptr,
                                    nullptr, instance, nullptr);
    return toolkitWindow != nullptr;
}

HWND ToolkitWindow()
{
    return toolkitWindow;
}

void SetShutdownHook(void (*hook)())
{
    shutdownHook = hook;
}

void ClearShutdownHook()
{
    shutdownHook = nullptr;
}

void EndProgram(int exitCode)
{
    if (GetCurrentThreadId() != uiThread) {
        // The user-interface thread ends the process while handling this, so the send only
        // comes back when the toolkit window is already gone.
        SendMessageW(toolkitWindow, kEndRequestMessage, static_cast<WPARAM>(exitCode), 0);
        ExitProcess(static_cast<UINT>(exitCode));
    }
    ending = true;
    // Whatever Glimvane hid or faded must not stay lost once it is gone.
    RestoreChangedWindows();
    DestroyMainWindow();
    if (void (*hook)() = shutdownHook.exchange(nullptr)) hook();
    if (toolkitWindow != nullptr) DestroyWindow(std::exchange(toolkitWindow, nullptr));
    ExitProcess(static_cast<UINT>(exitCode));
}

void OnProgramWindowGone()
{
    if (loopEntered && !ending) PostQuitMessage(0);
}

void RunGlimvane(HINSTANCE instance)
{
    if (!StartToolkit(instance)) ReportRuntimeError(0, runtime_error_message::kLoadTemplates);
    hotkeys = new 热键类;
    SetShutdownHook(ShutdownHook);
    if (!LoadMainWindow(instance)) ReportRuntimeError(0, runtime_error_message::kLoadMainWindow);
    EndProgram(RunMessageLoop());
}
