#include "shell/fatal_error.h"

#include <gtest/gtest.h>

TEST(RuntimeErrorText, LeavesOutTheCodeLineForZeroAndTheMessageLineWhenEmpty)
{
    struct Case {
        int code;
        const wchar_t* message;
        const wchar_t* text;
    };
    const Case cases[] = {
        {6, L"调用DLL命令后发现堆栈错误",
         L"运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
        {0, L"载入启动窗口失败", L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        {4, L"", L"运行时出错!\r\n\r\n错误代码：4\r\n\r\n"},
        {0, L"", L"运行时出错!\r\n\r\n"},
        {-1, L"x", L"运行时出错!\r\n\r\n错误代码：-1\r\n\r\n错误信息：x\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RuntimeErrorText(c.code, c.message), c.text) << c.code;
}
