// Which skinner a window gets by its class: the framework control classes of the program's forms,
// and the window classes of the child windows of dialog boxes the system makes. The engine and the
// tests walk these tables; nothing else lists their classes.
//
// Rows for classes this program's forms and dialogs never hold are kept: the engine is meant to
// skin any form or system dialog box of the process it runs in, as it does for other programs.
#pragma once

#include "skin/controls/SkinnerKinds.h"

#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

// Whether every row of a table indexed by an enum stands at its key's index.
template <class Row, size_t N, class Key>
constexpr bool RowsInKeyOrder(const Row (&rows)[N], Key Row::*key) {
    for (size_t i = 0; i < N; ++i)
        if (static_cast<size_t>(rows[i].*key) != i) return false;
    return true;
}

struct TControlClassRow {
    const char* className;
    TSkinnerKind skinner;
};

// Searched from the last row up: a control takes the row of the nearest class it is or derives from,
// so a derived class's row stands after its base's.
inline constexpr TControlClassRow kControlClasses[] = {
    {"TCustomControl", TSkinnerKind::ScrollWinControl},
    {"TCustomFrame", TSkinnerKind::Frame},
    {"TScrollBox", TSkinnerKind::ScrollWinControl},
    {"TCoolBar", TSkinnerKind::Panel},
    {"TToolBar", TSkinnerKind::ToolBar},
    {"TCustomStatusBar", TSkinnerKind::StatusBar},
    {"TDateTimePicker", TSkinnerKind::DateTimePicker},
    {"TCustomTreeView", TSkinnerKind::ScrollWinControl},
    {"TCustomUpDown", TSkinnerKind::UpDown},
    {"TCustomHotKey", TSkinnerKind::BorderWinControl},
    {"TProgressBar", TSkinnerKind::ProgressBar},
    {"TTrackBar", TSkinnerKind::TrackBar},
    {"TCustomTabControl", TSkinnerKind::TabControl},
    {"TCustomGrid", TSkinnerKind::Grid},
    {"TSpeedButton", TSkinnerKind::SpeedButton},
    {"TCustomPanel", TSkinnerKind::Panel},
    {"TCustomGroupBox", TSkinnerKind::GroupBox},
    {"TScrollBar", TSkinnerKind::ScrollBar},
    {"TCustomListControl", TSkinnerKind::ScrollWinControl},
    {"TCustomListView", TSkinnerKind::ListView},
    {"TRadioButton", TSkinnerKind::RadioButton},
    {"TCustomComboBox", TSkinnerKind::ComboBox},
    {"TCustomComboBoxEx", TSkinnerKind::ComboBoxEx},
    {"TCustomCheckBox", TSkinnerKind::CheckBox},
    {"TCustomEdit", TSkinnerKind::ScrollWinControl},
    {"TButton", TSkinnerKind::Button},
    {"TCustomLabel", TSkinnerKind::Label},
};

// The derivations between classes of the table that the search from the last row depends on, as the
// framework declares them (framework/ExtCtrls.h, framework/StdCtrls.h).
struct TClassDerivation {
    const char* derived;
    const char* base;
};
inline constexpr TClassDerivation kControlClassDerivations[] = {
    {"TCustomPanel", "TCustomControl"},
    {"TCustomGroupBox", "TCustomControl"},
};

// The row of a class name in the control class table, or -1.
constexpr int ControlClassIndex(std::string_view className) {
    for (size_t row = 0; row < std::size(kControlClasses); ++row)
        if (className == kControlClasses[row].className) return static_cast<int>(row);
    return -1;
}

constexpr bool DerivedRowsFollowTheirBases() {
    for (const TClassDerivation& d : kControlClassDerivations) {
        const int derived = ControlClassIndex(d.derived), base = ControlClassIndex(d.base);
        if (derived < 0 || base < 0 || derived <= base) return false;
    }
    return true;
}
static_assert(DerivedRowsFollowTheirBases(), "a derived class's row comes after its base's");

// The skinner keys of the child windows of dialog boxes. A button window's key depends on its style.
enum class TWindowKey { ComboBox, ComboBoxEx, Button, CheckBox, RadioButton, TabControl, ToolBar, Count };

struct TWindowClassRow {
    TWindowKey key;
    const char* name;  // the upper-cased class name, or for check and radio buttons the key's own name
};

inline constexpr TWindowClassRow kWindowClasses[] = {
    {TWindowKey::ComboBox, "COMBOBOX"},
    {TWindowKey::ComboBoxEx, "COMBOBOXEX32"},
    {TWindowKey::Button, "BUTTON"},
    {TWindowKey::CheckBox, "BUTTON_CHECKBOX"},
    {TWindowKey::RadioButton, "BUTTON_RADIOBUTTON"},
    {TWindowKey::TabControl, "SYSTABCONTROL32"},
    {TWindowKey::ToolBar, "TOOLBARWINDOW32"},
};
static_assert(std::size(kWindowClasses) == static_cast<size_t>(TWindowKey::Count), "one row per window key");

static_assert(RowsInKeyOrder(kWindowClasses, &TWindowClassRow::key), "the rows are indexed by key");

constexpr const char* WindowKeyName(TWindowKey key) { return kWindowClasses[static_cast<size_t>(key)].name; }

// The key whose row names the upper-cased class, if any.
constexpr std::optional<TWindowKey> WindowKeyOfName(std::string_view upperName) {
    for (const TWindowClassRow& row : kWindowClasses)
        if (upperName == row.name) return row.key;
    return std::nullopt;
}
