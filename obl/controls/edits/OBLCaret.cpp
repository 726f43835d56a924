#include "obl/controls/edits/OBLCaret.h"

#include "obl/core/draw/Oblutils.h"

// Hears that the followed image list is freed, which the caret, being no component,
// cannot ask for itself; it has no owner, so nothing else frees it.
class TOBLCaretListWatcher : public TComponent {
    VENDARO_CLASS(TOBLCaretListWatcher, TComponent)
public:
    explicit TOBLCaretListWatcher(TOBLCaret& caret) : TComponent(nullptr), caret_(caret) {}

    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent != nullptr && AComponent == caret_.ImageList())
            caret_.SetImageList(nullptr);
    }

private:
    TOBLCaret& caret_;
};

namespace {

// The blink time is one setting for every program: the first caret that changes it keeps
// what it found, and whichever caret shows last puts that back.
struct BlinkChange {
    const TOBLCaret* by = nullptr;
    UINT saved = 0;
};

BlinkChange& Blink()
{
    static BlinkChange change;
    return change;
}

}  // namespace

TOBLCaret::TOBLCaret(TWinControl* Owner)
    : bitmap_(new TBitmap), blinkRate_(static_cast<WORD>(GetCaretBlinkTime())), owner_(Owner),
      watcher_(new TOBLCaretListWatcher(*this))
{
}

TOBLCaret::~TOBLCaret()
{
    DestroyCaret();
    RestoreBlinkTime();
    if (imageList_)
        imageList_->RemoveFreeNotification(watcher_.get());
}

void TOBLCaret::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TOBLCaret*>(Source);
    if (!other)
        return;
    blinkRate_ = other->blinkRate_;
    width_ = other->width_;
    height_ = other->height_;
    style_ = other->style_;
    Change();
}

int TOBLCaret::GetPos(int Index) const { return Index == 0 || Index == 1 ? pos_[Index] : 0; }

void TOBLCaret::SetPos(int Index, int Value)
{
    if (Index == 0 || Index == 1)
        pos_[Index] = Value;
}

void TOBLCaret::SetWord(int Index, int Value)
{
    WORD* fields[] = {&width_, &height_, &imageIndex_, &listIndex_, &textHeight_};
    if (Index < 0 || Index > 4 || Value < 0 || *fields[Index] == Value)
        return;
    *fields[Index] = static_cast<WORD>(Value);
    Change();
}

void TOBLCaret::SetBlinkRate(int Value)
{
    if (Value < 0 || Value == blinkRate_)
        return;
    blinkRate_ = static_cast<WORD>(Value);
    Change();
}

void TOBLCaret::SetStyle(TOBLCaretStyles Value)
{
    if (Value == style_)
        return;
    style_ = Value;
    Change();
}

void TOBLCaret::SetCaretBmpMode(TOBLCaretBitmap Value)
{
    if (Value == bmpMode_)
        return;
    bmpMode_ = Value;
    Change();
}

void TOBLCaret::SetBitmap(TBitmap* B)
{
    if (!bitmap_)
        bitmap_.reset(new TBitmap);
    bitmap_->Assign(B);
    Change();
}

void TOBLCaret::SetImageList(TOBLCustomImageList* Value)
{
    if (Value == imageList_)
        return;
    if (imageList_)
        imageList_->RemoveFreeNotification(watcher_.get());
    imageList_ = Value;
    if (imageList_)
        imageList_->FreeNotification(watcher_.get());
    Change();
}

bool TOBLCaret::HasControl() const { return imageList_ && !OBLIsGlobalIdent(imageList_); }

void TOBLCaret::GetIMLChange(TObject*)
{
    if (!imageList_)
        return;
    if (!bitmap_)
        bitmap_.reset(new TBitmap);
    imageList_->GetBitmapItem(listIndex_, imageIndex_, bitmap_.get());
}

bool TOBLCaret::OwnsCaret() const
{
    if (!owner_ || !owner_->HandleAllocated())
        return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(0, &info) && info.hwndCaret == owner_->Handle();
}

