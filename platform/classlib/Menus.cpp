// Menu items, menus and popup menus over the window system's menus.
#include "platform/classlib/Menus.h"

#include "platform/classlib/Forms.h"
#include "platform/win/user/Menus.h"

#include <algorithm>

namespace {

// Command ids of menu items: unique among live items.
UINT NextCommand()
{
    static UINT next = 0;
    next = next >= 0x7FFF ? 1 : next + 1;
    return next;
}

} // namespace

// ---------------------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {}

TMenuItem::~TMenuItem()
{
    Destroying();
    // The sub-items go with their item.
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        Remove(child);
        child->Free();
    }
    if (parent_)
        parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EMenuError("Menu index out of range");
    return items_[static_cast<std::size_t>(index)];
}

TMenu* TMenuItem::Menu() const
{
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return root->menu_;
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (item->parent_)
        throw EMenuError("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Delete(int index)
{
    TMenuItem* item = Items(index);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
}

void TMenuItem::Remove(TMenuItem* item)
{
    int index = IndexOf(item);
    if (index < 0)
        throw EMenuError("Sub-menu is not in menu");
    Delete(index);
}

void TMenuItem::Clear()
{
    while (!items_.empty())
        items_.back()->Free();
}

int TMenuItem::IndexOf(TMenuItem* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(UINT command)
{
    if (command_ == command)
        return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->Find(command))
            return found;
    return nullptr;
}

void TMenuItem::Click()
{
    if (enabled_)
        onClick_(this);
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (parent_ && parent_->menu_)
        return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent)
{
    if (parent_)
        parent_->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc proc, TComponent* root)
{
    for (TMenuItem* item : items_)
        proc(item);
}

void TMenuItem::ReadState(TReader* reader)
{
    if (reader->Parent() && !parent_)
        SetParentComponent(reader->Parent());
    inherited::ReadState(reader);
}

void TMenuItem::AppendTo(HMENU menu) const
{
    for (TMenuItem* item : items_) {
        if (!item->visible_)
            continue;
        if (item->IsLine()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->enabled_ ? MF_ENABLED : MF_GRAYED) | (item->checked_ ? MF_CHECKED : 0);
        if (item->items_.empty()) {
            AppendMenuA(menu, flags, item->command_, item->caption_.c_str());
        } else {
            HMENU sub = item->MakePopupHandle();
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item->caption_.c_str());
        }
    }
}

HMENU TMenuItem::MakePopupHandle() const
{
    HMENU menu = CreatePopupMenu();
    AppendTo(menu);
    return menu;
}

void TMenuItem::Publish(TClassBuilder<TMenuItem>& c)
{
    c.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    c.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    c.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    c.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    c.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
    c.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    c.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0);
    c.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    c.Property("OnClick", &TMenuItem::OnClick, &TMenuItem::SetOnClick);
}

// ---------------------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr))
{
    items_->menu_ = this;
}

TMenu::~TMenu() = default;

bool TMenu::DispatchCommand(UINT command)
{
    TMenuItem* item = FindItem(command);
    if (!item || item == items_.get())
        return false;
    item->Click();
    return true;
}

void TMenu::GetChildren(TGetChildProc proc, TComponent* root) { items_->GetChildren(proc, root); }

// ---------------------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu()
{
    if (window_)
        DeallocateHWnd(window_);
}

void TPopupMenu::WndProc(TMessage& message)
{
    message.Result = DefWindowProcA(window_, message.Msg, message.WParam, message.LParam);
}

void TPopupMenu::Popup(int x, int y)
{
    onPopup_(this);
    if (!window_)
        window_ = AllocateHWnd(TWndMethod(this, &TPopupMenu::WndProc));
    HMENU menu = Items()->MakePopupHandle();
    UINT align = alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    auto command = static_cast<UINT>(TrackPopupMenu(menu, align | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window_, nullptr));
    DestroyMenu(menu);
    if (command != 0)
        DispatchCommand(command);
}

void TPopupMenu::Publish(TClassBuilder<TPopupMenu>& c)
{
    c.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
    c.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    c.Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::SetOnPopup);
}

void RegisterMenuClasses()
{
    RegisterClasses({TMainMenu::StaticClass(), TPopupMenu::StaticClass(), TMenuItem::StaticClass()});
}
