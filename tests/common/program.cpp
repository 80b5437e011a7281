#include "tests/common/program.h"

#include "tests/common/test_windows.h"

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
            std::vector<HWND> windows = TopLevelWindowsOf(id(), className, caption);
            if (!windows.empty()) found = windows.front();
            return found != nullptr;
        },
        milliseconds);
    return found;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId, const wchar_t* className,
                                    const wchar_t* caption)
{
    std::vector<HWND> windows;
    for (HWND window = FindWindowExW(nullptr, nullptr, className, caption); window != nullptr;
         window = FindWindowExW(nullptr, window, className, caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) windows.push_back(window);
    }
    return windows;
}
