// The image strip item and the image list: pictures of one size side by side in one
// strip bitmap, each picture's x offset kept in the entry list.
#include "obl/core/containers/oblcont.h"
#include "obl/core/containers/oblcontShared.h"
#include "obl/core/draw/Oblutils.h"
#include "obl/core/formats/Oblstreamutils.h"
#include "platform/rtl/FileNames.h"
#include "platform/win/gdi/Gdi.h"

#include <algorithm>

using namespace oblcont_internal;

namespace {

constexpr int maxStripWidth = 32768;

[[noreturn]] void InvalidImageSize() { throw EInvalidGraphicOperation(LoadResString(_IDS_INVALIDIMAGESIZE)); }
[[noreturn]] void TooManyImages() { throw EInvalidGraphicOperation(LoadResString(_IDS_TOOMANYIMAGES)); }

// Copies a w x h area of one bitmap into another (the same one included: the area is
// taken first, so overlapping moves keep their pixels).
void CopyArea(TBitmap* dest, int dx, int dy, int w, int h, TBitmap* source, int sx, int sy)
{
    if (w <= 0 || h <= 0)
        return;
    if (dest == source) {
        TBitmap taken;
        taken.SetMonochrome(source->Monochrome());
        taken.SetSize(w, h);
        BitBlt(taken.Canvas()->Handle(), 0, 0, w, h, source->Canvas()->Handle(), sx, sy, SRCCOPY);
        BitBlt(dest->Canvas()->Handle(), dx, dy, w, h, taken.Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
    }
    BitBlt(dest->Canvas()->Handle(), dx, dy, w, h, source->Canvas()->Handle(), sx, sy, SRCCOPY);
}

void FillArea(TBitmap* bitmap, const TRect& area, DWORD rop)
{
    if (area.right > area.left && area.bottom > area.top)
        PatBlt(bitmap->Canvas()->Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top, rop);
}

} // namespace

// ---------------------------------------------------------------------------------------
// TOBLImageListItem

TOBLImageListItem::TOBLImageListItem(TComponent* AOwner)
    : TOBLListItem(AOwner), strip_(new TBitmap), mask_(new TBitmap)
{
    strip_->SetSize(0, height_);
    mask_->SetSize(0, height_);
}

TOBLImageListItem::TOBLImageListItem(int AWidth, int AHeight) : TOBLListItem(nullptr)
{
    if (AWidth < 1 || AHeight < 1)
        InvalidImageSize();
    width_ = AWidth;
    height_ = AHeight;
    strip_.reset(new TBitmap);
    mask_.reset(new TBitmap);
    ClearStrips();
}

TOBLImageListItem::~TOBLImageListItem() = default;

void TOBLImageListItem::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        throw EListError(SListIndexError, {Index});
}

bool TOBLImageListItem::CheckImage(TBitmap* Bitmap)
{
    if (!Bitmap)
        return false;
    if (Bitmap->Height() != height_ || Bitmap->Width() % width_ != 0)
        InvalidImageSize();
    return true;
}

bool TOBLImageListItem::ImagesFit(TBitmap* Image, TBitmap* Mask)
{
    if (!CheckImage(Image))
        return false;
    return !(masked_ && Mask && !CheckImage(Mask));
}

void TOBLImageListItem::SetStripWidth(int Value)
{
    strip_->SetWidth(Value);
    if (masked_)
        mask_->SetWidth(Value);
}

int TOBLImageListItem::PrepareSpace()
{
    int offset = usedWidth_;
    int used = usedWidth_ + width_;
    if (strip_->Width() < used) {
        // A failed growth leaves the item as it was.
        std::int64_t grown = static_cast<std::int64_t>(strip_->Width()) + static_cast<std::int64_t>(allocBy_) * width_;
        if (grown < used)
            grown = used;
        if (grown > maxStripWidth)
            TooManyImages();
        SetStripWidth(static_cast<int>(grown));
    }
    usedWidth_ = used;
    entries_.push_back(static_cast<std::int16_t>(offset));
    return static_cast<int>(entries_.size()) - 1;
}

int TOBLImageListItem::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image && !Mask)
        return PrepareSpace();
    if (!ImagesFit(Image, Mask))
        return -1;
    int index = PrepareSpace();
    Replace(index, Image, Mask);
    return index;
}

