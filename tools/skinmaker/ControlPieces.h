// The pieces of the controls, menus and bars. Frame layouts (frames side by
// side, numbered from 1):
//   button            3 frames: normal, hot, pressed (drawn nine-sliced)
//   check box (list)  6 frames: checked, grayed, unchecked, then the same disabled
//   radio button      4 frames: checked, unchecked, disabled checked, disabled unchecked
//   track bar         the channel, drawn three-sliced; sliders for both directions
//   scroll bar        up and down buttons: 4 frames each (normal, hot, pressed,
//                     disabled); track: 2 frames (normal, pressed); thumb: 3 frames
//                     (normal, hot, pressed), all for a vertical bar, three-sliced
//                     along it; a horizontal bar uses them turned by a quarter
//   progress bar      1 horizontal background, 2 horizontal fill, 3 vertical
//                     background, 4 vertical fill (three-sliced)
//   tab control       3 frames: active, inactive, hot (nine-sliced); the line below
#pragma once

#include "Canvas.h"

Canvas DrawButton();
Canvas DrawCheckBox();
Canvas DrawRadioButton();
Canvas DrawTrackBar();
Canvas DrawTrackBarSlider();
Canvas DrawTrackBarVSlider();
Canvas DrawScrollBarUpButton();
Canvas DrawScrollBarDownButton();
Canvas DrawScrollBarTrack();
Canvas DrawScrollThumb();
Canvas DrawProgressBar(int which);  // 1 to 4
Canvas DrawTabControl();
Canvas DrawTabControlLine();
Canvas DrawSideChannelBar();
Canvas DrawSideChannelTitle();
Canvas DrawMenuBar();
Canvas DrawToolBar();
Canvas DrawCheckedMenuIcon();
