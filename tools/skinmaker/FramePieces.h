// The window frame pieces: title bar sections, side and bottom borders, the
// minimised title and the strip of title buttons. The outer corners are cut
// with hard pixel edges because the window region cuts them the same way.
#pragma once

#include "Canvas.h"

Canvas DrawTitleLeft();
Canvas DrawTitleMiddle();
Canvas DrawTitleRight();
Canvas DrawLeftBorder();
Canvas DrawRightBorder();
Canvas DrawBottomLeft();
Canvas DrawBottomMiddle();
Canvas DrawBottomRight();
Canvas DrawMinimizedTitle();
// 18 frames: 1-3 blank, help, maximize, restore, minimize, close, each as
// normal, hot and pressed.
Canvas DrawTitleButtons();