int TOBLImageListItem::AddMasked(TBitmap* Image, TColor TransparentColor)
{
    if (!CheckImage(Image))
        return -1;
    int index = PrepareSpace();
    ReplaceMasked(index, Image, TransparentColor);
    return index;
}

void TOBLImageListItem::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    CheckIndex(Index);
    if (!ImagesFit(Image, Mask))
        return;
    int x = entries_[Index];
    CopyArea(strip_.get(), x, 0, width_, height_, Image, 0, 0);
    if (masked_) {
        if (Mask) {
            mask_->SetMonochrome(true);
            // A colour mask turns monochrome by its white: white stays transparent,
            // every other colour becomes opaque, whatever the mask canvas's colours.
            HDC maskDC = Mask->Canvas()->Handle();
            COLORREF back = SetBkColor(maskDC, 0xFFFFFF);
            CopyArea(mask_.get(), x, 0, width_, height_, Mask, 0, 0);
            SetBkColor(maskDC, back);
        } else {
            FillArea(mask_.get(), Bounds(x, 0, width_, height_), BLACKNESS);
        }
    }
    Change();
}

void TOBLImageListItem::ReplaceMasked(int Index, TBitmap* Image, TColor TransparentColor)
{
    CheckIndex(Index);
    if (!CheckImage(Image))
        return;
    if (masked_) {
        TBitmap picture, mask;
        OBLBmpCreateMasks(Image, &mask, &picture, TransparentColor);
        Replace(Index, &picture, &mask);
    } else {
        Replace(Index, Image, nullptr);
    }
}

void TOBLImageListItem::Insert(int Index, TBitmap* Image, TBitmap* Mask)
{
    if (Index < 0)
        throw EListError(SListIndexError, {Index});
    if (Index >= GetCount()) {
        Add(Image, Mask);
        return;
    }
    if (!ImagesFit(Image, Mask))
        return;
    PrepareSpace();
    int x = entries_[Index];
    int moved = usedWidth_ - width_ - x;
    CopyArea(strip_.get(), x + width_, 0, moved, height_, strip_.get(), x, 0);
    if (masked_)
        CopyArea(mask_.get(), x + width_, 0, moved, height_, mask_.get(), x, 0);
    for (int i = Index; i < GetCount(); ++i)
        entries_[i] = static_cast<std::int16_t>(i * width_);
    Replace(Index, Image, Mask);
}

void TOBLImageListItem::InsertMasked(int Index, TBitmap* Image, TColor TransparentColor)
{
    if (Index < 0)
        throw EListError(SListIndexError, {Index});
    if (!CheckImage(Image))
        return;
    if (masked_) {
        TBitmap picture, mask;
        OBLBmpCreateMasks(Image, &mask, &picture, TransparentColor);
        Insert(Index, &picture, &mask);
    } else {
        Insert(Index, Image, nullptr);
    }
}

void TOBLImageListItem::Delete(int Index)
{
    if (Index < 0)
        throw EListError(SListIndexError, {Index});
    if (Index >= GetCount())
        return;
    int x = entries_[Index];
    int right = usedWidth_ - x - width_;
    usedWidth_ -= width_;
    CopyArea(strip_.get(), x, 0, right, height_, strip_.get(), x + width_, 0);
    if (masked_)
        CopyArea(mask_.get(), x, 0, right, height_, mask_.get(), x + width_, 0);
    for (std::size_t i = Index + 1; i < entries_.size(); ++i)
        entries_[i] = static_cast<std::int16_t>(entries_[i] - width_);
    entries_.erase(entries_.begin() + Index);
    Change();
}

