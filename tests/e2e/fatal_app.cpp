// A stand-in for Glimvane that raises a fatal error on a thread of its own, for the probe to
// check the error box and the exit code. Arguments: code, message, and a file that the
// shutdown hook would create if it ran.

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
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
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
