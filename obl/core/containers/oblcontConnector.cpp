// The lists whose entries live elsewhere: the connector, whose entries name the class
// library's image lists, and the graphic list, one picture of any format per entry.
#include "obl/core/containers/oblcont.h"
#include "obl/core/draw/Oblutils.h"

namespace {

bool IsDestroying(TComponent* component) { return component->ComponentState().Contains(csDestroying); }

// The proxy the container operations see: it only carries the entry's name.
TOBLListItem* Proxy(TOwned<TOBLListItem>& proxy, const AnsiString& name)
{
    proxy->SetDescription(name);
    return proxy.get();
}

} // namespace

// ---------------------------------------------------------------------------------------
// TOBLBorImageListItem

TOBLBorImageListItem::TOBLBorImageListItem(TCollection* ACollection)
    : TCollectionItem(ACollection), link_(new TChangeLink)
{
    link_->SetOnChange(TNotifyEvent(this, &TOBLBorImageListItem::ImageListChange));
}

TOBLBorImageListItem::~TOBLBorImageListItem()
{
    link_->SetOnChange(TNotifyEvent());
    if (imageList_)
        imageList_->UnRegisterChanges(link_.get());
}

TOBLImageListConnector* TOBLBorImageListItem::GetConnector() const
{
    auto* items = dynamic_cast<TOBLBorImageListItems*>(Collection());
    return items ? items->Connector() : nullptr;
}

void TOBLBorImageListItem::SetImageList(TCustomImageList* Value)
{
    if (imageList_)
        imageList_->UnRegisterChanges(link_.get());
    imageList_ = Value;
    TOBLImageListConnector* connector = GetConnector();
    if (imageList_) {
        imageList_->RegisterChanges(link_.get());
        if (connector)
            imageList_->FreeNotification(connector);
    }
    if (connector)
        connector->Change();
}

void TOBLBorImageListItem::SetName(const AnsiString& Value)
{
    if (Value == name_)
        return;
    name_ = Value;
    SetDisplayName(GetDisplayName());
}

AnsiString TOBLBorImageListItem::GetDisplayName()
{
    if (!name_.IsEmpty())
        return name_;
    if (imageList_)
        return imageList_->Name();
    return inherited::GetDisplayName();
}

void TOBLBorImageListItem::ImageListChange(TObject* Sender)
{
    if (TOBLImageListConnector* connector = GetConnector())
        connector->Change();
}

void TOBLBorImageListItem::Publish(TClassBuilder<TOBLBorImageListItem>& c)
{
    c.Property("ImageList", &TOBLBorImageListItem::ImageList, &TOBLBorImageListItem::SetImageList);
    c.Property("Name", &TOBLBorImageListItem::Name, &TOBLBorImageListItem::SetName);
    c.Property("Index", &TOBLBorImageListItem::GetIndexValue, &TOBLBorImageListItem::SetIndexValue).Stored(false);
}

TOBLBorImageListItems::TOBLBorImageListItems(TOBLImageListConnector* AConnector)
    : TCollection(TOBLBorImageListItem::StaticClass()), connector_(AConnector)
{
}

void TOBLBorImageListItems::Update(TCollectionItem* Item)
{
    if (connector_)
        connector_->Change();
}

TPersistent* TOBLBorImageListItems::GetOwner() { return connector_; }

// ---------------------------------------------------------------------------------------
// TOBLGraphicListItem

TOBLGraphicListItem::TOBLGraphicListItem(TCollection* ACollection)
    : TCollectionItem(ACollection), picture_(new TPicture)
{
    picture_->SetOnChange(TNotifyEvent(this, &TOBLGraphicListItem::ImageListChange));
}

TOBLGraphicListItem::~TOBLGraphicListItem() { picture_->SetOnChange(TNotifyEvent()); }

TOBLGraphicList* TOBLGraphicListItem::GetGraphicList() const
{
    auto* items = dynamic_cast<TOBLGraphicListItems*>(Collection());
    return items ? items->GraphicList() : nullptr;
}

void TOBLGraphicListItem::SetName(const AnsiString& Value)
{
    if (Value == name_)
        return;
    name_ = Value;
    SetDisplayName(GetDisplayName());
}

AnsiString TOBLGraphicListItem::GetDisplayName() { return name_.IsEmpty() ? inherited::GetDisplayName() : name_; }

void TOBLGraphicListItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLGraphicListItem*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    if (source == this)
        return;
    picture_->Assign(source->picture_.get());
    SetName(source->name_);
}

void TOBLGraphicListItem::ImageListChange(TObject* Sender)
{
    if (TOBLGraphicList* list = GetGraphicList())
        list->Change();
}

