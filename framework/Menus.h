// Popup menus whose items may draw themselves. An owner-drawn item's
// measuring and drawing requests (WM_MEASUREITEM, WM_DRAWITEM) reach the
// item through whichever window owns the open menu.
#pragma once

#include "framework/Classes.h"
#include "framework/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TMenuItem;

// How an owner-drawn item is measured and drawn.
using TMeasureItemEvent = std::function<void(TMenuItem* item, HDC dc, int& width, int& height)>;
using TDrawItemEvent = std::function<void(TMenuItem* item, HDC dc, const RECT& rect, UINT state)>;

class TMenuItem : public TComponent {
    KV90_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    // The command number the item has in an open menu.
    UINT Command() const { return command_; }
    virtual void Click();

    TNotifyEvent OnClick;
    TMeasureItemEvent OnMeasureItem;
    TDrawItemEvent OnDrawItem;

    // Answers WM_MEASUREITEM and WM_DRAWITEM for a menu item of this program; false
    // when the request is not one (a control's, or an item that has gone).
    static bool DispatchOwnerDraw(UINT msg, LPARAM lParam);

private:
    std::string caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool default_ = false;
    UINT command_;
};

// A menu shown at a point of the screen; its items are the menu items it owns.
class TPopupMenu : public TComponent {
    KV90_CLASS(TPopupMenu, TComponent)
public:
    explicit TPopupMenu(TComponent* owner);

    TMenuItem* Add(const std::string& caption);
    const std::vector<TMenuItem*>& Items() const { return items_; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value) { ownerDraw_ = value; }

    // Opens the menu with `owner` receiving its messages; returns once it has
    // closed, after the chosen item (if any) has been clicked.
    void Popup(int x, int y, HWND owner);
    // The item chosen in the last Popup, or null.
    TMenuItem* LastChosen() const { return lastChosen_; }

    TNotifyEvent OnPopup;

private:
    std::vector<TMenuItem*> items_;
    bool ownerDraw_ = false;
    TMenuItem* lastChosen_ = nullptr;
};
