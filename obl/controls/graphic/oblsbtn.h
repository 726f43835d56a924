// Unit oblsbtn: a collection of embedded buttons. Each item creates and keeps one real
// speed button as a child of the collection's owner control and carries the button's
// settings, so that they are stored with the owner's form description; a click reaches the
// item's own event and then the owner.
#pragma once

#include "obl/controls/graphic/OBLSpeedButton.h"

#include <memory>
#include <set>

// Sender (the item), the item's index.
using TOBLOnCustomBtnClick = TEvent<TObject*, int>;

// A control that embeds a row of these buttons. It is told when the collection changes, so
// that it places the buttons again, and when a button was clicked (after the item's event).
// The single-line edit and the button panel implement it beside their own base class.
class TOBLSpecialButtonsHost {
public:
    virtual ~TOBLSpecialButtonsHost() = default;

    virtual void SpecialButtonsChanged() = 0;
    virtual void SpecialButtonClicked(TObject* Btn, int Index) {}
};

class TOBLSpecialButton : public TCollectionItem {
    VENDARO_CLASS(TOBLSpecialButton, TCollectionItem)
public:
    explicit TOBLSpecialButton(TCollection* Collection);
    ~TOBLSpecialButton() override;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& S) { SetString(0, S); }
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& S) { SetString(1, S); }
    // 0: the caption, 1: the hint; the button takes it too.
    void SetString(int Index, const AnsiString& S);
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* B);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    int GroupIndex() const { return groupIndex_; }
    void SetInteger(int Value);
    // Read back from the button, which loses it when its font is set.
    bool GetParentFont() const;
    void SetParentFont(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    TOBLOnCustomBtnClick OnClick() const { return onClick_; }
    void SetOnClick(TOBLOnCustomBtnClick Value) { onClick_ = Value; }
    TOBLButtonLayout* Layout() const { return layout_.get(); }
    void SetLayout(TOBLButtonLayout* Value) { layout_->Assign(Value); }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TOBLFxCaption* FontFX() const { return fontFX_.get(); }
    void SetFontFX(TOBLFxCaption* Value) { fontFX_->Assign(Value); }

    // The real button; nil once something else has freed it.
    TOBLSpeedButton* Btn() const { return btn_; }
    void SetBtn(TOBLSpeedButton* B);

    void Assign(TPersistent* Source) override;
    void DoClick() { DoOnClick(nullptr); }

    static void Publish(TClassBuilder<TOBLSpecialButton>& c);

private:
    friend class TOBLSpecialButtons;

    int GetIndexValue() const { return Index(); }
    void SetIndexValue(int Value) { SetIndex(Value); }
    bool IsFontStored() const { return !GetParentFont(); }
    AnsiString GetDisplayNameValue() const { return const_cast<TOBLSpecialButton*>(this)->DisplayName(); }
    // The settings objects changed: the button takes them.
    void GetChange(TObject* Sender);
    void DoOnClick(TObject* Sender);

    AnsiString hint_;
    AnsiString caption_;
    TOwned<TBitmap> glyph_;
    TCursor cursor_ = crArrow;
    TOBLSpeedButton* btn_ = nullptr;
    int groupIndex_ = 0;
    bool parentFont_ = true;
    bool enabled_ = true;
    TOBLOnCustomBtnClick onClick_;
    TOwned<TOBLButtonLayout> layout_;
    TOwned<TFont> font_;
    TOwned<TOBLFxCaption> fontFX_;
    // Learns when the button is freed by its owner control before the item goes.
    TOwned<TComponent> watch_;
};

class TOBLSpecialButtons : public TCollection {
    VENDARO_CLASS(TOBLSpecialButtons, TCollection)
public:
    TOBLSpecialButtons(TWinControl* Owner, bool NotifyOwner);
    ~TOBLSpecialButtons() override;

    TOBLSpecialButton* Add() { return static_cast<TOBLSpecialButton*>(TCollection::Add()); }
    TOBLSpecialButton* Insert(int Index) { return static_cast<TOBLSpecialButton*>(TCollection::Insert(Index)); }
    TOBLSpecialButton* GetItem(int Index) const { return static_cast<TOBLSpecialButton*>(Items(Index)); }
    void SetItem(int Index, TOBLSpecialButton* Value) { SetItems(Index, Value); }
    TWinControl* OwnerControl() const { return owner_; }

protected:
    TPersistent* GetOwner() override;
    void Update(TCollectionItem* Item) override;

private:
    friend class TOBLSpecialButton;

    // Each button's Tag is its item's index again: items move and go.
    void RenumberTags();
    // An item joins its collection before its own constructor has run: while it is made,
    // the collection's update waits. Making gives the collection back; Made tells whether
    // it is one of special buttons.
    static TCollection* Making(TCollection* Collection, const void* Item);
    static bool Made(TCollection* Collection, const void* Item);

    TWinControl* owner_;
    bool notifyOwner_;
    std::set<const void*> making_;
};
