#include "obl/controls/graphic/oblsbtn.h"

#include <functional>

namespace {

// Tells its item when the button goes first: the owner control frees the components it
// owns, and the item must not free the button a second time.
class TOBLSpecialButtonWatch : public TComponent {
    VENDARO_CLASS(TOBLSpecialButtonWatch, TComponent)
public:
    TOBLSpecialButtonWatch(TComponent* Btn, std::function<void()> Freed)
        : TComponent(nullptr), btn_(Btn), freed_(std::move(Freed))
    {
        Btn->FreeNotification(this);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == btn_) {
            btn_ = nullptr;
            freed_();
        }
    }

private:
    TComponent* btn_;
    std::function<void()> freed_;
};

TWinControl* OwnerOf(TCollection* Collection)
{
    auto* buttons = dynamic_cast<TOBLSpecialButtons*>(Collection);
    return buttons ? buttons->OwnerControl() : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------
// TOBLSpecialButton

TOBLSpecialButton::TOBLSpecialButton(TCollection* Collection)
try : TCollectionItem(TOBLSpecialButtons::Making(Collection, this)), glyph_(new TBitmap),
      layout_(new TOBLButtonLayout), font_(new TFont), fontFX_(new TOBLFxCaption)
{
    const TNotifyEvent change(this, &TOBLSpecialButton::GetChange);
    glyph_->SetOnChange(change);
    layout_->SetOnChange(change);
    font_->SetOnChange(change);
    fontFX_->SetOnChange(change);

    TWinControl* owner = OwnerOf(Collection);
    btn_ = new TOBLSpeedButton(owner);
    watch_.reset(new TOBLSpecialButtonWatch(btn_, [this] { btn_ = nullptr; }));
    btn_->SetParent(owner);
    btn_->SetOnClick(TNotifyEvent(this, &TOBLSpecialButton::DoOnClick));
    btn_->SetEnabled(true);
    btn_->SetColor(clBtnFace);
    btn_->SetCursor(crArrow);
    btn_->SetTag(Index());
    // However the item is made, its collection hears of it once it is whole.
    if (TOBLSpecialButtons::Made(Collection, this))
        Changed(true);
} catch (...) {
    TOBLSpecialButtons::Made(Collection, this);
}

TOBLSpecialButton::~TOBLSpecialButton()
{
    glyph_->SetOnChange(TNotifyEvent());
    layout_->SetOnChange(TNotifyEvent());
    font_->SetOnChange(TNotifyEvent());
    fontFX_->SetOnChange(TNotifyEvent());
    fontFX_.reset();
    font_.reset();
    layout_.reset();
    if (btn_) {
        btn_->SetOnClick(TNotifyEvent());
        FreeObject(btn_);
    }
    watch_.reset();
    glyph_.reset();
}

void TOBLSpecialButton::SetString(int Index, const AnsiString& S)
{
    if (Index == 0) {
        caption_ = S;
        if (btn_)
            btn_->SetCaption(S);
    } else {
        hint_ = S;
        if (btn_)
            btn_->SetHint(S);
    }
}

void TOBLSpecialButton::SetGlyph(TBitmap* B)
{
    glyph_->Assign(B);
    if (btn_)
        btn_->SetGlyph(glyph_.get());
}

void TOBLSpecialButton::SetBtn(TOBLSpeedButton* B)
{
    if (btn_)
        btn_->Assign(B);
}

void TOBLSpecialButton::SetEnabled(bool Value)
{
    enabled_ = Value;
    if (btn_)
        btn_->SetEnabled(Value);
}

void TOBLSpecialButton::SetCursor(TCursor Value)
{
    cursor_ = Value;
    if (btn_)
        btn_->SetCursor(Value);
}

void TOBLSpecialButton::SetInteger(int Value)
{
    groupIndex_ = Value;
    if (btn_)
        btn_->SetGroupIndex(Value);
}

bool TOBLSpecialButton::GetParentFont() const { return btn_ ? btn_->ParentFont() : parentFont_; }

void TOBLSpecialButton::SetParentFont(bool Value)
{
    parentFont_ = Value;
    if (btn_)
        btn_->SetParentFont(Value);
}

void TOBLSpecialButton::GetChange(TObject* Sender)
{
    if (btn_) {
        btn_->SetGlyph(glyph_.get());
        btn_->SetButtonLayout(layout_.get());
        btn_->SetFontFX(fontFX_.get());
        // Setting the button's font clears its ParentFont: only a change of the font
        // itself may do that, not one of the glyph, layout or caption effect.
        if (Sender == font_.get())
            btn_->Font()->Assign(font_.get());
    }
    Changed(false);
}

void TOBLSpecialButton::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLSpecialButton*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    SetCaption(source->Caption());
    SetHint(source->Hint());
    SetGlyph(source->Glyph());
    SetEnabled(source->Enabled());
    SetCursor(source->Cursor());
    SetInteger(source->GroupIndex());
    SetLayout(source->Layout());
    SetFont(source->Font());
    SetFontFX(source->FontFX());
    SetParentFont(source->GetParentFont());
    SetOnClick(source->OnClick());
}

