#include "skin/draw/SkinMetrics.h"

#include "skin/draw/SkinEntries.h"
#include "skin/archive/SkinNames.h"
#include "skin/archive/SkinReader.h"

#include <algorithm>

int MinimumFrameWidth(bool fiveSections, int title1Width, int title3Width, int buttonStripWidth) {
    if (fiveSections) return title1Width + title3Width + buttonStripWidth / 6 + 35;
    return title1Width + std::max(title3Width, buttonStripWidth / 6) + 35;
}

void LoadSkinMetrics(const TSkinReader& reader, TSkinMetrics& m) {
    for (int i = 0; i < 5; ++i) m.title[i] = SkinImage(reader, SKIN_BMP_TITLEBAR1 + i);
    m.leftBorder = SkinImage(reader, SKIN_BMP_FORMLEFTBORDER);
    m.rightBorder = SkinImage(reader, SKIN_BMP_FORMRIGHTBORDER);
    for (int i = 0; i < 3; ++i) m.bottom[i] = SkinImage(reader, SKIN_BMP_FORMBOTTOMBORDER1 + i);
    m.minimizedTitle = SkinImage(reader, SKIN_BMP_MINIMIZEDTITLE);
    m.titleButtons = SkinImage(reader, SKIN_BMP_TITLEBUTTONS);
    m.menuBar = SkinImage(reader, SKIN_BMP_MENUBAR);

    m.titleHeight = m.title[0].Height();
    m.leftWidth = m.leftBorder.Width();
    m.rightWidth = m.rightBorder.Width();
    m.bottomHeight = m.bottom[0].Height();
    const auto metric = [&](int index) { return std::max(0, reader.GetSkinInt(index)); };
    m.iconX = metric(SKIN_INT_TITLEBARICONPOSX);
    m.iconY = metric(SKIN_INT_TITLEBARICONPOSY);
    m.captionTop = metric(SKIN_INT_TITLEBARCAPTIONTOP);
    m.buttonX = metric(SKIN_INT_TITLEBARBUTTONPOSX);
    m.buttonY = metric(SKIN_INT_TITLEBARBUTTONPOSY);
    m.titleBandMin = reader.GetSkinInt(SKIN_INT_TITLEBARREGIONMINY);
    m.titleBandMax = reader.GetSkinInt(SKIN_INT_TITLEBARREGIONMAXY);
    m.bottomBandMin = reader.GetSkinInt(SKIN_INT_BOTTOMREGIONMINY);
    m.bottomBandMax = reader.GetSkinInt(SKIN_INT_BOTTOMREGIONMAXY);

    m.transColor = SkinColorOr(reader, SKIN_COLOR_TRANSCOLOR, RGB(255, 0, 255));
    m.formColor = SkinColorOr(reader, SKIN_COLOR_FORMCOLOR, GetSysColor(COLOR_BTNFACE));
    m.titleTextColor = SkinColorOr(reader, SKIN_COLOR_TITLEFONTCOLOR, GetSysColor(COLOR_CAPTIONTEXT));
    m.inactiveTitleTextColor = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    m.menuBarStart = SkinColorOr(reader, SKIN_COLOR_MENUBARSTARTCOLOR, m.formColor);
    m.menuBarEnd = SkinColorOr(reader, SKIN_COLOR_MENUBARENDCOLOR, m.formColor);
    for (int i = 0; i < 13; ++i) m.menuColors[i] = SkinColorOr(reader, SKIN_COLOR_MENUBARSTARTCOLOR + i, m.formColor);

    m.fiveSections = reader.GetSkinBool(SKIN_BOOL_TITLEFIVESECT) != 0;
    m.bottomThreeSections = reader.GetSkinBool(SKIN_BOOL_BOTTOMBORDERTHREESECT) != 0;
    m.titleNeedsRegion = reader.GetSkinBool(SKIN_BOOL_TITLEBARNEEDREGION) != 0;
    m.bottomNeedsRegion = reader.GetSkinBool(SKIN_BOOL_BOTTOMBORDERNEEDREGION) != 0;
    m.titleButtonsMasked = reader.GetSkinBool(SKIN_BOOL_TITLEBTNTRANS) != 0;
    m.minFrameWidth = MinimumFrameWidth(m.fiveSections, m.title[0].Width(), m.title[2].Width(), m.titleButtons.Width());
}
