#include "shell/command_boxes.h"

#include "shell/fatal_error.h"
#include "shell/main_window.h"
#include "shell/main_window_layout.h"

#include <windows.h>

namespace layout = main_window_layout;

namespace {
int ControlId(CommandBox box)
{
    switch (box) {
    case CommandBox::Width:
        return layout::kWidthBox;
    case CommandBox::Height:
        return layout::kHeightBox;
    case CommandBox::Target:
        break;
    }
    return layout::kTargetBox;
}

// From a thread other than the user-interface thread the window manager hands these requests
// to that thread and waits for the answer.
HWND BoxWindow(CommandBox box)
{
    HWND window = MainWindow();
    if (window == nullptr || !IsWindow(window))
        ReportRuntimeError(0, runtime_error_message::kWindowNotLoaded);
    HWND control = GetDlgItem(window, ControlId(box));
    if (control == nullptr) ReportRuntimeError(0, runtime_error_message::kControlNotLoaded);
    return control;
}

class MainWindowBoxes final : public CommandBoxes {
  public:
    std::wstring Read(CommandBox box) override
    {
        HWND control = BoxWindow(box);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    void Write(CommandBox box, std::wstring_view text) override
    {
        SetWindowTextW(BoxWindow(box), std::wstring(text).c_str());
    }
};

MainWindowBoxes mainWindowBoxes;
} // namespace

CommandBoxes& MainWindowCommandBoxes()
{
    return mainWindowBoxes;
}
