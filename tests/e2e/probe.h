#pragma once

// Starts the real glimvane.exe as a process of its own and finds its windows from outside.

#include "tests/common/program.h"
#include "tests/common/test_windows.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// The message boxes (class #32770) of the process with the given caption, as they are now.
std::vector<HWND> BoxesOf(DWORD processId, const wchar_t* caption);
// The first of them, waiting for one to appear; null when none did in time.
HWND FindBox(DWORD processId, const wchar_t* caption, DWORD milliseconds = 3000);

// What Glimvane writes into its target box: the handle's 32 bits as a signed number.
std::wstring HandleText(HWND window);

// Moving the pointer into another window, or the keyboard to another window, makes X report
// the keyboard's state again, and Wine then releases every modifier that X does not see held,
// an Alt pressed through SendInput included. The report must be handled before the next hotkey
// goes in, or that press loses its Alt and types a letter into whatever has the keyboard.
void LetTheKeyboardStateSettle();
// Alt with the key, after the keyboard state has settled.
void PressHotkey(WORD key);
// Alt held down over a run of presses, as a user does who sweeps the opacity; `pace` lies
// between any two key events. The probe handles no message meanwhile, so none of its windows
// can vanish from under the pointer, and take the held Alt with it, before all keys are in.
void PressWithAltHeld(const std::vector<WORD>& keys, DWORD pace);

// Each test gets a freshly started Glimvane and its main window.
class GlimvaneTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The controls, found by their place in the main window.
    HWND WidthBox() const;
    HWND HeightBox() const;
    HWND TargetBox() const;
    HWND ResizeButton() const;
    HWND ShowHideButton() const;

    std::unique_ptr<Program> glimvane;
    HWND mainWindow = nullptr;
};

inline constexpr wchar_t kMainCaption[] = L"Glimvane";
inline constexpr wchar_t kMainClass[] = L"GlimvaneMain";
