// The skinner kinds the control walk chooses from. Each kind is one row of the
// skinner table (SkinControlFactory.cpp): its name, the class that draws it
// and whether it takes its parent's colour. Kinds without drawing of their own
// are drawn by the general skinner nearest to them.
#pragma once

#include <memory>

class ISkinLook;
class TControl;
class TSkinControlVCL;
class TSkinWindow;

enum class TSkinnerKind {
    ScrollWinControl,
    BorderWinControl,
    Panel,
    Frame,
    ToolBar,
    StatusBar,
    DateTimePicker,
    UpDown,
    ProgressBar,
    TrackBar,
    TabControl,
    Grid,
    SpeedButton,
    GroupBox,
    ScrollBar,
    ListView,
    RadioButton,
    ComboBox,
    ComboBoxEx,
    CheckBox,
    Button,
    Label,
    Count
};

// The kind's skinner class name ("TSkinButton").
const char* SkinnerName(TSkinnerKind kind);
// Labels, panels and group boxes are drawn on their parent's colour.
bool SkinnerWantsParentColor(TSkinnerKind kind);
// The skinner of a kind for a framework control, ready for Init.
std::unique_ptr<TSkinControlVCL> MakeControlSkinner(const ISkinLook* look, TSkinWindow* owner, TControl* control,
                                                    TSkinnerKind kind);
