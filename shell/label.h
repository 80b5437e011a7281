#pragma once

#include <windows.h>

// A one-line caption that paints itself: button-face background, black text, left-aligned,
// vertically centred, "&" drawn as is, cut off at the right edge.
inline constexpr wchar_t kLabelClass[] = L"GlimvaneLabel";

bool RegisterLabelClass(HINSTANCE instance);
