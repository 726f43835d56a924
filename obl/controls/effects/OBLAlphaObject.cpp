#include "obl/controls/effects/OBLAlphaObject.h"

#include "obl/controls/effects/OBLBitmapPiece.h"
#include "obl/controls/effects/Oblbmp.h"
#include "platform/rtl/FloatConv.h"

#include <algorithm>
#include <memory>

// Hears that the followed image list is freed, which the alpha object, being no
// component, cannot ask for itself; it has no owner, so nothing else frees it.
class TOBLAlphaListWatcher : public TComponent {
    VENDARO_CLASS(TOBLAlphaListWatcher, TComponent)
public:
    explicit TOBLAlphaListWatcher(TOBLAlphaObject& alpha) : TComponent(nullptr), alpha_(alpha) {}

    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent != nullptr && AComponent == alpha_.ImageList())
            alpha_.SetImageList(nullptr);
    }

private:
    TOBLAlphaObject& alpha_;
};

TOBLAlphaObject::TOBLAlphaObject()
    : fillObject_(new TOBLFillObject), link_(new TOBLChangeLink), watcher_(new TOBLAlphaListWatcher(*this))
{
    fillObject_->SetOnChange(TNotifyEvent(static_cast<TOBLObject*>(this), &TOBLObject::GetChange));
    link_->SetOnChange(TNotifyEvent(this, &TOBLAlphaObject::GetIMLChange));
}

TOBLAlphaObject::~TOBLAlphaObject()
{
    link_->SetOnChange(TNotifyEvent());
    Follow(nullptr);
    fillObject_->SetOnChange(TNotifyEvent());
}

void TOBLAlphaObject::SetImageList(TOBLCustomImageList* Value)
{
    Follow(Value);
    GetIMLChange(this);
}

void TOBLAlphaObject::Follow(TOBLCustomImageList* Value)
{
    if (imageList_) {
        imageList_->UnRegisterChanges(link_.get());
        imageList_->RemoveFreeNotification(watcher_.get());
    }
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(link_.get());
        imageList_->FreeNotification(watcher_.get());
    }
}

bool TOBLAlphaObject::HasControl() const
{
    return imageList_ && (!OBLContainer || imageList_->Owner() != OBLContainer);
}

void TOBLAlphaObject::SetStrength(float Value)
{
    // Not-a-number counts as 0.
    float held = Value >= 0.0f ? std::min(Value, 1.0f) : 0.0f;
    if (strength_ == held)
        return;
    strength_ = held;
    Change();
}

void TOBLAlphaObject::SetIndex(int Index, int Value)
{
    (Index == 0 ? imageIndex_ : listIndex_) = Value;
    GetIMLChange(this);
}

void TOBLAlphaObject::SetTransparent(bool Value)
{
    if (transparent_ == Value)
        return;
    transparent_ = Value;
    Change();
}

void TOBLAlphaObject::SetFillObject(TOBLFillObject* Value)
{
    if (Value)
        fillObject_->Assign(Value);
}

// A list index the list has no entry for (a negative one too) names no picture: the list is
// not asked, as a bitmap list raises for it.
bool TOBLAlphaObject::IMLEmpty() const
{
    return !imageList_ || !imageList_->HasEntry(listIndex_) || !imageList_->IsValidItem(listIndex_, imageIndex_);
}

void TOBLAlphaObject::GetIMLChange(TObject*)
{
    if (IMLEmpty())
        fillObject_->SetListBitmap(nullptr);
    else
        imageList_->GetBitmapItem(listIndex_, imageIndex_, fillObject_->ListBitmap());
    GetChange(fillObject_.get());
}

bool TOBLAlphaObject::Enabled() const { return fillObject_->Style() != sfNone && strength_ != 1.0f; }

HPALETTE TOBLAlphaObject::GetPalette() const
{
    return fillObject_->Style() != sfNone ? fillObject_->GetPalette() : nullptr;
}

void TOBLAlphaObject::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* other = dynamic_cast<TOBLAlphaObject*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    BeginUpdate();
    fillObject_->Assign(other->fillObject_.get());
    transparent_ = other->transparent_;
    strength_ = other->strength_;
    imageIndex_ = other->imageIndex_;
    listIndex_ = other->listIndex_;
    // The fill's list bitmap came with the fill; the link follows the source's list.
    Follow(other->imageList_);
    EndUpdate(true);
}

AnsiString TOBLAlphaObject::GetSetStr()
{
    TOBLFillStyle style = fillObject_->Style();
    if (style == sfNone)
        return "{Disabled}";
    const char* kind = "";
    switch (style) {
    case sfBrush: kind = "brush"; break;
    case sfBitmap:
    case sfBitmapList: kind = "bmp"; break;
    case sfGradient: kind = "grad"; break;
    default: break;
    }
    // Fixed settings: the summary reads the same on every machine.
    return AnsiString("{Enabled (") + kind + "), strength: " +
           FloatToStrF(strength_, ffFixed, 5, 3, TFormatSettings{}) + "}";
}

void TOBLAlphaObject::AlphaBlend(TBitmap* Bitmap)
{
    if (!Bitmap || fillObject_->Style() == sfNone || Bitmap->Empty())
        return;
    int w = Bitmap->Width(), h = Bitmap->Height();
    auto fill = std::make_unique<TBitmap>();
    fill->SetPixelFormat(pf24bit);
    fill->SetSize(w, h);
    fillObject_->FillCanvas(fill->Canvas(), fill->Canvas()->ClipRect(), clWhite);
    if (TBitmap* picture = fillObject_->GetBitmap(); picture && !picture->Empty())
        fill->SetTransparentColor(picture->TransparentColor());
    Bitmap->SetPixelFormat(pf24bit);
    OBLBMPAlphaBlend(Bitmap, fill.get(), Rect(0, 0, w, h), TPoint{0, 0}, Bitmap, strength_, TPoint{0, 0});
}

void TOBLAlphaObject::ControlBlend(TBitmap* Source, const TRect& SourceRect, const TRect& AreaRect, TCanvas* Target,
                                   const TRect& TargetRect)
{
    if (!Source || !Target)
        return;
    std::unique_ptr<TBitmap> piece = OBLCopyPiece(Source, SourceRect);
    if (!piece)
        return;
    AlphaBlend(piece.get());
    Target->CopyRect(TargetRect, piece->Canvas(), AreaRect);
}

void TOBLAlphaObject::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, OBLIsGlobalIdent(imageList_));
}

void TOBLAlphaObject::Publish(TClassBuilder<TOBLAlphaObject>& c)
{
    using C = TOBLAlphaObject;
    c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::HasControl);
    c.Property("ImageIndex", &C::ImageIndex, [](C& o, int v) { o.SetIndex(0, v); }).Default(0);
    c.Property("ListIndex", &C::ListIndex, [](C& o, int v) { o.SetIndex(1, v); }).Default(0);
    c.Property("Strength", &C::Strength, &C::SetStrength).Default(0.6);
    c.Property("FillObject", &C::FillObject, &C::SetFillObject);
}
