#include "winops/commands.h"

#include "winops/cursor.h"
#include "winops/dpi.h"
#include "winops/number_text.h"
#include "winops/primitives.h"

#include <windows.h>

#include <atomic>

namespace {
constexpr wchar_t kMissingSizeText[] = L"请先填写窗口尺寸";
constexpr wchar_t kMissingSizeCaption[] = L"信息：";

std::atomic<CommandBoxes*> commandBoxes{nullptr};
std::atomic<int> opacityLevel{0};

// Held while a command reads the target box, picks its target and writes the box, so that two
// quick presses cannot both find the box empty and lock different windows.
const HANDLE targetMutex = CreateMutexW(nullptr, FALSE, nullptr);
// Held while a command shows or hides its window, so that a second quick press sees what the
// first one did: the first may still be waiting for the window's thread when the second looks.
const HANDLE toggleMutex = CreateMutexW(nullptr, FALSE, nullptr);

class CommandLock {
  public:
    explicit CommandLock(HANDLE mutex) : mutex_(mutex)
    {
        // The holder may be waiting for this very thread to answer its box request (the
        // user-interface thread owns the boxes), so keep answering sent messages while waiting.
        while (MsgWaitForMultipleObjects(1, &mutex_, FALSE, INFINITE, QS_SENDMESSAGE) ==
               WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    ~CommandLock() { ReleaseMutex(mutex_); }
    CommandLock(const CommandLock&) = delete;
    CommandLock& operator=(const CommandLock&) = delete;

  private:
    HANDLE mutex_;
};

HWND HandleFromText(std::wstring_view text)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(NumberToInteger(TextToNumber(text))));
}

// The locked window of Alt+X, Alt+Up and Alt+Down: the handle in the target box, or the window
// under the cursor, which then goes into the box.
HWND SettleTarget(CommandBoxes& boxes)
{
    CommandLock lock(targetMutex);
    if (boxes.Read(CommandBox::Target).empty()) {
        HWND target = WindowUnderCursor();
        // Handles carry 32 significant bits, shown signed.
        boxes.Write(CommandBox::Target,
                    IntegerToText(static_cast<int32_t>(reinterpret_cast<INT_PTR>(target))));
        return target;
    }
    return HandleFromText(boxes.Read(CommandBox::Target));
}

void StepOpacity(int step)
{
    PhysicalPixelsScope physicalPixels;
    CommandBoxes* boxes = commandBoxes;
    if (boxes == nullptr) return;
    HWND target = SettleTarget(*boxes);
    SetTransparency(target, static_cast<BYTE>(StepOpacityLevel(step)));
}
} // namespace

void SetCommandBoxes(CommandBoxes* boxes)
{
    commandBoxes = boxes;
}

int SteppedOpacity(int level, int step)
{
    int stepped = level + step;
    if (stepped >= kHighestOpacity) return kHighestOpacity;
    if (stepped <= kLowestOpacity) return kLowestOpacity;
    return stepped;
}

void SetOpacityLevel(int level)
{
    opacityLevel = level;
}

int OpacityLevel()
{
    return opacityLevel;
}

int StepOpacityLevel(int step)
{
    int level = opacityLevel;
    while (!opacityLevel.compare_exchange_weak(level, SteppedOpacity(level, step))) {
    }
    return SteppedOpacity(level, step);
}

void ResizeCommand()
{
    PhysicalPixelsScope physicalPixels;
    CommandBoxes* boxes = commandBoxes;
    if (boxes == nullptr) return;
    HWND target = WindowUnderCursor();
    if (boxes->Read(CommandBox::Width).empty() || boxes->Read(CommandBox::Height).empty()) {
        MessageBoxW(nullptr, kMissingSizeText, kMissingSizeCaption, MB_OK | MB_TASKMODAL);
        return;
    }
    int width = NumberToInteger(TextToNumber(boxes->Read(CommandBox::Width)));
    int height = NumberToInteger(TextToNumber(boxes->Read(CommandBox::Height)));
    SetClientSize(target, width, height);
}

void ShowHideCommand()
{
    PhysicalPixelsScope physicalPixels;
    CommandBoxes* boxes = commandBoxes;
    if (boxes == nullptr) return;
    HWND target = SettleTarget(*boxes);
    CommandLock lock(toggleMutex);
    ToggleVisibility(target);
}

void OpacityUpCommand()
{
    StepOpacity(kOpacityStep);
}

void OpacityDownCommand()
{
    StepOpacity(-kOpacityStep);
}
