// The image-list interface every picture source answers, and the bitmap list: one
// bitmap per entry, fetched on first use from a file, a resource or a folder when the
// list loads lazily.
#include "obl/core/containers/oblcont.h"
#include "obl/core/containers/oblcontShared.h"
#include "obl/core/base/Oblstrings.h"
#include "obl/core/draw/Oblutils.h"
#include "obl/core/formats/Oblstreamutils.h"
#include "platform/rtl/FileNames.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/Resources.h"

#include <cstdint>

using namespace oblcont_internal;

// ---------------------------------------------------------------------------------------
// TOBLCustomImageList

namespace {
[[noreturn]] void Abstract() { throw EAbstractError("Abstract error"); }
} // namespace

TOBLCustomImageList::TOBLCustomImageList(TComponent* AOwner) : TOBLCustomContainer(AOwner) {}

TCanvas* TOBLCustomImageList::BmpCanvas(int) { Abstract(); }
TRect TOBLCustomImageList::ItemRect(int, int) { Abstract(); }
int TOBLCustomImageList::Dimensions(int, BYTE) { Abstract(); }
int TOBLCustomImageList::ItemCount(int) { Abstract(); }
bool TOBLCustomImageList::IsValidItem(int, int) { Abstract(); }
void TOBLCustomImageList::GetBitmapItem(int, int, TBitmap*) { Abstract(); }
bool TOBLCustomImageList::Masked(int) { Abstract(); }
HPALETTE TOBLCustomImageList::Palette(int) { Abstract(); }
TColor TOBLCustomImageList::TransparentColor(int, int) { Abstract(); }
TColor TOBLCustomImageList::GetColorAtPoint(const TPoint&, int, int) { Abstract(); }
void TOBLCustomImageList::Draw(TCanvas*, int, int, int, int) { Abstract(); }
TRect TOBLCustomImageList::DrawExt(TCanvas*, const TRect&, WORD, int, int) { Abstract(); }
void TOBLCustomImageList::ClipDraw(TCanvas*, const TRect&, WORD, int, TColor, int, int) { Abstract(); }

void TOBLCustomImageList::SetIndex(int Value)
{
    if (Value == listIndex_)
        return;
    if (Value >= GetCount())
        throw EInvalidGraphicOperation(LoadResString(_IDS_LISTINDEXOUTOFBOUNDS), {Value});
    listIndex_ = Value;
}

