// Private messages that skinned windows and controls answer (other skinned
// programs use the same numbers).
#pragma once

#include <windows.h>

constexpr UINT SKM_QUERYSKINNED = 0x2AAA;  // a skinned window or control answers 1
constexpr UINT SKM_QUERYACTIVE = 0x2AAB;   // 2 while the frame is drawn inactive, else 1
constexpr UINT SKM_REDRAW = 0x2AAC;        // a control skinner repaints its control
