#include "shell/fatal_error.h"

#include "shell/app.h"

#include <windows.h>

namespace {
constexpr wchar_t kCaption[] = L"错误";
} // namespace

void ReportRuntimeError(int code, std::wstring_view message)
{
    std::wstring text = RuntimeErrorText(code, message);
    MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
    ClearShutdownHook();
    EndProgram(-1);
}