void TOBLCustomImageList::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLCustomImageList*>(Source);
    if (!source || !source->InheritsFrom(ClassType())) {
        inherited::Assign(Source);
        return;
    }
    if (source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        SetDefaultCompressed(source->DefaultCompressed());
        defaultPixelFormat_ = source->defaultPixelFormat_;
        AddList(source);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

bool OBLIsSingleItemImageList(TOBLCustomImageList* ImageList)
{
    return dynamic_cast<TOBLBitmapList*>(ImageList) || dynamic_cast<TOBLGraphicList*>(ImageList);
}

bool OBLIsCollectionImageList(TOBLCustomImageList* ImageList)
{
    return dynamic_cast<TOBLImageListConnector*>(ImageList) != nullptr;
}

// ---------------------------------------------------------------------------------------
// TOBLBitmapListItem

TOBLBitmapListItem::TOBLBitmapListItem(TComponent* AOwner) : TOBLListItem(AOwner), bitmap_(new TBitmap) {}

TOBLBitmapListItem::~TOBLBitmapListItem() = default;

bool OBLBmpLoad(HMODULE Module, int ResID, TBitmap* Bitmap)
{
    if (!FindResourceA(Module, MAKEINTRESOURCEA(static_cast<WORD>(ResID)), RT_BITMAP))
        return false;
    Bitmap->LoadFromResourceID(Module, ResID);
    return true;
}

bool OBLBmpLoadFromFile(const AnsiString& FileName, int ResID, TBitmap* Bitmap)
{
    HMODULE module = LoadLibraryA(FileName.c_str());
    if (reinterpret_cast<std::uintptr_t>(module) < 32)
        return false;
    struct Release {
        HMODULE module;
        ~Release() { FreeLibrary(module); }
    } release{module};
    return OBLBmpLoad(module, ResID, Bitmap);
}

// The file of the item's own picture: the folder, the first three characters of the
// container's file name, the ident and ".bmp".
AnsiString TOBLBitmapListItem::ItemFileName(TOBLCustomContainer* Container) const
{
    AnsiString folder;
    if (Container->Prefix() == ppFixed) {
        folder = ExtractFilePath(Container->FileName());
        // A fixed path without a folder means the root.
        folder = folder.IsEmpty() ? AnsiString("\\") : OBLSlashAdd(folder);
    } else {
        folder = OBLCreatePathPrefix(Container->Prefix(), true);
    }
    AnsiString name = Copy(ExtractFileName(Container->FileName()), 1, 3);
    return folder + name + IntToStr(Ident()) + OBLICGetItemSuffix(icBitmap, true);
}

void TOBLBitmapListItem::LoadFromSource(TOBLCustomContainer* Container)
{
    switch (Container->Source()) {
    case sdComponent:
        break;
    case sdFile:
        OBLBMLGetItem(OBLCreatePathPrefix(Container->Prefix(), true) + Container->FileName(), Ident(), bitmap_.get());
        break;
    case sdAppResource:
        bitmap_->LoadFromResourceID(nullptr, Ident());
        break;
    case sdLibResource: {
        // A library of the Windows or system folder goes by its name alone; one of the
        // program's or a fixed folder is named like the item files of a path source.
        TOBLPathPrefix prefix = Container->Prefix();
        AnsiString library =
            prefix == ppWindows || prefix == ppSystem ? Container->FileName() : ItemFileName(Container);
        OBLBmpLoadFromFile(library, Ident(), bitmap_.get());
        break;
    }
    case sdPath:
        bitmap_->LoadFromFile(ItemFileName(Container));
        break;
    }
}

TBitmap* TOBLBitmapListItem::GetBitmap()
{
    auto* container = dynamic_cast<TOBLCustomContainer*>(Owner());
    TComponentState state = ComponentState();
    if (container && bitmap_->Empty() && !state.Contains(csDesigning) && !state.Contains(csLoading)) {
        BeginUpdate();
        try {
            LoadFromSource(container);
        } catch (...) {
            EndUpdate(false);
            throw;
        }
        EndUpdate(false);
    }
    return bitmap_.get();
}

void TOBLBitmapListItem::SetBitmap(TBitmap* Value) { bitmap_->Assign(Value); }

bool TOBLBitmapListItem::GetEmpty() { return bitmap_->Empty(); }

void TOBLBitmapListItem::FreeData() { bitmap_->Assign(nullptr); }

void TOBLBitmapListItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLBitmapListItem*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    if (source == this)
        return;
    AssignStd(source);
    bitmap_->Assign(source->GetBitmap());
    pixelFormat_ = source->pixelFormat_;
}

BYTE TOBLBitmapListItem::WriteFlag()
{
    return inherited::WriteFlag() | (bitmap_->Empty() ? 0 : OBLIF_DATA) | OBLPixelFormatFlag(pixelFormat_);
}

void TOBLBitmapListItem::WriteData(TStream* Stream)
{
    BYTE flags = WriteFlag();
    WriteStd(Stream);
    if (flags & OBLIF_DATA)
        stWriteBitmap(Stream, bitmap_.get(), Compressed(), OBLPixelFormatCode(pixelFormat_));
}

void TOBLBitmapListItem::ReadData(TStream* Stream)
{
    BYTE flags = ReadStd(Stream);
    pixelFormat_ = OBLPixelFormatFromFlags(flags);
    if (flags & OBLIF_DATA)
        ReadPayload([&] { stReadBitmap(Stream, bitmap_.get(), Compressed()); });
}

void TOBLBitmapListItem::Publish(TClassBuilder<TOBLBitmapListItem>& c)
{
    c.Property("Bitmap", &TOBLBitmapListItem::StoredBitmap, &TOBLBitmapListItem::SetBitmap).Stored(false);
    c.Property("Ident", &TOBLBitmapListItem::Ident, &TOBLBitmapListItem::SetIdent).Stored(false);
    c.Property("Description", &TOBLBitmapListItem::Description, &TOBLBitmapListItem::SetDescription).Stored(false);
}

