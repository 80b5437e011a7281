#include "shell/fatal_error.h"

#include "winops/number_text.h"

namespace {
constexpr wchar_t kHeading[] = L"运行时出错!";
constexpr wchar_t kCodeLabel[] = L"错误代码：";
constexpr wchar_t kMessageLabel[] = L"错误信息：";
constexpr wchar_t kLineBreak[] = L"\r\n";
} // namespace

std::wstring RuntimeErrorText(int code, std::wstring_view message)
{
    std::wstring text = kHeading;
    text += kLineBreak;
    text += kLineBreak;
    if (code != 0) {
        text += kCodeLabel;
        text += IntegerToText(code);
        text += kLineBreak;
        text += kLineBreak;
    }
    if (!message.empty()) {
        text += kMessageLabel;
        text += message;
        text += kLineBreak;
    }
    return text;
}
