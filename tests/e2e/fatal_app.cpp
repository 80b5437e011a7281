// Stand-ins for Glimvane that end through a fatal error, for the probe to check the error box
// and the exit code. Arguments:
//   code message marker  raise the error on a thread of its own; the shutdown hook, if it ran,
//                        would create the file `marker`
//   refuse-button        start Glimvane as it is, but have the window manager refuse to create
//                        the main window's first button

#include "shell/app.h"
#include "shell/fatal_error.h"

#include <shellapi.h>

#include <string>

namespace {
std::wstring hookMarker;
int errorCode = 0;
std::wstring errorMessage;

void MarkHookRan()
{
    HANDLE file =
        CreateFileW(hookMarker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

DWORD WINAPI FailingThread(LPVOID)
{
    ReportRuntimeError(errorCode, errorMessage);
}

// A CBT hook that answers a window's creation with a refusal makes CreateWindowEx fail.
LRESULT CALLBACK RefuseButtons(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        // Only the main window's: the error box has buttons of its own.
        const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        wchar_t parentClass[32] = {};
        GetClassNameW(create->hwndParent, parentClass, 32);
        if (!IS_INTRESOURCE(create->lpszClass) && _wcsicmp(create->lpszClass, L"BUTTON") == 0 &&
            std::wstring(parentClass) == L"GlimvaneMain")
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count == 2 && std::wstring(arguments[1]) == L"refuse-button") {
        SetWindowsHookExW(WH_CBT, RefuseButtons, nullptr, GetCurrentThreadId());
        RunGlimvane(instance);
    }
    if (count < 4) return 2;
    errorCode = std::stoi(arguments[1]);
    errorMessage = arguments[2];
    hookMarker = arguments[3];
    if (!StartToolkit(instance)) return 3;
    SetShutdownHook(MarkHookRan);
    CloseHandle(CreateThread(nullptr, 0, FailingThread, nullptr, 0, nullptr));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
