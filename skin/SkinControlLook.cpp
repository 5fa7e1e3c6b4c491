#include "skin/SkinControlLook.h"

#include "skin/SkinNames.h"
#include "skin/SkinReader.h"

namespace {

TSkinImage Image(const TSkinReader& reader, int index) {
    const SkinBitmap* bitmap = reader.GetSkinBitmap(index);
    return bitmap ? TSkinImage(*bitmap) : TSkinImage();
}

// A colour the skin lacks (-1) reads as the fallback.
COLORREF Color(const TSkinReader& reader, int index, COLORREF fallback) {
    const int value = reader.GetSkinColor(index);
    return value < 0 ? fallback : static_cast<COLORREF>(value) & 0xFFFFFFu;
}

}  // namespace

void LoadControlLook(const TSkinReader& reader, TSkinControlLook& look) {
    static unsigned loads = 0;
    look.generation = ++loads;
    look.button = Image(reader, SKIN_BMP_BUTTON);
    look.checkBox = Image(reader, SKIN_BMP_CHECKBOX);
    look.radioButton = Image(reader, SKIN_BMP_RADIOBUTTON);
    look.trackBar = Image(reader, SKIN_BMP_TRACKBAR);
    const SkinBitmap* channel = reader.GetSkinBitmap(SKIN_BMP_TRACKBAR);
    look.trackBarVertical = channel ? TSkinImage(RotateQuarter(*channel)) : TSkinImage();
    look.trackSlider = Image(reader, SKIN_BMP_TRACKBARSLIDER);
    look.trackVSlider = Image(reader, SKIN_BMP_TRACKBARVSLIDER);
    look.toolBar = Image(reader, SKIN_BMP_TOOLBAR);
    const auto turned = [&](int index) {
        const SkinBitmap* bitmap = reader.GetSkinBitmap(index);
        return bitmap ? TSkinImage(RotateQuarter(*bitmap)) : TSkinImage();
    };
    look.scrollUp = Image(reader, SKIN_BMP_SCROLLBARUPBUTTON);
    look.scrollDown = Image(reader, SKIN_BMP_SCROLLBARDOWNBUTTON);
    look.scrollTrack = Image(reader, SKIN_BMP_SCROLLBAR);
    look.scrollThumb = Image(reader, SKIN_BMP_SCROLLBUTTON);
    // Turned clockwise, the down arrow points left and the up arrow right.
    look.scrollLeft = turned(SKIN_BMP_SCROLLBARDOWNBUTTON);
    look.scrollRight = turned(SKIN_BMP_SCROLLBARUPBUTTON);
    look.scrollHTrack = turned(SKIN_BMP_SCROLLBAR);
    look.scrollHThumb = turned(SKIN_BMP_SCROLLBUTTON);

    look.transColor = Color(reader, SKIN_COLOR_TRANSCOLOR, RGB(255, 0, 255));
    look.formColor = Color(reader, SKIN_COLOR_FORMCOLOR, GetSysColor(COLOR_BTNFACE));
    look.buttonFont = Color(reader, SKIN_COLOR_BUTTONFONTCOLOR, GetSysColor(COLOR_BTNTEXT));
    look.controlColor = Color(reader, SKIN_COLOR_CONTROLCOLOR, GetSysColor(COLOR_WINDOW));
    look.controlBorder = Color(reader, SKIN_COLOR_CONTROLBORDERCOLOR, GetSysColor(COLOR_BTNSHADOW));
    look.controlFont = Color(reader, SKIN_COLOR_CONTROLFONTCOLOR, GetSysColor(COLOR_WINDOWTEXT));
    look.scrollBarColor = Color(reader, SKIN_COLOR_SCROLLBARCOLOR, GetSysColor(COLOR_SCROLLBAR));
    look.toolBarStart = Color(reader, SKIN_COLOR_TOOLBARSTARTCOLOR, look.formColor);
    look.toolBarEnd = Color(reader, SKIN_COLOR_TOOLBARENDCOLOR, look.formColor);
    look.toolBarOn = Color(reader, SKIN_COLOR_TOOLBARONCOLOR, GetSysColor(COLOR_HIGHLIGHT));
    look.toolBarBorder = Color(reader, SKIN_COLOR_TOOLBARBORDERCOLOR, GetSysColor(COLOR_HIGHLIGHT));
    look.toolBarDown = Color(reader, SKIN_COLOR_TOOLBARDOWNCOLOR, GetSysColor(COLOR_HIGHLIGHT));

    look.buttonTrans = reader.GetSkinBool(SKIN_BOOL_BUTTONTRANS) != 0;
    look.checkBoxTrans = reader.GetSkinBool(SKIN_BOOL_CHECKBOXTRANS) != 0;
    look.radioButtonTrans = reader.GetSkinBool(SKIN_BOOL_RADIOBUTTONTRANS) != 0;
}
