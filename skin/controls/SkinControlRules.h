// The control skinners' decisions as plain functions of what they look at:
// which frame of a strip shows a state, where boxes, frames, ticks and focus
// rectangles go, and when a push button is clicked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Push buttons: pressed 3, mouse over 2, else 1; a disabled button always shows 1.
int ButtonFrame(int state, bool enabled);

enum class TCheckState { Unchecked, Checked, Grayed };
// Check boxes (6 frames): checked 1, grayed 2, unchecked 3; disabled 4, 5, 6.
int CheckBoxFrame(TCheckState check, bool enabled);
// The left edge of a check box's box: 0 with the mark on the left, else against the right edge.
int CheckBoxLeft(bool markOnLeft, int controlWidth, int boxWidth);

// A push button's focus rectangle: inset by 5, moved by 1,1 while pressed.
RECT ButtonFocusRect(const RECT& client, bool pressed);
// Where a push button's caption is drawn: the client area, moved by 1,1 while pressed.
RECT ButtonCaptionRect(const RECT& client, bool pressed);

// A group box's frame line: (0, h/2 - 1)-(width - 1, height - 1), h the height of "0".
RECT GroupBoxFrame(int width, int height, int textHeight);
// Where a group box's caption starts: 8 from the left, or 8 from the right edge reading right to left.
int GroupBoxCaptionX(int width, int textWidth, bool rightToLeft);

// The track bar's selection line along the channel, from start to end (both along the bar);
// empty (first >= second) when there is no selection.
struct TSpan {
    int first = 0, second = 0;
};
TSpan SelectionSpan(int selStart, int selEnd, int maximum, int startTick, int endTick, int channelStart,
                    int channelEnd);
// The selection line's colour: the channel's centre colour darkened to 60%.
COLORREF SelectionColor(COLORREF channelCentre);
// Positions along the bar of the ticks: the interior ones the control reports, and one 8
// pixels inside each end of the thumb's travel.
std::vector<int> TickPositions(const std::vector<int>& interior, int travelStart, int travelEnd);
// The focus rectangle around the thumb's area: grown by 2 across the bar and 4 along it.
RECT TrackFocusRect(const RECT& area, bool vertical);

// Frame k (from 1) of n frames stacked top to bottom.
RECT StackedFrame(int width, int height, int n, int k);
// Whether a control with a scroll window skinner gets skinned scroll bars: not
// single-line edits, masked edits or spin edits, and only while the engine draws them.
bool SkinsScrollBars(const std::string& className, bool isEdit, bool multiLine, bool drawScrollBar);
// The frame of a scroll bar arrow button (4 frames): pressed 3, hot 2, disabled 4, else 1.
int ScrollButtonFrame(bool pressed, bool hot, bool disabled);

// The combo box's drop-down arrow: 3 rows narrowing from 5 pixels to 1, starting
// 3 pixels left of the button's centre; one rectangle per row.
std::vector<RECT> ComboArrow(const RECT& button);

// How a tool bar button looks: left to the bar, hot, or hot and pressed. A checked or
// pressed button that is not hot looks like a hot one.
enum class TToolFace { Bar, Hot, Down };
TToolFace ToolButtonFace(bool hot, bool pressed, bool checked);
// The top left of a tool bar button's image: 3 below the top, 5 from the left when
// captions stand beside the images, else centred (leaving 14 for a drop-down arrow).
POINT ToolImagePlace(const RECT& button, int imageWidth, bool captionsBeside, bool dropDown);

// The clicks of a push button whose press the control never sees. Each event
// answers whether the button is clicked now.
class TPushClicks {
public:
    // Space or return pressed: remembered.
    void KeyDown(WORD key);
    // Space released: clicks when it was pressed on the button, which is focused and enabled.
    bool KeyUp(WORD key, bool focused, bool enabled);
    // The character of return (or 0): clicks.
    bool Char(WPARAM ch) const;
    void MouseDown() { mousePressed_ = true; }
    // Clicks when released over the button after a press on it.
    bool MouseUp(bool over);
    // A double click clicks at once; its release adds nothing.
    bool DoubleClick();
    // The mouse left the button: a press dragged off it is dropped.
    void Forget() { mousePressed_ = false; }
    bool MousePressed() const { return mousePressed_; }

private:
    bool keyPressed_ = false;
    bool mousePressed_ = false;
};
