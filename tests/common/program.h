#pragma once

// Other programs started by a test, and their top-level windows.

#include <windows.h>

#include <string>
#include <vector>

// Where the built programs lie: beside the program that runs.
std::wstring ProgramPath(const wchar_t* name);

class Program {
  public:
    // Starts the program with the given command-line arguments.
    explicit Program(const wchar_t* name, const std::wstring& arguments = L"");
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program(); // terminates it if it is still running

    DWORD id() const { return process_.dwProcessId; }
    HANDLE handle() const { return process_.hProcess; }
    bool started() const { return process_.hProcess != nullptr; }
    // Waits for the process to end; its exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit(DWORD milliseconds = 5000);
    // A top-level window of this process with the given class and caption, waiting for it.
    HWND FindWindowOf(const wchar_t* className, const wchar_t* caption,
                      DWORD milliseconds = 5000) const;

  private:
    PROCESS_INFORMATION process_ = {};
};

// The top-level windows of the process with the given class and caption, as they are now.
std::vector<HWND> TopLevelWindowsOf(DWORD processId, const wchar_t* className,
                                    const wchar_t* caption);
