// The skinner table: one row per skinner kind, in the order of TSkinnerKind,
// as a button's paint function is picked by its style. Kinds that the
// program's windows do not contain keep their rows and are drawn by the
// general skinner nearest to them.
#include "skin/controls/SkinClassTables.h"
#include "skin/controls/SkinStdCtrl.h"
#include "skin/controls/SkinnerKinds.h"

#include <iterator>

namespace {

using TMakeSkinner = std::unique_ptr<TSkinControlVCL> (*)(const ISkinLook*, TSkinWindow*, TControl*, TSkinnerKind);

template <class Skinner>
std::unique_ptr<TSkinControlVCL> Make(const ISkinLook* look, TSkinWindow* owner, TControl* control, TSkinnerKind kind) {
    return std::make_unique<Skinner>(look, owner, control, kind);
}

struct TSkinnerRow {
    TSkinnerKind kind;
    const char* name;
    TMakeSkinner make;
    bool parentColor;
};

constexpr TSkinnerRow kSkinners[] = {
    {TSkinnerKind::ScrollWinControl, "TSkinScrollWinControl", Make<TSkinScrollWinControl>, false},
    {TSkinnerKind::BorderWinControl, "TSkinBorderWinControl", Make<TSkinBorderWinControl>, false},
    {TSkinnerKind::Panel, "TSkinPanel", Make<TSkinPanel>, true},
    // containers and bars that draw their own contents on the parent's colour
    {TSkinnerKind::Frame, "TSkinFrame", Make<TSkinPanel>, false},
    {TSkinnerKind::ToolBar, "TSkinToolBar", Make<TSkinToolBar>, false},
    {TSkinnerKind::StatusBar, "TSkinStatusBar", Make<TSkinPanel>, false},
    // framed controls with scroll bars of their own: the border and scroll handling
    {TSkinnerKind::DateTimePicker, "TSkinDateTimePicker", Make<TSkinScrollWinControl>, false},
    // framed controls without scroll bars
    {TSkinnerKind::UpDown, "TSkinUpDown", Make<TSkinBorderWinControl>, false},
    {TSkinnerKind::ProgressBar, "TSkinProgressBar", Make<TSkinBorderWinControl>, false},
    {TSkinnerKind::TrackBar, "TSkinTrackBar", Make<TSkinTrackBar>, false},
    {TSkinnerKind::TabControl, "TSkinTabControl", Make<TSkinPanel>, false},
    {TSkinnerKind::Grid, "TSkinGrid", Make<TSkinScrollWinControl>, false},
    {TSkinnerKind::SpeedButton, "TSkinSpeedButton", Make<TSkinPanel>, false},
    {TSkinnerKind::GroupBox, "TSkinGroupBox", Make<TSkinGroupBox>, true},
    {TSkinnerKind::ScrollBar, "TSkinScrollBar", Make<TSkinBorderWinControl>, false},
    {TSkinnerKind::ListView, "TSkinListView", Make<TSkinScrollWinControl>, false},
    {TSkinnerKind::RadioButton, "TSkinRadioButton", Make<TSkinPanel>, false},
    {TSkinnerKind::ComboBox, "TSkinComboBox", Make<TSkinScrollWinControl>, false},
    {TSkinnerKind::ComboBoxEx, "TSkinComboBoxEx", Make<TSkinScrollWinControl>, false},
    {TSkinnerKind::CheckBox, "TSkinCheckBox", Make<TSkinCheckBox>, false},
    {TSkinnerKind::Button, "TSkinButton", Make<TSkinButton>, false},
    {TSkinnerKind::Label, "TSkinLabel", Make<TSkinLabel>, true},
};
static_assert(std::size(kSkinners) == static_cast<size_t>(TSkinnerKind::Count), "one row per skinner kind");

static_assert(RowsInKeyOrder(kSkinners, &TSkinnerRow::kind), "the rows are indexed by kind");

const TSkinnerRow& Row(TSkinnerKind kind) { return kSkinners[static_cast<size_t>(kind)]; }

}  // namespace

const char* SkinnerName(TSkinnerKind kind) { return Row(kind).name; }

bool SkinnerWantsParentColor(TSkinnerKind kind) { return Row(kind).parentColor; }

std::unique_ptr<TSkinControlVCL> MakeControlSkinner(const ISkinLook* look, TSkinWindow* owner, TControl* control,
                                                    TSkinnerKind kind) {
    return Row(kind).make(look, owner, control, kind);
}

std::unique_ptr<TSkinControlWnd> MakeWindowSkinner(const ISkinLook* look, TSkinWindow* owner, HWND wnd,
                                                   TWindowKey key) {
    if (key == TWindowKey::Button) return std::make_unique<TSkinWndButton>(look, owner, wnd);
    // An extended combo box arrives as the combo box inside it.
    if (key == TWindowKey::ComboBox || key == TWindowKey::ComboBoxEx)
        return std::make_unique<TSkinWndComboBox>(look, owner, wnd, WindowKeyName(key));
    // Dialog check boxes, radio buttons, tab and tool bar controls keep
    // their own drawing under the base skinner's state keeping.
    return std::make_unique<TSkinControlWnd>(look, owner, wnd, WindowKeyName(key));
}