void TOBLCaret::BuildCaret()
{
    if (!owner_)
        return;
    HWND window = owner_->Handle();
    switch (style_) {
    case csDefault: CreateCaret(window, nullptr, 1, textHeight_); break;
    case csBlock:
    case csUnderBlock: CreateCaret(window, nullptr, width_, height_); break;
    case csUnder:
    case csOver: CreateCaret(window, nullptr, width_, 1); break;
    case csBitmap: CreateBitmapCaret(window); break;
    }
    // A new caret starts hidden: no show of the old one is left to pair.
    shown_ = false;
    ApplyBlinkRate();
}

void TOBLCaret::CreateBitmapCaret(HWND Window)
{
    if (bmpMode_ == cbBmpSize) {
        CreateCaret(Window, bitmap_->Handle(), bitmap_->Width(), bitmap_->Height());
        return;
    }
    if (OwnsCaret())
        ::DestroyCaret();
    workBitmap_.reset(new TBitmap);
    workBitmap_->SetWidth(width_);
    workBitmap_->SetHeight(height_);
    const WORD flags = bmpMode_ == cbTile ? OBLBmpTile : OBLBmpStretch;
    OBLBmpDraw(workBitmap_->Canvas(), Rect(0, 0, width_, height_), bitmap_.get(), flags, clNone);
    CreateCaret(Window, workBitmap_->Handle(), width_, height_);
}

void TOBLCaret::Enable()
{
    if (!owner_ || owner_->ComponentState().Contains(csDesigning) || !allowed_)
        return;
    if (!built_) {
        built_ = true;
        BuildCaret();
    }
    if (shown_ || !OwnsCaret())
        return;
    ApplyBlinkRate();
    shown_ = ShowCaret(owner_->Handle()) != FALSE;
}

void TOBLCaret::Disable()
{
    if (shown_ && OwnsCaret())
        HideCaret(owner_->Handle());
    shown_ = false;
    RestoreBlinkTime();
}

void TOBLCaret::DestroyCaret()
{
    RestoreBlinkTime();
    shown_ = false;
    if (OwnsCaret())
        ::DestroyCaret();
}

void TOBLCaret::ApplyBlinkRate()
{
    if (!OwnsCaret())
        return;
    BlinkChange& change = Blink();
    const UINT current = GetCaretBlinkTime();
    if (!change.by && current == blinkRate_)
        return;
    if (!change.by)
        change.saved = current;
    // The caret shown now answers for putting the setting back.
    change.by = this;
    if (current != blinkRate_)
        SetCaretBlinkTime(blinkRate_);
}

void TOBLCaret::RestoreBlinkTime()
{
    BlinkChange& change = Blink();
    if (change.by != this)
        return;
    change.by = nullptr;
    SetCaretBlinkTime(change.saved);
}

void TOBLCaret::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, OBLIsGlobalIdent(imageList_));
}

void TOBLCaret::Publish(TClassBuilder<TOBLCaret>& c)
{
    using C = TOBLCaret;
    c.Property("BlinkRate", &C::BlinkRate, &C::SetBlinkRate).NoDefault();
    c.Property("Style", &C::Style, &C::SetStyle).Default(csDefault);
    c.Property("Width", &C::Width, [](C& o, int v) { o.SetWord(0, v); }).Default(2).ReadRange(0, 65535);
    c.Property("Height", &C::Height, [](C& o, int v) { o.SetWord(1, v); }).Default(10).ReadRange(0, 65535);
    c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::HasControl);
    c.Property("ImageIndex", &C::ImageIndex, [](C& o, int v) { o.SetWord(2, v); }).Default(0).ReadRange(0, 65535);
    c.Property("ListIndex", &C::ListIndex, [](C& o, int v) { o.SetWord(3, v); }).Default(0).ReadRange(0, 65535);
    c.Property("CaretBmpMode", &C::CaretBmpMode, &C::SetCaretBmpMode).Default(cbBmpSize);
    c.Property("Bitmap", &C::Bitmap, &C::SetBitmap);
}
