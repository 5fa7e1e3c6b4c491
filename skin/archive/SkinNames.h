// The fixed table of skin entry names that the engine reaches by index.
// Each group has its own base in one table of 84 names; every index is masked
// to its low 7 bits before the base is added, exactly as the engine has always
// addressed it, so an index beyond a group's end never leaves the table.
#pragma once

#include <cstddef>

namespace skinnames {

constexpr std::size_t kColorBase = 0;
constexpr std::size_t kColorCount = 32;
constexpr std::size_t kBitmapBase = 32;
constexpr std::size_t kBitmapCount = 34;
constexpr std::size_t kIntBase = 66;
constexpr std::size_t kIntCount = 9;
constexpr std::size_t kBoolBase = 75;
constexpr std::size_t kBoolCount = 9;
constexpr std::size_t kNameCount = 84;

// The name at a position of the whole table, or null past its end.
const char* NameAt(std::size_t position);

// Masked group lookups; null when the masked index falls past the table's end.
const char* ColorName(int index);
const char* BitmapName(int index);
const char* IntName(int index);
const char* BoolName(int index);

}  // namespace skinnames

// Colour indices (integer entries holding 0x00BBGGRR).
enum SkinColorIndex {
    SKIN_COLOR_TRANSCOLOR = 0,
    SKIN_COLOR_TITLEFONTCOLOR = 1,
    SKIN_COLOR_FORMCOLOR = 2,
    SKIN_COLOR_MENUBARSTARTCOLOR = 3,
    SKIN_COLOR_MENUBARENDCOLOR = 4,
    SKIN_COLOR_TOPSELECTEDMENUCOLOR = 5,
    SKIN_COLOR_TOPSELECTEDMENUBORDERCOLOR = 6,
    SKIN_COLOR_TOPSELECTEDMENUFONTCOLOR = 7,
    SKIN_COLOR_TOPMENUFONTCOLOR = 8,
    SKIN_COLOR_LEFTBARSTARTCOLOR = 9,
    SKIN_COLOR_LEFTBARENDCOLOR = 10,
    SKIN_COLOR_MENUITEMCOLOR = 11,
    SKIN_COLOR_MENUITEMFONTCOLOR = 12,
    SKIN_COLOR_SELECTEDMENUCOLOR = 13,
    SKIN_COLOR_SELECTEDMENUBORDERCOLOR = 14,
    SKIN_COLOR_SELECTEDMENUFONTCOLOR = 15,
    SKIN_COLOR_TOOLBARSTARTCOLOR = 16,
    SKIN_COLOR_TOOLBARENDCOLOR = 17,
    SKIN_COLOR_TOOLBARONCOLOR = 18,
    SKIN_COLOR_TOOLBARBORDERCOLOR = 19,
    SKIN_COLOR_TOOLBARDOWNCOLOR = 20,
    SKIN_COLOR_CONTROLCOLOR = 21,
    SKIN_COLOR_CONTROLBORDERCOLOR = 22,
    SKIN_COLOR_CONTROLFONTCOLOR = 23,
    SKIN_COLOR_BUTTONFONTCOLOR = 24,
    SKIN_COLOR_SCROLLBARCOLOR = 25,
    SKIN_COLOR_TABCONTROLCOLOR = 26,
    SKIN_COLOR_TABCONTROLBORDERCOLOR = 27,
    SKIN_COLOR_TABCONTROLACTIVEFONTCOLOR = 28,
    SKIN_COLOR_TABCONTROLINACTIVEFONTCOLOR = 29,
    SKIN_COLOR_SIDECHANNELCOLOR = 30,
    SKIN_COLOR_SIDECHANNELBORDERCOLOR = 31,
};

// Bitmap indices.
enum SkinBitmapIndex {
    SKIN_BMP_TITLEBAR1 = 0,
    SKIN_BMP_TITLEBAR2 = 1,
    SKIN_BMP_TITLEBAR3 = 2,
    SKIN_BMP_TITLEBAR4 = 3,
    SKIN_BMP_TITLEBAR5 = 4,
    SKIN_BMP_FORMLEFTBORDER = 5,
    SKIN_BMP_FORMRIGHTBORDER = 6,
    SKIN_BMP_FORMBOTTOMBORDER1 = 7,
    SKIN_BMP_FORMBOTTOMBORDER2 = 8,
    SKIN_BMP_FORMBOTTOMBORDER3 = 9,
    SKIN_BMP_MINIMIZEDTITLE = 10,
    SKIN_BMP_TITLEBUTTONS = 11,
    SKIN_BMP_CHECKEDMENUICON = 12,
    SKIN_BMP_MENUBAR = 13,
    SKIN_BMP_TOOLBAR = 14,
    SKIN_BMP_BUTTON = 15,
    SKIN_BMP_CHECKBOX = 16,
    SKIN_BMP_CHECKBOXLIST = 17,
    SKIN_BMP_RADIOBUTTON = 18,
    SKIN_BMP_PROGRESSBAR1 = 19,
    SKIN_BMP_PROGRESSBAR2 = 20,
    SKIN_BMP_PROGRESSBAR3 = 21,
    SKIN_BMP_PROGRESSBAR4 = 22,
    SKIN_BMP_TRACKBAR = 23,
    SKIN_BMP_TRACKBARSLIDER = 24,
    SKIN_BMP_TRACKBARVSLIDER = 25,
    SKIN_BMP_SCROLLBARUPBUTTON = 26,
    SKIN_BMP_SCROLLBAR = 27,
    SKIN_BMP_SCROLLBARDOWNBUTTON = 28,
    SKIN_BMP_TABCONTROL = 29,
    SKIN_BMP_TABCONTROLLINE = 30,
    SKIN_BMP_SIDECHANNELBAR = 31,
    SKIN_BMP_SIDECHANNELTITLE = 32,
    SKIN_BMP_SCROLLBUTTON = 33,
};

// Integer metric indices.
enum SkinIntIndex {
    SKIN_INT_TITLEBARICONPOSX = 0,
    SKIN_INT_TITLEBARICONPOSY = 1,
    SKIN_INT_TITLEBARCAPTIONTOP = 2,
    SKIN_INT_TITLEBARBUTTONPOSX = 3,
    SKIN_INT_TITLEBARBUTTONPOSY = 4,
    SKIN_INT_TITLEBARREGIONMINY = 5,
    SKIN_INT_TITLEBARREGIONMAXY = 6,
    SKIN_INT_BOTTOMREGIONMINY = 7,
    SKIN_INT_BOTTOMREGIONMAXY = 8,
};

// Flag indices.
enum SkinBoolIndex {
    SKIN_BOOL_TITLEFIVESECT = 0,
    SKIN_BOOL_BOTTOMBORDERTHREESECT = 1,
    SKIN_BOOL_TITLEBARNEEDREGION = 2,
    SKIN_BOOL_BOTTOMBORDERNEEDREGION = 3,
    SKIN_BOOL_TITLEBTNTRANS = 4,
    SKIN_BOOL_BUTTONTRANS = 5,
    SKIN_BOOL_CHECKBOXTRANS = 6,
    SKIN_BOOL_RADIOBUTTONTRANS = 7,
    SKIN_BOOL_TABCONTROLTRANS = 8,
};
