#include "common/Prompts.h"

#include "framework/Forms.h"

void ShowWarning(const std::string& text) { Application->MessageBox(text, "提示", MB_OK | MB_ICONWARNING); }

void ShowInformation(const std::string& text) { Application->MessageBox(text, "提示", MB_OK | MB_ICONINFORMATION); }
