// The control skinners' decisions as plain functions: frames for states, where
// boxes, frames, ticks and focus rectangles go, the clicks of a push button,
// and the skinner that stands in for each kind the program does not contain.
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinControlRules.h"
#include "skin/controls/SkinStdCtrl.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

namespace {

std::vector<LONG> Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

TEST(SkinControlRules, FramesForEachState) {
    EXPECT_EQ(1, ButtonFrame(0, true));
    EXPECT_EQ(2, ButtonFrame(kSkinStateOver, true));
    EXPECT_EQ(3, ButtonFrame(kSkinStatePressed, true));
    EXPECT_EQ(3, ButtonFrame(kSkinStateOver | kSkinStatePressed, true));
    // A disabled button keeps frame 1 whatever its state bits say.
    EXPECT_EQ(1, ButtonFrame(kSkinStateOver | kSkinStatePressed, false));

    EXPECT_EQ(1, CheckBoxFrame(TCheckState::Checked, true));
    EXPECT_EQ(2, CheckBoxFrame(TCheckState::Grayed, true));
    EXPECT_EQ(3, CheckBoxFrame(TCheckState::Unchecked, true));
    EXPECT_EQ(4, CheckBoxFrame(TCheckState::Checked, false));
    EXPECT_EQ(5, CheckBoxFrame(TCheckState::Grayed, false));
    EXPECT_EQ(6, CheckBoxFrame(TCheckState::Unchecked, false));

    EXPECT_EQ(1, ScrollButtonFrame(false, false, false));
    EXPECT_EQ(2, ScrollButtonFrame(false, true, false));
    EXPECT_EQ(3, ScrollButtonFrame(true, true, false));
    EXPECT_EQ(4, ScrollButtonFrame(true, true, true));

    EXPECT_EQ(TToolFace::Bar, ToolButtonFace(false, false, false));
    EXPECT_EQ(TToolFace::Hot, ToolButtonFace(true, false, false));
    EXPECT_EQ(TToolFace::Down, ToolButtonFace(true, true, false));
    EXPECT_EQ(TToolFace::Hot, ToolButtonFace(false, true, false));
    EXPECT_EQ(TToolFace::Hot, ToolButtonFace(false, false, true));
}

TEST(SkinControlRules, PlacesOfBoxesFramesCaptionsAndFocus) {
    EXPECT_EQ(0, CheckBoxLeft(true, 97, 13));
    EXPECT_EQ(97 - 13 - 1, CheckBoxLeft(false, 97, 13));

    const RECT client{0, 0, 75, 25};
    EXPECT_EQ((std::vector<LONG>{5, 5, 70, 20}), Box(ButtonFocusRect(client, false)));
    EXPECT_EQ((std::vector<LONG>{6, 6, 71, 21}), Box(ButtonFocusRect(client, true)));
    EXPECT_EQ((std::vector<LONG>{0, 0, 75, 25}), Box(ButtonCaptionRect(client, false)));
    EXPECT_EQ((std::vector<LONG>{1, 1, 76, 26}), Box(ButtonCaptionRect(client, true)));

    EXPECT_EQ((std::vector<LONG>{0, 5, 328, 79}), Box(GroupBoxFrame(329, 80, 12)));
    EXPECT_EQ(8, GroupBoxCaptionX(329, 60, false));
    EXPECT_EQ(329 - 60 - 8, GroupBoxCaptionX(329, 60, true));

    EXPECT_EQ((std::vector<LONG>{6, 8, 104, 32}), Box(TrackFocusRect(RECT{10, 10, 100, 30}, false)));
    EXPECT_EQ((std::vector<LONG>{8, 6, 102, 34}), Box(TrackFocusRect(RECT{10, 10, 100, 30}, true)));

    EXPECT_EQ((std::vector<LONG>{5, 3}), (std::vector<LONG>{ToolImagePlace(RECT{0, 0, 37, 36}, 16, true, false).x,
                                                            ToolImagePlace(RECT{0, 0, 37, 36}, 16, true, false).y}));
    EXPECT_EQ(10, ToolImagePlace(RECT{0, 0, 37, 36}, 16, false, false).x);
    EXPECT_EQ(3, ToolImagePlace(RECT{0, 0, 37, 36}, 16, false, true).x);  // 14 kept for the arrow

    // The combo box's arrow: 5, 3 and 1 pixels wide, from 3 left of the centre.
    const std::vector<RECT> arrow = ComboArrow(RECT{100, 0, 116, 20});
    ASSERT_EQ(3u, arrow.size());
    EXPECT_EQ((std::vector<LONG>{105, 9, 110, 10}), Box(arrow[0]));
    EXPECT_EQ((std::vector<LONG>{106, 10, 109, 11}), Box(arrow[1]));
    EXPECT_EQ((std::vector<LONG>{107, 11, 108, 12}), Box(arrow[2]));

    // Frames stacked top to bottom, as a strip turned a quarter keeps them.
    EXPECT_EQ((std::vector<LONG>{0, 17, 17, 34}), Box(StackedFrame(17, 68, 4, 2)));
    EXPECT_EQ((std::vector<LONG>{0, 0, 0, 0}), Box(StackedFrame(17, 68, 4, 5)));
}

TEST(SkinControlRules, TrackBarSelectionTicksAndColour) {
    // No selection unless the start lies below the end.
    const TSpan none = SelectionSpan(5, 5, 10, 40, 40, 10, 110);
    EXPECT_GE(none.first, none.second);
    const TSpan middle = SelectionSpan(2, 6, 10, 30, 70, 10, 110);
    EXPECT_EQ(30, middle.first);
    EXPECT_EQ(70, middle.second);
    // From the very start or to the maximum, the line keeps 4 pixels inside the channel.
    const TSpan whole = SelectionSpan(0, 10, 10, 10, 110, 10, 110);
    EXPECT_EQ(14, whole.first);
    EXPECT_EQ(106, whole.second);

    EXPECT_EQ((std::vector<int>{18, 102}), TickPositions({}, 10, 110));
    EXPECT_EQ((std::vector<int>{18, 40, 60, 102}), TickPositions({40, 60}, 10, 110));

    EXPECT_EQ(RGB(60, 120, 150), SelectionColor(RGB(100, 200, 250)));
}

TEST(SkinControlRules, ScrollBarsOnlyWhereTheyBelong) {
    EXPECT_TRUE(SkinsScrollBars("TScrollBox", false, false, true));
    EXPECT_FALSE(SkinsScrollBars("TScrollBox", false, false, false)) << "DrawScrollBar off";
    EXPECT_FALSE(SkinsScrollBars("TEdit", true, false, true)) << "single-line edit";
    EXPECT_TRUE(SkinsScrollBars("TMemo", true, true, true));
    EXPECT_FALSE(SkinsScrollBars("TMaskEdit", true, true, true));
    EXPECT_FALSE(SkinsScrollBars("TSpinEdit", true, true, true));
}

TEST(SkinControlRules, PushButtonClicks) {
    TPushClicks clicks;
    // Press and release over the button: one click; released off it: none.
    clicks.MouseDown();
    EXPECT_TRUE(clicks.MouseUp(true));
    clicks.MouseDown();
    EXPECT_FALSE(clicks.MouseUp(false));
    // A release without a press on the button (pressed elsewhere, released over it): none.
    EXPECT_FALSE(clicks.MouseUp(true));
    // A press dragged off the button is dropped, even if released over it later.
    clicks.MouseDown();
    clicks.Forget();
    EXPECT_FALSE(clicks.MouseUp(true));
    // A double click: the first press and release click, the double click clicks at once,
    // and its release adds nothing.
    int count = 0;
    clicks.MouseDown();
    count += clicks.MouseUp(true);
    count += clicks.DoubleClick();
    count += clicks.MouseUp(true);
    EXPECT_EQ(2, count);

    // Space clicks on release, only when pressed on the focused, enabled button.
    EXPECT_FALSE(clicks.KeyUp(VK_SPACE, true, true));
    clicks.KeyDown(VK_SPACE);
    EXPECT_FALSE(clicks.KeyUp(VK_RETURN, true, true));
    EXPECT_TRUE(clicks.KeyUp(VK_SPACE, true, true));
    clicks.KeyDown(VK_SPACE);
    EXPECT_FALSE(clicks.KeyUp(VK_SPACE, false, true));
    clicks.KeyDown(VK_SPACE);
    EXPECT_FALSE(clicks.KeyUp(VK_SPACE, true, false));
    // The character of return, or 0, clicks; others do not.
    EXPECT_TRUE(clicks.Char(VK_RETURN));
    EXPECT_TRUE(clicks.Char(0));
    EXPECT_FALSE(clicks.Char(' '));
}

// Every kind is made by the skinner written beside it here, under its own name: kinds without drawing
// of their own get the general skinner whose handling they need (a combo box keeps its scroll bars).
TEST(SkinControlRules, EachKindGetsTheSkinnerOfItsRow) {
    TForm form(nullptr);
    TEdit edit(&form);
    const struct {
        TSkinnerKind kind;
        const char* name;
        std::type_index drawer;
        bool onParentColor;
    } expected[] = {
        {TSkinnerKind::ScrollWinControl, "TSkinScrollWinControl", typeid(TSkinScrollWinControl), false},
        {TSkinnerKind::BorderWinControl, "TSkinBorderWinControl", typeid(TSkinBorderWinControl), false},
        {TSkinnerKind::Panel, "TSkinPanel", typeid(TSkinPanel), true},
        {TSkinnerKind::Frame, "TSkinFrame", typeid(TSkinPanel), false},
        {TSkinnerKind::ToolBar, "TSkinToolBar", typeid(TSkinToolBar), false},
        {TSkinnerKind::StatusBar, "TSkinStatusBar", typeid(TSkinPanel), false},
        {TSkinnerKind::DateTimePicker, "TSkinDateTimePicker", typeid(TSkinScrollWinControl), false},
        {TSkinnerKind::UpDown, "TSkinUpDown", typeid(TSkinBorderWinControl), false},
        {TSkinnerKind::ProgressBar, "TSkinProgressBar", typeid(TSkinBorderWinControl), false},
        {TSkinnerKind::TrackBar, "TSkinTrackBar", typeid(TSkinTrackBar), false},
        {TSkinnerKind::TabControl, "TSkinTabControl", typeid(TSkinPanel), false},
        {TSkinnerKind::Grid, "TSkinGrid", typeid(TSkinScrollWinControl), false},
        {TSkinnerKind::SpeedButton, "TSkinSpeedButton", typeid(TSkinPanel), false},
        {TSkinnerKind::GroupBox, "TSkinGroupBox", typeid(TSkinGroupBox), true},
        {TSkinnerKind::ScrollBar, "TSkinScrollBar", typeid(TSkinBorderWinControl), false},
        {TSkinnerKind::ListView, "TSkinListView", typeid(TSkinScrollWinControl), false},
        {TSkinnerKind::RadioButton, "TSkinRadioButton", typeid(TSkinPanel), false},
        {TSkinnerKind::ComboBox, "TSkinComboBox", typeid(TSkinScrollWinControl), false},
        {TSkinnerKind::ComboBoxEx, "TSkinComboBoxEx", typeid(TSkinScrollWinControl), false},
        {TSkinnerKind::CheckBox, "TSkinCheckBox", typeid(TSkinCheckBox), false},
        {TSkinnerKind::Button, "TSkinButton", typeid(TSkinButton), false},
        {TSkinnerKind::Label, "TSkinLabel", typeid(TSkinLabel), true},
    };
    ASSERT_EQ(std::size(expected), static_cast<size_t>(TSkinnerKind::Count));
    for (const auto& row : expected) {
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(row.name, SkinnerName(row.kind));
        const auto skinner = MakeControlSkinner(nullptr, nullptr, &edit, row.kind);
        const TSkinControlVCL& made = *skinner;
        EXPECT_EQ(row.name, made.Kind());
        EXPECT_TRUE(std::type_index(typeid(made)) == row.drawer)
            << "drawn by " << typeid(made).name() << " instead of " << row.drawer.name();
        EXPECT_EQ(row.onParentColor, SkinnerWantsParentColor(row.kind));
    }
}
