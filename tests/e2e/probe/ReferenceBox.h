// A message box that the probe itself shows, as a known reference to compare the
// program's message boxes against (their icons, buttons and layout under this Wine).
#pragma once
#include <string>

// Shows the box on a thread of its own and returns at once; the box stays until a
// button of it is pressed.
bool showReferenceBox(const std::wstring& text, const std::wstring& caption, unsigned style);