void TOBLImageListItem::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    if (NewIndex < 0)
        throw EListError(SListIndexError, {NewIndex});
    TBitmap picture, mask;
    GetBitmap(CurIndex, &picture);
    if (masked_) {
        mask.SetMonochrome(true);
        GetMaskBitmap(CurIndex, &mask);
    }
    BeginUpdate();
    try {
        Delete(CurIndex);
        Insert(NewIndex, &picture, masked_ ? &mask : nullptr);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TOBLImageListItem::ClearStrips()
{
    // The strip's object is deleted with its image, not handed to nobody.
    if (strip_->HandleAllocated())
        if (HBITMAP released = strip_->ReleaseHandle())
            DeleteObject(released);
    strip_->SetMonochrome(false);
    strip_->SetSize(0, height_);
    mask_->SetSize(0, masked_ ? height_ : mask_->Height());
    if (masked_) {
        mask_->SetHeight(height_);
        mask_->SetMonochrome(true);
    } else {
        mask_->Dormant();
    }
    usedWidth_ = 0;
    entries_.clear();
}

void TOBLImageListItem::Clear()
{
    BeginUpdate();
    ClearStrips();
    EndUpdate(false);
}

void TOBLImageListItem::RebuildEntries(int Count)
{
    entries_.clear();
    for (int i = 0; i < Count; ++i)
        entries_.push_back(static_cast<std::int16_t>(i * width_));
}

void TOBLImageListItem::SetInteger(int Index, int Value)
{
    int& field = Index == 0 ? width_ : height_;
    // A picture larger than a stored strip may be could not be read back.
    if (Value == field || Value < 1 || Value > maxStripWidth)
        return;
    field = Value;
    Clear();
    Change();
}

void TOBLImageListItem::SetMaskedState(bool Value)
{
    if (Value == masked_)
        return;
    if (!Value) {
        mask_->SetWidth(0);
    } else {
        mask_->SetMonochrome(true);
        mask_->SetSize(strip_->Width(), height_);
        // Until masks are given, every picture is wholly opaque.
        FillArea(mask_.get(), Rect(0, 0, strip_->Width(), height_), BLACKNESS);
    }
    RebuildEntries(GetCount());
    masked_ = Value;
    Change();
}

// Appends copies of the source's pictures, without notification; a strip that would
// grow too wide raises before anything changes.
void TOBLImageListItem::AppendImages(TOBLImageListItem* Source)
{
    int count = Source->GetCount();
    std::int64_t used = usedWidth_ + static_cast<std::int64_t>(count) * width_;
    if (used > maxStripWidth)
        TooManyImages();
    if (strip_->Width() < used)
        SetStripWidth(static_cast<int>(used));
    CopyArea(strip_.get(), usedWidth_, 0, count * width_, height_, Source->strip_.get(), 0, 0);
    if (masked_ && Source->masked_)
        CopyArea(mask_.get(), usedWidth_, 0, count * width_, height_, Source->mask_.get(), 0, 0);
    else if (masked_)
        FillArea(mask_.get(), Bounds(usedWidth_, 0, count * width_, height_), BLACKNESS);
    for (int i = 0; i < count; ++i)
        entries_.push_back(static_cast<std::int16_t>(entries_.size() * width_));
    usedWidth_ = static_cast<int>(used);
}

void TOBLImageListItem::AddImages(TOBLImageListItem* Source)
{
    if (!Source)
        return;
    if (Source->width_ != width_ || Source->height_ != height_)
        InvalidImageSize();
    if (Source->GetCount() == 0)
        return;
    if (usedWidth_ + static_cast<std::int64_t>(Source->GetCount()) * width_ > maxStripWidth)
        TooManyImages();
    // Adding an item to itself adds the pictures it has now.
    TOwned<TOBLImageListItem> copy;
    if (Source == this) {
        copy.reset(new TOBLImageListItem(width_, height_));
        copy->Assign(this);
        Source = copy.get();
    }
    BeginUpdate();
    try {
        AppendImages(Source);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TOBLImageListItem::InsertImages(int Index, TOBLImageListItem* Source)
{
    if (!Source)
        return;
    if (Source->width_ != width_ || Source->height_ != height_)
        InvalidImageSize();
    if (Source->GetCount() == 0)
        return;
    if (Index < 0)
        throw EListError(SListIndexError, {Index});
    if (Index >= GetCount()) {
        AddImages(Source);
        return;
    }
    TOwned<TOBLImageListItem> copy;
    if (Source == this) {
        copy.reset(new TOBLImageListItem(width_, height_));
        copy->Assign(this);
        Source = copy.get();
    }
    BeginUpdate();
    try {
        for (int i = Source->GetCount() - 1; i >= 0; --i) {
            TBitmap picture;
            Source->GetBitmap(i, &picture);
            if (masked_ && Source->masked_) {
                TBitmap mask;
                mask.SetMonochrome(true);
                Source->GetMaskBitmap(i, &mask);
                Insert(Index, &picture, &mask);
            } else if (masked_) {
                InsertMasked(Index, &picture, Source->TransparentColor(i));
            } else {
                Insert(Index, &picture, nullptr);
            }
        }
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TOBLImageListItem::GetBitmap(int Index, TBitmap* Bitmap)
{
    if (!Bitmap)
        return;
    CheckIndex(Index);
    Bitmap->SetSize(width_, height_);
    CopyArea(Bitmap, 0, 0, width_, height_, strip_.get(), entries_[Index], 0);
}

void TOBLImageListItem::GetMaskBitmap(int Index, TBitmap* Bitmap)
{
    if (!Bitmap || !masked_)
        return;
    CheckIndex(Index);
    Bitmap->SetSize(width_, height_);
    CopyArea(Bitmap, 0, 0, width_, height_, mask_.get(), entries_[Index], 0);
}

TRect TOBLImageListItem::GetImageRect(int Index) const
{
    CheckIndex(Index);
    return Bounds(entries_[Index], 0, width_, height_);
}

TColor TOBLImageListItem::TransparentColor(int Index)
{
    CheckIndex(Index);
    return strip_->Canvas()->Pixels(entries_[Index], height_ - 1);
}

TColor TOBLImageListItem::GetColorAtPoint(const TPoint& Point, int Index)
{
    CheckIndex(Index);
    return strip_->Canvas()->Pixels(entries_[Index] + Point.x, Point.y);
}

void TOBLImageListItem::Draw(TCanvas* Canvas, int X, int Y, int Index)
{
    TRect cell = GetImageRect(Index);
    TRect dest = Bounds(X, Y, width_, height_);
    if (!masked_) {
        Canvas->CopyRect(dest, strip_->Canvas(), cell);
        return;
    }
    // The monochrome mask reaches a colour canvas through its text and background
    // colours: white stays white (transparent), black stays black (opaque).
    HDC dc = Canvas->Handle();
    TCopyMode mode = Canvas->CopyMode();
    COLORREF text = SetTextColor(dc, 0x000000);
    COLORREF back = SetBkColor(dc, 0xFFFFFF);
    Canvas->SetCopyMode(cmSrcAnd);
    Canvas->CopyRect(dest, mask_->Canvas(), cell);
    Canvas->SetCopyMode(cmSrcPaint);
    Canvas->CopyRect(dest, strip_->Canvas(), cell);
    Canvas->SetCopyMode(mode);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

TRect TOBLImageListItem::DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int Index)
{
    TRect cell = GetImageRect(Index);
    if (masked_)
        return OBLBmpDrawExt(Canvas, Dest, strip_->Canvas(), cell, Flags | OBLBmpMasked, 0, nullptr, mask_->Canvas());
    return OBLBmpDrawExt(Canvas, Dest, strip_->Canvas(), cell, Flags, TransparentColor(Index) | TransparentColorFlag,
                         nullptr, nullptr);
}

void TOBLImageListItem::ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor,
                                 int Index)
{
    TRect cell = GetImageRect(Index);
    if (masked_)
        OBLBmpClipDrawExt(Canvas, Dest, strip_->Canvas(), cell, Flags | OBLBmpMasked, ClipOffset, 0, mask_->Canvas());
    else
        OBLBmpClipDrawExt(Canvas, Dest, strip_->Canvas(), cell, Flags, ClipOffset, TransColor, nullptr);
}

void TOBLImageListItem::ConvertBmpToIML(TBitmap* Bitmap, int Count, bool AMasked)
{
    // Refused before anything is cleared.
    if (!Bitmap || Count < 1 || Bitmap->Height() < 1 || Bitmap->Width() / Count < 1)
        InvalidImageSize();
    BeginUpdate();
    try {
        Clear();
        height_ = Bitmap->Height();
        width_ = Bitmap->Width() / Count;
        masked_ = AMasked;
        if (masked_) {
            TBitmap picture, mask;
            OBLBmpCreateMasks(Bitmap, &mask, &picture, Bitmap->TransparentColor());
            strip_->Assign(&picture);
            mask_->Assign(&mask);
            mask_->SetMonochrome(true);
        } else {
            strip_->Assign(Bitmap);
            mask_->SetWidth(0);
        }
        usedWidth_ = strip_->Width();
        RebuildEntries(Count);
    } catch (...) {
        EndUpdate(false);
        throw;
    }
    EndUpdate(false);
    Change();
}

bool TOBLImageListItem::LoadFromBitmap(const AnsiString& FileName, int Count, bool AMasked)
{
    TBitmap bitmap;
    bitmap.LoadFromFile(FileName);
    if (bitmap.Empty() || Count < 1 || bitmap.Width() % Count != 0 || bitmap.Width() / Count < 1)
        RaiseWrongSignature(FileName);
    ConvertBmpToIML(&bitmap, Count, AMasked);
    SetDescription(ExtractFileName(FileName));
    return true;
}

void TOBLImageListItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLImageListItem*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    if (source == this)
        return;
    BeginUpdate();
    try {
        AssignStd(source);
        pixelFormat_ = source->pixelFormat_;
        allocBy_ = source->allocBy_;
        height_ = source->height_;
        width_ = source->width_;
        masked_ = source->masked_;
        ClearStrips();
        if (source->GetCount() > 0)
            AppendImages(source);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    // Also a copy of an empty item is a change.
    EndUpdate(true);
}

BYTE TOBLImageListItem::WriteFlag() { return inherited::WriteFlag() | OBLPixelFormatFlag(pixelFormat_); }

void TOBLImageListItem::WriteData(TStream* Stream)
{
    // The strips are stored exactly as wide as their pictures.
    int count = GetCount();
    SetStripWidth(count * width_);
    usedWidth_ = count * width_;
    WriteStd(Stream);
    stWriteInteger(Stream, height_);
    stWriteInteger(Stream, width_);
    stWriteInteger(Stream, allocBy_);
    stWriteByte(Stream, masked_ ? 1 : 0);
    stWriteInteger(Stream, count);
    if (count > 0) {
        stWriteBitmap(Stream, strip_.get(), Compressed(), OBLPixelFormatCode(pixelFormat_));
        if (masked_)
            stWriteBitmap(Stream, mask_.get(), Compressed(), 2);
    }
}

// A strip (and mask) of exactly Count pictures of the item's size, or EReadError.
void TOBLImageListItem::ReadStrips(TStream* Stream, int Count)
{
    if (Count < 0 || static_cast<std::int64_t>(Count) * width_ > maxStripWidth)
        throw EReadError(SReadError);
    if (Count > 0) {
        int wide = Count * width_;
        ReadPayload([&] { stReadBitmap(Stream, strip_.get(), Compressed()); });
        if (strip_->Width() != wide || strip_->Height() != height_)
            throw EReadError(SReadError);
        if (masked_) {
            ReadPayload([&] { stReadBitmap(Stream, mask_.get(), Compressed()); });
            if (mask_->Width() != wide || mask_->Height() != height_)
                throw EReadError(SReadError);
            mask_->SetMonochrome(true);
        }
    }
    usedWidth_ = strip_->Width();
    RebuildEntries(Count);
}

void TOBLImageListItem::ReadData(TStream* Stream)
{
    BYTE flags = ReadStd(Stream);
    pixelFormat_ = OBLPixelFormatFromFlags(flags);
    int height = ReadInt32(Stream);
    int width = ReadInt32(Stream);
    int allocBy = ReadInt32(Stream);
    bool masked = ReadByte(Stream) != 0;
    int count = ReadInt32(Stream);
    if (height < 1 || width < 1 || width > maxStripWidth || height > maxStripWidth)
        throw EReadError(SReadError);
    BeginUpdate();
    try {
        height_ = height;
        width_ = width;
        SetAllocBy(allocBy);
        masked_ = masked;
        ClearStrips();
        ReadStrips(Stream, count);
    } catch (...) {
        // Nothing half read stays.
        ClearStrips();
        EndUpdate(false);
        throw;
    }
    EndUpdate(false);
}

// The legacy form: int32 count, the strip, the mask when masked.
void TOBLImageListItem::ReadStream(TStream* Stream)
{
    int count = ReadInt32(Stream);
    BeginUpdate();
    try {
        ClearStrips();
        ReadStrips(Stream, count);
    } catch (...) {
        ClearStrips();
        EndUpdate(false);
        throw;
    }
    EndUpdate(false);
}

void TOBLImageListItem::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Bitmap", [this](TStream* stream) { ReadStream(stream); }, nullptr, false);
}

void TOBLImageListItem::SaveToFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmCreate);
    stWriteString(&file, OBLICGetSignature(icImageList));
    stWriteInteger(&file, 1);
    stWriteInteger(&file, 17);
    WriteData(&file);
}

void TOBLImageListItem::LoadFromFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    if (!ReadSignature(&file, icImageList))
        RaiseWrongSignature(ClassName());
    ReadInt32(&file);
    ReadInt32(&file);
    ReadData(&file);
}