// ---------------------------------------------------------------------------------------
// TOBLBitmapList

TOBLBitmapList::TOBLBitmapList(TComponent* AOwner) : TOBLCustomImageList(AOwner)
{
    SetItemClass(TOBLBitmapListItem::StaticClass());
    SetKind(icBitmap);
    SetListIndex(0);
    static const bool registered = (RegisterClass(TOBLBitmapListItem::StaticClass()), true);
    (void)registered;
}

TOBLBitmapListItem* TOBLBitmapList::Entry(int ListIndex)
{
    // A negative index is the item list's error; only the past the end has an answer.
    return ListIndex < GetCount() ? Items(ListIndex) : nullptr;
}

TBitmap* TOBLBitmapList::Query(int ListIndex)
{
    TOBLBitmapListItem* item = Entry(ListIndex);
    return item ? item->GetBitmap() : nullptr;
}

TCanvas* TOBLBitmapList::BmpCanvas(int ListIndex) { return Items(ListIndex)->GetBitmap()->Canvas(); }

TRect TOBLBitmapList::ItemRect(int ListIndex, int ImageIndex)
{
    TBitmap* bitmap = Items(ListIndex)->GetBitmap();
    return Rect(0, 0, bitmap->Width(), bitmap->Height());
}

int TOBLBitmapList::Dimensions(int ListIndex, BYTE Which)
{
    TBitmap* bitmap = Query(ListIndex);
    if (!bitmap)
        return 0;
    return Which == 0 ? bitmap->Width() : Which == 1 ? bitmap->Height() : 0;
}

int TOBLBitmapList::ItemCount(int ListIndex)
{
    TOBLBitmapListItem* item = Entry(ListIndex);
    return item && !item->GetEmpty() ? 1 : 0;
}

bool TOBLBitmapList::IsValidItem(int ListIndex, int ImageIndex) { return ItemCount(ListIndex) == 1; }

void TOBLBitmapList::GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap)
{
    if (Bitmap)
        Bitmap->Assign(Items(ListIndex)->GetBitmap());
}

HPALETTE TOBLBitmapList::Palette(int ListIndex)
{
    TBitmap* bitmap = Query(ListIndex);
    return bitmap ? bitmap->Palette() : nullptr;
}

TColor TOBLBitmapList::TransparentColor(int ListIndex, int ImageIndex)
{
    TBitmap* bitmap = Query(ListIndex);
    return bitmap ? bitmap->TransparentColor() : 0xFFFFFF;
}

TColor TOBLBitmapList::GetColorAtPoint(const TPoint& Point, int ListIndex, int ImageIndex)
{
    TBitmap* bitmap = Query(ListIndex);
    return bitmap ? bitmap->Canvas()->Pixels(Point.x, Point.y) : 0xFFFFFF;
}

void TOBLBitmapList::Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex)
{
    TBitmap* bitmap = Items(ListIndex)->GetBitmap();
    OBLBmpDraw(Canvas, Bounds(X, Y, bitmap->Width(), bitmap->Height()), bitmap, 0, 0);
}

TRect TOBLBitmapList::DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex)
{
    TBitmap* bitmap = Items(ListIndex)->GetBitmap();
    return OBLBmpDraw(Canvas, Dest, bitmap, Flags, bitmap->TransparentColor());
}

void TOBLBitmapList::ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor,
                              int ListIndex, int ImageIndex)
{
    OBLBmpClipDraw(Canvas, Dest, Items(ListIndex)->GetBitmap(), Flags, ClipOffset, TransColor);
}

void TOBLBitmapList::Publish(TClassBuilder<TOBLBitmapList>& c)
{
    c.Property("DefaultCompressed", &TOBLBitmapList::DefaultCompressed, &TOBLBitmapList::SetDefaultCompressed)
        .Default(false);
    c.Property("DefaultPixelFormat", &TOBLBitmapList::DefaultPixelFormat, &TOBLBitmapList::SetDefaultPixelFormat)
        .Default(spfDefault);
}
