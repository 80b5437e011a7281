#pragma once

// The four window commands, run by the main window's buttons on the user-interface thread
// and by the hotkeys on threads of their own.

#include <string>
#include <string_view>

enum class CommandBox { Width, Height, Target };

// The edit boxes the commands read their input from and show their target in.
class CommandBoxes {
  public:
    virtual std::wstring Read(CommandBox box) = 0;
    virtual void Write(CommandBox box, std::wstring_view text) = 0;

  protected:
    ~CommandBoxes() = default;
};
void SetCommandBoxes(CommandBoxes* boxes);

inline constexpr int kOpacityStep = 25;
inline constexpr int kLowestOpacity = 0;
inline constexpr int kHighestOpacity = 255;

// One opacity step from `level`, kept within the lowest and highest opacity.
int SteppedOpacity(int level, int step);

void SetOpacityLevel(int level);
int OpacityLevel();
// Moves the level by one step as one indivisible update and returns the level it produced.
int StepOpacityLevel(int step);

void ResizeCommand();
void ShowHideCommand();
void OpacityUpCommand();
void OpacityDownCommand();