void TOBLSpecialButton::DoOnClick(TObject* Sender)
{
    const int index = Index();
    if (Assigned(onClick_))
        onClick_(this, index);
    if (auto* host = dynamic_cast<TOBLSpecialButtonsHost*>(OwnerOf(Collection())))
        host->SpecialButtonClicked(btn_, index);
}

void TOBLSpecialButton::Publish(TClassBuilder<TOBLSpecialButton>& c)
{
    using C = TOBLSpecialButton;
    c.Property("Caption", &C::Caption, &C::SetCaption);
    c.Property("Cursor", &C::Cursor, &C::SetCursor).Default(crArrow);
    c.Property("Hint", &C::Hint, &C::SetHint);
    c.Property("Glyph", &C::Glyph, &C::SetGlyph);
    c.Property("Enabled", &C::Enabled, &C::SetEnabled).Default(true);
    c.Property("Layout", &C::Layout, &C::SetLayout);
    c.Property("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);
    // A button that takes its owner's font stores none: read back, the font would end it.
    c.Property("Font", &C::Font, &C::SetFont).Stored(&C::IsFontStored);
    c.Property("FontFX", &C::FontFX, &C::SetFontFX);
    c.Property("GroupIndex", &C::GroupIndex, &C::SetInteger).Default(0);
    c.Property("Index", &C::GetIndexValue, &C::SetIndexValue).Stored(false);
    c.Property("DisplayName", &C::GetDisplayNameValue, &C::SetDisplayName).Stored(false);
    c.Property("OnClick", &C::OnClick, &C::SetOnClick);
}

// ---------------------------------------------------------------------------------------
// TOBLSpecialButtons

TOBLSpecialButtons::TOBLSpecialButtons(TWinControl* Owner, bool NotifyOwner)
    : TCollection(TOBLSpecialButton::StaticClass()), owner_(Owner), notifyOwner_(NotifyOwner)
{
}

TOBLSpecialButtons::~TOBLSpecialButtons()
{
    owner_ = nullptr;
}

TPersistent* TOBLSpecialButtons::GetOwner() { return owner_; }

TCollection* TOBLSpecialButtons::Making(TCollection* Collection, const void* Item)
{
    if (auto* buttons = dynamic_cast<TOBLSpecialButtons*>(Collection))
        buttons->making_.insert(Item);
    return Collection;
}

bool TOBLSpecialButtons::Made(TCollection* Collection, const void* Item)
{
    auto* buttons = dynamic_cast<TOBLSpecialButtons*>(Collection);
    if (buttons)
        buttons->making_.erase(Item);
    return buttons != nullptr;
}

void TOBLSpecialButtons::Update(TCollectionItem* Item)
{
    // An item still being made has no button yet (items are known by their address).
    for (int i = 0; i < Count(); ++i)
        if (making_.contains(static_cast<const void*>(Items(i))))
            return;
    RenumberTags();
    if (!notifyOwner_)
        return;
    if (auto* host = dynamic_cast<TOBLSpecialButtonsHost*>(owner_))
        host->SpecialButtonsChanged();
}

void TOBLSpecialButtons::RenumberTags()
{
    for (int i = 0; i < Count(); ++i)
        if (TOBLSpeedButton* btn = GetItem(i)->Btn())
            btn->SetTag(i);
}
