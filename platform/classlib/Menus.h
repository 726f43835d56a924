// Menus: items in a tree, the main menu of a form and popup menus shown at a point. A
// popup's window-system menu is built from the items each time it is shown; the command
// chosen runs the item's Click.
#pragma once

#include "platform/classlib/Controls.h"

#include <vector>

using TShortCut = WORD;

class TMenu;

class TMenuItem : public TComponent {
    VENDARO_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "-" makes the item a separator.
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    bool Checked() const { return checked_; }
    void SetChecked(bool v) { checked_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v) { default_ = v; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut v) { shortCut_ = v; }
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; }
    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent v) { onClick_ = v; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    TMenu* Menu() const;
    void Add(TMenuItem* item) { Insert(Count(), item); }
    // An item already in a menu raises EMenuError.
    void Insert(int index, TMenuItem* item);
    void Delete(int index);
    void Remove(TMenuItem* item);
    void Clear();
    int IndexOf(TMenuItem* item) const;
    int MenuIndex() const { return parent_ ? parent_->IndexOf(const_cast<TMenuItem*>(this)) : -1; }
    // The command id the item's window-system menu entry carries.
    UINT Command() const { return command_; }
    // The item with that command, searched in this item and below.
    TMenuItem* Find(UINT command);

    virtual void Click();

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(TGetChildProc proc, TComponent* root) override;
    void ReadState(TReader* reader) override;

    // A window-system popup menu with the visible items and their sub-items.
    HMENU MakePopupHandle() const;

    static void Publish(TClassBuilder<TMenuItem>& c);

private:
    friend class TMenu;
    void AppendTo(HMENU menu) const;

    AnsiString caption_, hint_;
    bool enabled_ = true, checked_ = false, visible_ = true, default_ = false;
    TShortCut shortCut_ = 0;
    int imageIndex_ = -1;
    UINT command_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;
    std::vector<TMenuItem*> items_;
    TNotifyEvent onClick_;
};

VENDARO_EXCEPTION(EMenuError, Exception);

class TMenu : public TComponent {
    VENDARO_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_.get(); }
    // Runs the Click of the item with the command; false when there is none.
    bool DispatchCommand(UINT command);
    TMenuItem* FindItem(UINT command) { return items_->Find(command); }
    void GetChildren(TGetChildProc proc, TComponent* root) override;
    TComponent* GetChildParent() override { return this; }

private:
    TOwned<TMenuItem> items_;
};

class TMainMenu : public TMenu {
    VENDARO_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

VENDARO_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

class TPopupMenu : public TMenu {
    VENDARO_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Modal: shows the menu at the screen point and runs the chosen item's Click.
    virtual void Popup(int x, int y);
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment v) { alignment_ = v; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* v) { popupComponent_ = v; }
    TNotifyEvent OnPopup() const { return onPopup_; }
    void SetOnPopup(TNotifyEvent v) { onPopup_ = v; }

    static void Publish(TClassBuilder<TPopupMenu>& c);

private:
    void WndProc(TMessage& message);

    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
    HWND window_ = nullptr;
    TNotifyEvent onPopup_;
};

// Registers the menu classes with the class registry.
void RegisterMenuClasses();