void TOBLImageListItem::Publish(TClassBuilder<TOBLImageListItem>& c)
{
    c.Property("Width", &TOBLImageListItem::Width, &TOBLImageListItem::SetWidth).Default(16).ReadRange(1, maxStripWidth);
    c.Property("Height", &TOBLImageListItem::Height, &TOBLImageListItem::SetHeight).Default(16).ReadRange(1, maxStripWidth);
    c.Property("AllocBy", &TOBLImageListItem::AllocBy, &TOBLImageListItem::SetAllocBy).Default(4);
    c.Property("Masked", &TOBLImageListItem::Masked, &TOBLImageListItem::SetMaskedState).Default(false);
    c.Property("Description", &TOBLImageListItem::Description, &TOBLImageListItem::SetDescription);
}

// ---------------------------------------------------------------------------------------
// TOBLImageList

TOBLImageList::TOBLImageList(TComponent* AOwner) : TOBLCustomImageList(AOwner)
{
    SetItemClass(TOBLImageListItem::StaticClass());
    SetKind(icImageList);
    SetListIndex(0);
    static const bool registered = (RegisterClass(TOBLImageListItem::StaticClass()), true);
    (void)registered;
}

TCanvas* TOBLImageList::BmpCanvas(int ListIndex) { return Items(ListIndex)->GetImageBitmap()->Canvas(); }

