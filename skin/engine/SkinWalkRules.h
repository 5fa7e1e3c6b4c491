// The decision of the control walk for one control of a program form.
#pragma once

#include "framework/Controls.h"

struct TControlChoice {
    int skinner = -1;            // the row of the control class table, or -1: not skinned
    bool visitChildren = false;  // the controls inside it are walked too
};

// `answersSkinned`: the control's window already answers SKM_QUERYSKINNED with 1.
TControlChoice ChooseControl(const TControl& control, int disabledTag, bool answersSkinned);
