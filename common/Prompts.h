// The two kinds of message box the operator sees, both captioned "提示":
// a warning for refusals and failures, information for a success.
#pragma once

#include <string>

void ShowWarning(const std::string& text);
void ShowInformation(const std::string& text);
