#pragma once

#include <windows.h>

// Asks the user-interface thread to end the program; wParam is the exit code.
inline constexpr UINT kEndRequestMessage = WM_APP + 0x3E7;

// Records the calling thread as the user-interface thread and makes the hidden toolkit
// window, which owns the main window and takes end requests from other threads.
bool StartToolkit(HINSTANCE instance);
HWND ToolkitWindow();

// One slot; the end sequence empties it before calling, so the hook runs at most once.
void SetShutdownHook(void (*hook)());
void ClearShutdownHook();

// Runs the end sequence and ends the process. From another thread the end is handed over to
// the user-interface thread.
[[noreturn]] void EndProgram(int exitCode);

// Called when one of the program's windows has received its last message.
void OnProgramWindowGone();

// The whole life of the program: start-up, the message loop and the end.
[[noreturn]] void RunGlimvane(HINSTANCE instance);