void TOBLGraphicListItem::Publish(TClassBuilder<TOBLGraphicListItem>& c)
{
    c.Property("Picture", &TOBLGraphicListItem::Picture, &TOBLGraphicListItem::SetPicture);
    c.Property("Name", &TOBLGraphicListItem::Name, &TOBLGraphicListItem::SetName);
    c.Property("Index", &TOBLGraphicListItem::GetIndexValue, &TOBLGraphicListItem::SetIndexValue).Stored(false);
}

TOBLGraphicListItems::TOBLGraphicListItems(TOBLGraphicList* AList)
    : TCollection(TOBLGraphicListItem::StaticClass()), list_(AList)
{
}

void TOBLGraphicListItems::Update(TCollectionItem* Item)
{
    if (list_)
        list_->Change();
}

TPersistent* TOBLGraphicListItems::GetOwner() { return list_; }

// ---------------------------------------------------------------------------------------
// TOBLImageListConnector

TOBLImageListConnector::TOBLImageListConnector(TComponent* AOwner)
    : TOBLCustomImageList(AOwner), proxy_(new TOBLListItem(nullptr)), imageLists_(new TOBLBorImageListItems(this))
{
    SetKind(icImageList);
}

TOBLImageListConnector::~TOBLImageListConnector()
{
    imageLists_.reset();
    proxy_.reset();
}

void TOBLImageListConnector::Change()
{
    // Entries freed with the connector tell nobody.
    if (IsDestroying(this) || !imageLists_)
        return;
    inherited::Change();
}

TOBLListItem* TOBLImageListConnector::GetItem(int Index) { return Proxy(proxy_, imageLists_->Items(Index)->Name()); }

TCustomImageList* TOBLImageListConnector::EntryList(int ListIndex) { return imageLists_->Items(ListIndex)->ImageList(); }

TRect TOBLImageListConnector::ItemRect(int ListIndex, int ImageIndex)
{
    TCustomImageList* list = EntryList(ListIndex);
    return list ? Rect(0, 0, list->Width(), list->Height()) : Rect(0, 0, 0, 0);
}

int TOBLImageListConnector::Dimensions(int ListIndex, BYTE Which)
{
    if (ListIndex < 0 || ListIndex >= GetCount())
        return 0;
    TCustomImageList* list = EntryList(ListIndex);
    if (!list)
        return 0;
    return Which == 0 ? list->Width() : Which == 1 ? list->Height() : 0;
}

int TOBLImageListConnector::ItemCount(int ListIndex)
{
    if (ListIndex < 0 || ListIndex >= GetCount())
        return -1;
    TCustomImageList* list = EntryList(ListIndex);
    return list ? list->Count() : 0;
}

bool TOBLImageListConnector::IsValidItem(int ListIndex, int ImageIndex)
{
    if (ListIndex < 0 || ListIndex >= GetCount())
        return false;
    TCustomImageList* list = EntryList(ListIndex);
    return list && ImageIndex >= 0 && ImageIndex < list->Count();
}

void TOBLImageListConnector::GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap)
{
    if (!Bitmap)
        return;
    if (TCustomImageList* list = EntryList(ListIndex))
        list->GetBitmap(ImageIndex, Bitmap);
}

bool TOBLImageListConnector::Masked(int ListIndex)
{
    TCustomImageList* list = EntryList(ListIndex);
    return list && list->Masked();
}

TColor TOBLImageListConnector::TransparentColor(int ListIndex, int ImageIndex)
{
    TBitmap bitmap;
    GetBitmapItem(ListIndex, ImageIndex, &bitmap);
    return bitmap.Empty() ? clNone : bitmap.TransparentColor();
}

void TOBLImageListConnector::Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex)
{
    if (TCustomImageList* list = EntryList(ListIndex))
        list->Draw(Canvas, X, Y, ImageIndex, true);
}

TRect TOBLImageListConnector::DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex)
{
    TBitmap bitmap;
    GetBitmapItem(ListIndex, ImageIndex, &bitmap);
    if (bitmap.Empty())
        return Rect(0, 0, 0, 0);
    return OBLBmpDraw(Canvas, Dest, &bitmap, Flags, bitmap.TransparentColor());
}

void TOBLImageListConnector::ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset,
                                      TColor TransColor, int ListIndex, int ImageIndex)
{
    TBitmap bitmap;
    GetBitmapItem(ListIndex, ImageIndex, &bitmap);
    if (!bitmap.Empty())
        OBLBmpClipDraw(Canvas, Dest, &bitmap, Flags, ClipOffset, TransColor);
}

