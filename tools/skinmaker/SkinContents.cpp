#include "SkinContents.h"

#include "ControlPieces.h"
#include "FramePieces.h"
#include "Sk2Writer.h"
#include "SkinDesign.h"
#include "skin/archive/SkinNames.h"

#include <stdexcept>

using namespace design;

namespace {

// The first and last rows of the pieces that hold a transparent pixel: the
// band that the window region scans to cut the rounded corners.
std::pair<int, int> TransparentRows(const Canvas& a, const Canvas& b) {
    int first = -1, last = -1;
    for (const Canvas* c : {&a, &b}) {
        for (int y = 0; y < c->Height(); ++y) {
            for (int x = 0; x < c->Width(); ++x) {
                if (c->Get(x, y) != kTrans) continue;
                if (first < 0 || y < first) first = y;
                if (y > last) last = y;
            }
        }
    }
    return {first, last};
}

std::int32_t Color(Rgb c) { return static_cast<std::int32_t>(ToSkinColor(c)); }

}  // namespace

const Canvas& SkinContents::Bitmap(const std::string& name) const {
    for (const auto& b : bitmaps)
        if (b.first == name) return b.second;
    throw std::runtime_error("no skin bitmap " + name);
}

std::int32_t SkinContents::Int(const std::string& name) const {
    for (const auto* list : {&colors, &ints})
        for (const auto& v : *list)
            if (v.first == name) return v.second;
    throw std::runtime_error("no skin integer " + name);
}

bool SkinContents::Flag(const std::string& name) const {
    for (const auto& f : flags)
        if (f.first == name) return f.second;
    throw std::runtime_error("no skin flag " + name);
}