TRect TOBLImageList::ItemRect(int ListIndex, int ImageIndex) { return Items(ListIndex)->GetImageRect(ImageIndex); }

int TOBLImageList::Dimensions(int ListIndex, BYTE Which)
{
    if (!InRange(ListIndex))
        return 0;
    if (Which == 0)
        return Items(ListIndex)->Width();
    if (Which == 1)
        return Items(ListIndex)->Height();
    return 0;
}

int TOBLImageList::ItemCount(int ListIndex) { return InRange(ListIndex) ? Items(ListIndex)->GetCount() : -1; }

bool TOBLImageList::IsValidItem(int ListIndex, int ImageIndex)
{
    return InRange(ListIndex) && ImageIndex >= 0 && ImageIndex < Items(ListIndex)->GetCount();
}

void TOBLImageList::GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap)
{
    if (Bitmap)
        Items(ListIndex)->GetBitmap(ImageIndex, Bitmap);
}

bool TOBLImageList::Masked(int ListIndex) { return Items(ListIndex)->Masked(); }

HPALETTE TOBLImageList::Palette(int ListIndex)
{
    return InRange(ListIndex) ? Items(ListIndex)->GetImageBitmap()->Palette() : nullptr;
}

TColor TOBLImageList::TransparentColor(int ListIndex, int ImageIndex)
{
    return InRange(ListIndex) ? Items(ListIndex)->TransparentColor(ImageIndex) : 0xFFFFFF;
}

