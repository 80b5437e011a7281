#pragma once

#include <string>
#include <string_view>

// The messages of the errors that end Glimvane. A code of 0 means the box shows no code line.
namespace runtime_error_message {
inline constexpr wchar_t kLoadTemplates[] = L"载入窗口模板数据段出错!";
inline constexpr wchar_t kLoadMainWindow[] = L"载入启动窗口失败";
inline constexpr wchar_t kWindowNotLoaded[] = L"未载入欲访问窗口组件所在的窗口";
inline constexpr wchar_t kControlNotLoaded[] = L"指定窗口尚未载入";
} // namespace runtime_error_message

// The text of the fatal-error box.
std::wstring RuntimeErrorText(int code, std::wstring_view message);

// Shows the fatal-error box on the calling thread, then ends the program with exit code -1
// without running the shutdown hook. Callable from any thread.
[[noreturn]] void ReportRuntimeError(int code, std::wstring_view message);