SkinContents BuildSkin() {
    using skinnames::BitmapName;
    SkinContents skin;
    const auto bitmap = [&](int index, Canvas c) { skin.bitmaps.emplace_back(BitmapName(index), std::move(c)); };
    // Five title sections are not used, so the fourth and fifth title pieces are absent.
    bitmap(SKIN_BMP_TITLEBAR1, DrawTitleLeft());
    bitmap(SKIN_BMP_TITLEBAR2, DrawTitleMiddle());
    bitmap(SKIN_BMP_TITLEBAR3, DrawTitleRight());
    bitmap(SKIN_BMP_FORMLEFTBORDER, DrawLeftBorder());
    bitmap(SKIN_BMP_FORMRIGHTBORDER, DrawRightBorder());
    bitmap(SKIN_BMP_FORMBOTTOMBORDER1, DrawBottomLeft());
    bitmap(SKIN_BMP_FORMBOTTOMBORDER2, DrawBottomMiddle());
    bitmap(SKIN_BMP_FORMBOTTOMBORDER3, DrawBottomRight());
    bitmap(SKIN_BMP_MINIMIZEDTITLE, DrawMinimizedTitle());
    bitmap(SKIN_BMP_TITLEBUTTONS, DrawTitleButtons());
    bitmap(SKIN_BMP_CHECKEDMENUICON, DrawCheckedMenuIcon());
    bitmap(SKIN_BMP_MENUBAR, DrawMenuBar());
    bitmap(SKIN_BMP_TOOLBAR, DrawToolBar());
    bitmap(SKIN_BMP_BUTTON, DrawButton());
    bitmap(SKIN_BMP_CHECKBOX, DrawCheckBox());
    bitmap(SKIN_BMP_CHECKBOXLIST, DrawCheckBox());
    bitmap(SKIN_BMP_RADIOBUTTON, DrawRadioButton());
    for (int i = 1; i <= 4; ++i) bitmap(SKIN_BMP_PROGRESSBAR1 + i - 1, DrawProgressBar(i));
    bitmap(SKIN_BMP_TRACKBAR, DrawTrackBar());
    bitmap(SKIN_BMP_TRACKBARSLIDER, DrawTrackBarSlider());
    bitmap(SKIN_BMP_TRACKBARVSLIDER, DrawTrackBarVSlider());
    bitmap(SKIN_BMP_SCROLLBARUPBUTTON, DrawScrollBarUpButton());
    bitmap(SKIN_BMP_SCROLLBAR, DrawScrollBarTrack());
    bitmap(SKIN_BMP_SCROLLBARDOWNBUTTON, DrawScrollBarDownButton());
    bitmap(SKIN_BMP_TABCONTROL, DrawTabControl());
    bitmap(SKIN_BMP_TABCONTROLLINE, DrawTabControlLine());
    bitmap(SKIN_BMP_SIDECHANNELBAR, DrawSideChannelBar());
    bitmap(SKIN_BMP_SIDECHANNELTITLE, DrawSideChannelTitle());
    bitmap(SKIN_BMP_SCROLLBUTTON, DrawScrollThumb());

    const Rgb colors[skinnames::kColorCount] = {
        kTrans,        kTitleText,     kForm,  Hex(0xF8FAFC), Hex(0xEDF0F4),  // trans, title font, form, menu bar
        kHover,        kHoverBorder,   kText,  kText,                         // top menu selection, fonts
        Hex(0xEEF2F6), Hex(0xE4E9EF),                                         // menu left bar
        kControl,      kText,          kHover, kHoverBorder,  Hex(0x0F1720),  // menu items
        Hex(0xF8FAFC), Hex(0xEBEFF3),  kHover, kHoverBorder,  kDown,          // tool bar
        kControl,      kControlBorder, kText,  kText,         kScrollTrack,   // controls, buttons, scroll bars
        kControl,      kControlBorder, kText,  kMutedText,                    // tab control
        Hex(0xEEF2F6), kControlBorder,                                        // side channel
    };
    for (int i = 0; i < static_cast<int>(skinnames::kColorCount); ++i)
        skin.colors.emplace_back(skinnames::ColorName(i), Color(colors[i]));

    const auto title =
        TransparentRows(skin.Bitmap(BitmapName(SKIN_BMP_TITLEBAR1)), skin.Bitmap(BitmapName(SKIN_BMP_TITLEBAR3)));
    const auto bottom = TransparentRows(skin.Bitmap(BitmapName(SKIN_BMP_FORMBOTTOMBORDER1)),
                                        skin.Bitmap(BitmapName(SKIN_BMP_FORMBOTTOMBORDER3)));
    const std::int32_t ints[skinnames::kIntCount] = {
        kIconX,      kIconY,       kCaptionTop,  kTitleButtonX, kTitleButtonY,
        title.first, title.second, bottom.first, bottom.second,
    };
    for (int i = 0; i < static_cast<int>(skinnames::kIntCount); ++i)
        skin.ints.emplace_back(skinnames::IntName(i), ints[i]);
    // Carried like every skin of this format; nothing reads them.
    skin.ints.emplace_back("SKIN2_SYSTEMCOLOR1", Color(kAccent));
    skin.ints.emplace_back("SKIN2_SYSTEMCOLOR2", Color(kForm));

    const bool flags[skinnames::kBoolCount] = {
        false,  // five title sections
        true,   // three bottom border sections
        true,   // the title needs a region (rounded corners)
        true,   // the bottom border needs a region
        true,   // title buttons are drawn transparent over the title
        true,   // buttons: rounded corners show the parent
        true,   // check boxes
        true,   // radio buttons
        true,   // tab control
    };
    for (int i = 0; i < static_cast<int>(skinnames::kBoolCount); ++i)
        skin.flags.emplace_back(skinnames::BoolName(i), flags[i]);
    return skin;
}

std::vector<std::uint8_t> SkinResourceFile(const SkinContents& skin) {
    Sk2Writer writer;
    for (const auto& b : skin.bitmaps) writer.AddBitmap(b.first, b.second.ToBmp());
    for (const auto& c : skin.colors) writer.AddInt(c.first, c.second);
    for (const auto& i : skin.ints) writer.AddInt(i.first, i.second);
    for (const auto& f : skin.flags) writer.AddBool(f.first, f.second);
    return writer.Bytes();
}
