#include "skin/draw/SkinControlLook.h"

#include "skin/draw/SkinEntries.h"
#include "skin/archive/SkinNames.h"
#include "skin/archive/SkinReader.h"

void LoadControlLook(const TSkinReader& reader, TSkinControlLook& look) {
    static unsigned loads = 0;
    look.generation = ++loads;
    look.button = SkinImage(reader, SKIN_BMP_BUTTON);
    look.checkBox = SkinImage(reader, SKIN_BMP_CHECKBOX);
    look.trackBar = SkinImage(reader, SKIN_BMP_TRACKBAR);
    const auto turned = [&](int index) {
        const SkinBitmap* bitmap = reader.GetSkinBitmap(index);
        return bitmap ? TSkinImage(RotateQuarter(*bitmap)) : TSkinImage();
    };
    look.trackBarVertical = turned(SKIN_BMP_TRACKBAR);
    look.trackSlider = SkinImage(reader, SKIN_BMP_TRACKBARSLIDER);
    look.trackVSlider = SkinImage(reader, SKIN_BMP_TRACKBARVSLIDER);
    look.toolBar = SkinImage(reader, SKIN_BMP_TOOLBAR);
    look.scrollUp = SkinImage(reader, SKIN_BMP_SCROLLBARUPBUTTON);
    look.scrollDown = SkinImage(reader, SKIN_BMP_SCROLLBARDOWNBUTTON);
    look.scrollTrack = SkinImage(reader, SKIN_BMP_SCROLLBAR);
    look.scrollThumb = SkinImage(reader, SKIN_BMP_SCROLLBUTTON);
    // Turned clockwise, the down arrow points left and the up arrow right.
    look.scrollLeft = turned(SKIN_BMP_SCROLLBARDOWNBUTTON);
    look.scrollRight = turned(SKIN_BMP_SCROLLBARUPBUTTON);
    look.scrollHTrack = turned(SKIN_BMP_SCROLLBAR);
    look.scrollHThumb = turned(SKIN_BMP_SCROLLBUTTON);

    look.formColor = SkinColorOr(reader, SKIN_COLOR_FORMCOLOR, GetSysColor(COLOR_BTNFACE));
    look.buttonFont = SkinColorOr(reader, SKIN_COLOR_BUTTONFONTCOLOR, GetSysColor(COLOR_BTNTEXT));
    look.controlColor = SkinColorOr(reader, SKIN_COLOR_CONTROLCOLOR, GetSysColor(COLOR_WINDOW));
    look.controlBorder = SkinColorOr(reader, SKIN_COLOR_CONTROLBORDERCOLOR, GetSysColor(COLOR_BTNSHADOW));
    look.controlFont = SkinColorOr(reader, SKIN_COLOR_CONTROLFONTCOLOR, GetSysColor(COLOR_WINDOWTEXT));
    look.scrollBarColor = SkinColorOr(reader, SKIN_COLOR_SCROLLBARCOLOR, GetSysColor(COLOR_SCROLLBAR));
    look.toolBarStart = SkinColorOr(reader, SKIN_COLOR_TOOLBARSTARTCOLOR, look.formColor);
    look.toolBarEnd = SkinColorOr(reader, SKIN_COLOR_TOOLBARENDCOLOR, look.formColor);
    look.toolBarOn = SkinColorOr(reader, SKIN_COLOR_TOOLBARONCOLOR, GetSysColor(COLOR_HIGHLIGHT));
    look.toolBarBorder = SkinColorOr(reader, SKIN_COLOR_TOOLBARBORDERCOLOR, GetSysColor(COLOR_HIGHLIGHT));
    look.toolBarDown = SkinColorOr(reader, SKIN_COLOR_TOOLBARDOWNCOLOR, GetSysColor(COLOR_HIGHLIGHT));

    look.buttonTrans = reader.GetSkinBool(SKIN_BOOL_BUTTONTRANS) != 0;
    look.checkBoxTrans = reader.GetSkinBool(SKIN_BOOL_CHECKBOXTRANS) != 0;
}
