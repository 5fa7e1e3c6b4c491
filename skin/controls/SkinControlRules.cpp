#include "skin/controls/SkinControlRules.h"

#include "skin/controls/SkinControl.h"
#include "skin/draw/SkinDraw.h"

#include <algorithm>

int ButtonFrame(int state, bool enabled) {
    if (!enabled) return 1;
    if (state & kSkinStatePressed) return 3;
    if (state & kSkinStateOver) return 2;
    return 1;
}

int CheckBoxFrame(TCheckState check, bool enabled) {
    const int frame = check == TCheckState::Checked ? 1 : check == TCheckState::Grayed ? 2 : 3;
    return enabled ? frame : frame + 3;
}

int CheckBoxLeft(bool markOnLeft, int controlWidth, int boxWidth) {
    return markOnLeft ? 0 : controlWidth - boxWidth - 1;
}

RECT ButtonFocusRect(const RECT& client, bool pressed) {
    RECT r{client.left + 5, client.top + 5, client.right - 5, client.bottom - 5};
    if (pressed) OffsetRect(&r, 1, 1);
    return r;
}

RECT ButtonCaptionRect(const RECT& client, bool pressed) {
    RECT r = client;
    if (pressed) OffsetRect(&r, 1, 1);
    return r;
}

RECT GroupBoxFrame(int width, int height, int textHeight) { return RECT{0, textHeight / 2 - 1, width - 1, height - 1}; }

int GroupBoxCaptionX(int width, int textWidth, bool rightToLeft) { return rightToLeft ? width - textWidth - 8 : 8; }

TSpan SelectionSpan(int selStart, int selEnd, int maximum, int startTick, int endTick, int channelStart,
                    int channelEnd) {
    if (selStart >= selEnd) return {};
    return TSpan{selStart < 1 ? channelStart + 4 : startTick, selEnd >= maximum ? channelEnd - 4 : endTick};
}

COLORREF SelectionColor(COLORREF c) { return RGB(GetRValue(c) * 3 / 5, GetGValue(c) * 3 / 5, GetBValue(c) * 3 / 5); }

std::vector<int> TickPositions(const std::vector<int>& interior, int travelStart, int travelEnd) {
    std::vector<int> ticks;
    ticks.push_back(travelStart + 8);
    ticks.insert(ticks.end(), interior.begin(), interior.end());
    ticks.push_back(travelEnd - 8);
    return ticks;
}

RECT TrackFocusRect(const RECT& area, bool vertical) {
    const int along = 4, across = 2;
    if (vertical) return RECT{area.left - across, area.top - along, area.right + across, area.bottom + along};
    return RECT{area.left - along, area.top - across, area.right + along, area.bottom + across};
}

RECT StackedFrame(int width, int height, int n, int k) {
    const RECT across = StripFrame(height, width, n, k);
    return RECT{across.top, across.left, across.bottom, across.right};
}

bool SkinsScrollBars(const std::string& className, bool isEdit, bool multiLine, bool drawScrollBar) {
    if (!drawScrollBar) return false;
    if (className == "TSpinEdit" || className == "TMaskEdit") return false;
    return !isEdit || multiLine;
}

int ScrollButtonFrame(bool pressed, bool hot, bool disabled) {
    if (disabled) return 4;
    if (pressed) return 3;
    return hot ? 2 : 1;
}

std::vector<RECT> ComboArrow(const RECT& button) {
    const int left = (button.left + button.right) / 2 - 3, top = (button.top + button.bottom) / 2 - 1;
    std::vector<RECT> rows;
    for (int i = 0; i < 3; ++i) rows.push_back(RECT{left + i, top + i, left + 5 - i, top + i + 1});
    return rows;
}

TToolFace ToolButtonFace(bool hot, bool pressed, bool checked) {
    if (hot) return pressed ? TToolFace::Down : TToolFace::Hot;
    return pressed || checked ? TToolFace::Hot : TToolFace::Bar;
}

POINT ToolImagePlace(const RECT& button, int imageWidth, bool captionsBeside, bool dropDown) {
    const int top = button.top + 3;
    if (captionsBeside) return POINT{button.left + 5, top};
    const int width = (button.right - button.left) - (dropDown ? 14 : 0);
    return POINT{button.left + (width - imageWidth) / 2, top};
}

// ------------------------------------------------------------ TPushClicks

void TPushClicks::KeyDown(WORD key) {
    if (key == VK_SPACE || key == VK_RETURN) keyPressed_ = true;
}

bool TPushClicks::KeyUp(WORD key, bool focused, bool enabled) {
    if (key != VK_SPACE) return false;
    const bool clicks = keyPressed_ && focused && enabled;
    keyPressed_ = false;
    return clicks;
}

bool TPushClicks::Char(WPARAM ch) const { return ch == VK_RETURN || ch == 0; }

bool TPushClicks::MouseUp(bool over) {
    const bool clicks = mousePressed_ && over;
    mousePressed_ = false;
    return clicks;
}

bool TPushClicks::DoubleClick() {
    mousePressed_ = false;
    return true;
}
