// What a skinned window or control reads of the running skin. The skin engine
// answers; the frame, the control skinners and the menu drawing see nothing
// else of it, so they sit below it and never include it.
#pragma once

#include "skin/draw/SkinControlLook.h"
#include "skin/draw/SkinDraw.h"
#include "skin/draw/SkinMetrics.h"

#include <windows.h>

class ISkinLook {
public:
    // The skin is drawn: the engine is active and holds a skin.
    virtual bool IsSkinning() const = 0;
    // The engine is being destroyed: skinned windows let go without restyling.
    virtual bool Destroying() const = 0;
    // Windows and controls with this tag keep their own drawing (0: none opt out).
    virtual int OptOutTag() const = 0;
    // Buttons keep the font colour the program gave them.
    virtual bool KeepsButtonFontColor() const = 0;
    // Framed controls get the skin's scroll bars.
    virtual bool SkinsScrollBars() const = 0;

    virtual const TSkinMetrics& Metrics() const = 0;
    virtual const TSkinControlLook& ControlLook() const = 0;
    virtual HBRUSH FormBrush() const = 0;
    virtual HFONT CaptionFont() const = 0;
    // Where captions start in the title; negative: where the skin puts them.
    virtual int CaptionXOverride() const = 0;
    virtual HICON ApplicationIcon() const = 0;
    // The mark of checked menu items: the skin's own, else the program's.
    virtual const TSkinImage& CheckedMark() const = 0;

protected:
    ~ISkinLook() = default;
};