void TOBLImageListConnector::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || !imageLists_)
        return;
    auto* removed = dynamic_cast<TCustomImageList*>(AComponent);
    if (!removed)
        return;
    for (int i = 0; i < imageLists_->Count(); ++i)
        if (imageLists_->Items(i)->ImageList() == removed)
            imageLists_->Items(i)->SetImageList(nullptr);
}

void TOBLImageListConnector::Publish(TClassBuilder<TOBLImageListConnector>& c)
{
    c.Property("ImageLists", &TOBLImageListConnector::ImageLists, &TOBLImageListConnector::SetImageLists);
}

// ---------------------------------------------------------------------------------------
// TOBLGraphicList

TOBLGraphicList::TOBLGraphicList(TComponent* AOwner)
    : TOBLCustomImageList(AOwner), proxy_(new TOBLListItem(nullptr)), graphics_(new TOBLGraphicListItems(this))
{
    SetKind(icImageList);
}

TOBLGraphicList::~TOBLGraphicList()
{
    graphics_.reset();
    proxy_.reset();
}

void TOBLGraphicList::Change()
{
    if (IsDestroying(this) || !graphics_)
        return;
    inherited::Change();
}

TOBLListItem* TOBLGraphicList::GetItem(int Index) { return Proxy(proxy_, graphics_->Items(Index)->Name()); }

bool TOBLGraphicList::Valid(int ListIndex)
{
    if (ListIndex < 0 || ListIndex >= GetCount())
        return false;
    TGraphic* graphic = graphics_->Items(ListIndex)->Picture()->Graphic();
    return graphic && !graphic->Empty();
}

TGraphic* TOBLGraphicList::Graphic(int ListIndex) { return Valid(ListIndex) ? graphics_->Items(ListIndex)->Picture()->Graphic() : nullptr; }

TRect TOBLGraphicList::ItemRect(int ListIndex, int ImageIndex)
{
    TGraphic* graphic = Graphic(ListIndex);
    return graphic ? Rect(0, 0, graphic->Width(), graphic->Height()) : Rect(0, 0, 0, 0);
}

int TOBLGraphicList::Dimensions(int ListIndex, BYTE Which)
{
    TGraphic* graphic = Graphic(ListIndex);
    if (!graphic)
        return 0;
    return Which == 0 ? graphic->Width() : Which == 1 ? graphic->Height() : 0;
}

void TOBLGraphicList::GetBitmapItem(int ListIndex, int ImageIndex, TBitmap* Bitmap)
{
    TGraphic* graphic = Graphic(ListIndex);
    if (!graphic || !Bitmap)
        return;
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
        Bitmap->Assign(bitmap);
        return;
    }
    OBLBmpCreateFromRect(Bitmap, ItemRect(ListIndex, ImageIndex), 0xFFFFFF);
    Bitmap->Canvas()->Draw(0, 0, graphic);
}

HPALETTE TOBLGraphicList::Palette(int ListIndex)
{
    auto* bitmap = dynamic_cast<TBitmap*>(Graphic(ListIndex));
    return bitmap ? bitmap->Palette() : nullptr;
}

TColor TOBLGraphicList::TransparentColor(int ListIndex, int ImageIndex)
{
    TGraphic* graphic = Graphic(ListIndex);
    if (!graphic)
        return clNone;
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic))
        return bitmap->TransparentColor();
    TBitmap bitmap;
    GetBitmapItem(ListIndex, ImageIndex, &bitmap);
    return bitmap.TransparentColor();
}

void TOBLGraphicList::Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex)
{
    Canvas->Draw(X, Y, graphics_->Items(ListIndex)->Picture()->Graphic());
}

TRect TOBLGraphicList::DrawExt(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ListIndex, int ImageIndex)
{
    TBitmap bitmap;
    GetBitmapItem(ListIndex, ImageIndex, &bitmap);
    if (bitmap.Empty())
        return Rect(0, 0, 0, 0);
    return OBLBmpDraw(Canvas, Dest, &bitmap, Flags, bitmap.TransparentColor());
}

void TOBLGraphicList::ClipDraw(TCanvas* Canvas, const TRect& Dest, WORD Flags, int ClipOffset, TColor TransColor,
                               int ListIndex, int ImageIndex)
{
    TBitmap bitmap;
    GetBitmapItem(ListIndex, ImageIndex, &bitmap);
    if (!bitmap.Empty())
        OBLBmpClipDraw(Canvas, Dest, &bitmap, Flags, ClipOffset, TransColor);
}

void TOBLGraphicList::Publish(TClassBuilder<TOBLGraphicList>& c)
{
    c.Property("Graphics", &TOBLGraphicList::Graphics, &TOBLGraphicList::SetGraphics);
}