TColor TOBLImageList::GetColorAtPoint(const TPoint& Point, int ListIndex, int ImageIndex)
{
    return InRange(ListIndex) ? Items(ListIndex)->GetColorAtPoint(Point, ImageIndex) : 0xFFFFFF;
}

void TOBLImageList::Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex)
{
    Items(ListIndex)->Draw(Canvas, X, Y, ImageIndex);
}

TRect TOBLImageList::DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex)
{
    return Items(ListIndex)->DrawExt(Canvas, Dest, Flags, ImageIndex);
}

void TOBLImageList::ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor,
                             int ListIndex, int ImageIndex)
{
    Items(ListIndex)->ClipDraw(Canvas, Dest, Flags, ClipOffset, TransColor, ImageIndex);
}

void TOBLImageList::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLImageList*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    if (source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        AddList(source);
        SetDefaultCompressed(source->DefaultCompressed());
        SetDefaultPixelFormat(source->DefaultPixelFormat());
        SetListIndex(0);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TOBLImageList::Publish(TClassBuilder<TOBLImageList>& c)
{
    c.Property("DefaultCompressed", &TOBLImageList::DefaultCompressed, &TOBLImageList::SetDefaultCompressed)
        .Default(false);
    c.Property("DefaultPixelFormat", &TOBLImageList::DefaultPixelFormat, &TOBLImageList::SetDefaultPixelFormat)
        .Default(spfDefault);
}
