#include "shell/label.h"

#include <iterator>

namespace {
void Paint(HWND label)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(label, &paint);
    RECT area;
    GetClientRect(label, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    wchar_t text[256];
    int length = GetWindowTextW(label, text, static_cast<int>(std::size(text)));
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrW(label, GWLP_USERDATA)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text, length, &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(label, &paint);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(label);
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills the whole rectangle
    case WM_SETFONT:
        SetWindowLongPtrW(label, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam)) InvalidateRect(label, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(label, GWLP_USERDATA);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, TRUE);
        return result;
    }
    default:
        return DefWindowProcW(label, message, wParam, lParam);
    }
}
} // namespace

bool RegisterLabelClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = LabelProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kLabelClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
