#include "framework/Menus.h"

#include <algorithm>
#include <set>

namespace {

// The items alive now: a drawing request is only trusted when its item is one.
std::set<TMenuItem*>& LiveItems() {
    static std::set<TMenuItem*> items;
    return items;
}

UINT NextCommand() {
    // Away from the system commands and from the dialog box identifiers.
    static UINT next = 0x7000;
    return next++;
}

// A menu handle destroyed with DestroyMenu.
class MenuHandle {
public:
    MenuHandle() : menu_(CreatePopupMenu()) {}
    ~MenuHandle() {
        if (menu_) DestroyMenu(menu_);
    }
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;
    HMENU Get() const { return menu_; }

private:
    HMENU menu_;
};

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) { LiveItems().insert(this); }

TMenuItem::~TMenuItem() { LiveItems().erase(this); }

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

bool TMenuItem::DispatchOwnerDraw(UINT msg, LPARAM lParam) {
    if (msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!mis || mis->CtlType != ODT_MENU) return false;
        auto* item = reinterpret_cast<TMenuItem*>(mis->itemData);
        if (!LiveItems().count(item) || !item->OnMeasureItem) return false;
        int width = 0, height = 0;
        {
            TWindowDC screen(nullptr);
            item->OnMeasureItem(item, screen.Get(), width, height);
        }
        mis->itemWidth = static_cast<UINT>(std::max(0, width));
        mis->itemHeight = static_cast<UINT>(std::max(0, height));
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!dis || dis->CtlType != ODT_MENU) return false;
        auto* item = reinterpret_cast<TMenuItem*>(dis->itemData);
        if (!LiveItems().count(item) || !item->OnDrawItem) return false;
        item->OnDrawItem(item, dis->hDC, dis->rcItem, dis->itemState);
        return true;
    }
    return false;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TMenuItem* TPopupMenu::Add(const std::string& caption) {
    auto item = new TMenuItem(this);
    item->SetCaption(caption);
    items_.push_back(item);
    return item;
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
    if (OnPopup) OnPopup(this);
    lastChosen_ = nullptr;
    MenuHandle menu;
    for (TMenuItem* item : items_) {
        const bool drawn = ownerDraw_ && item->OnDrawItem;
        UINT flags = item->IsLine() ? MF_SEPARATOR : MF_STRING;
        if (drawn) flags = (flags & ~MF_STRING) | MF_OWNERDRAW;
        if (!item->Enabled()) flags |= MF_GRAYED;
        if (item->Checked()) flags |= MF_CHECKED;
        if (drawn)
            AppendMenuA(menu.Get(), flags, item->Command(), reinterpret_cast<LPCSTR>(item));
        else
            AppendMenuA(menu.Get(), flags, item->Command(), item->Caption().c_str());
        if (item->Default()) SetMenuDefaultItem(menu.Get(), item->Command(), FALSE);
    }
    // The owner must be the foreground window, or the menu would not close when clicked beside.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    for (TMenuItem* item : items_) {
        if (chosen != 0 && item->Command() == chosen) {
            lastChosen_ = item;
            item->Click();
            break;
        }
    }
}
