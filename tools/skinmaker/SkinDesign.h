// The look of the program's skin: a restrained office palette (slate-blue frame,
// light neutral surfaces, one accent colour) and the frame metrics.
#pragma once

#include "Canvas.h"

namespace design {

// Pixels of this colour are not drawn; no painted colour comes near it.
constexpr Rgb kTrans = Hex(0xFF00FF);

// Frame.
constexpr Rgb kTitleTop = Hex(0x41709F);
constexpr Rgb kTitleBottom = Hex(0x345F8A);
constexpr Rgb kFrame = kTitleBottom;
constexpr Rgb kOutline = Hex(0x223F5E);
constexpr Rgb kTitleText = Hex(0xFFFFFF);
constexpr Rgb kCloseHot = Hex(0xD2463F);
constexpr Rgb kClosePressed = Hex(0xA8342E);

// Surfaces and text.
constexpr Rgb kForm = Hex(0xF3F5F8);
constexpr Rgb kControl = Hex(0xFFFFFF);
constexpr Rgb kControlBorder = Hex(0xA9B4C2);
constexpr Rgb kText = Hex(0x1F2933);
constexpr Rgb kMutedText = Hex(0x5F6B7A);
constexpr Rgb kAccent = Hex(0x3A6EA5);
constexpr Rgb kAccentDark = Hex(0x2D5A8A);
constexpr Rgb kHover = Hex(0xE3EDF9);
constexpr Rgb kHoverBorder = Hex(0x7FA3CF);
constexpr Rgb kDown = Hex(0xC9DBF0);
constexpr Rgb kScrollTrack = Hex(0xEDEFF2);
constexpr Rgb kDisabledFill = Hex(0xEEF0F3);
constexpr Rgb kDisabledBorder = Hex(0xC3CAD3);
constexpr Rgb kDisabledMark = Hex(0xAEB7C2);

// Frame metrics, in pixels.
constexpr int kTitleHeight = 30;
constexpr int kTitleRadius = 7;
constexpr int kTitleSideWidth = 12;  // left and right title pieces
constexpr int kTitleMiddleWidth = 16;
constexpr int kBorderWidth = 4;
constexpr int kBorderHeight = 32;
constexpr int kBottomHeight = 5;
constexpr int kBottomRadius = 4;
constexpr int kBottomSideWidth = 12;
constexpr int kBottomMiddleWidth = 16;
constexpr int kIconX = 8;
constexpr int kIconY = 7;
constexpr int kCaptionTop = 8;
constexpr int kTitleButtonWidth = 28;
constexpr int kTitleButtonHeight = 20;
constexpr int kTitleButtonX = 6;  // from the right edge to the close button's right edge
constexpr int kTitleButtonY = 5;

// The title's colour at a row, top to bottom.
Rgb TitleColorAt(int row);

}  // namespace design
