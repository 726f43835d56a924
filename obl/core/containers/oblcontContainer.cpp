// The global container with its four lists, the component that stores them in a form
// description, the global identifiers of its image lists, and the single-item reads of
// the typed container files.
#include "obl/core/containers/oblcont.h"
#include "obl/core/containers/oblcontShared.h"
#include "obl/core/formats/oblwave.h"

TOBLContainer* OBLContainer = nullptr;

// ---------------------------------------------------------------------------------------
// TOBLContainer

TOBLContainer::TOBLContainer(TComponent* AOwner)
    : TOBLBaseContainer(AOwner), bitmapList_(new TOBLBitmapList(this)), imageList_(new TOBLImageList(this)),
      waveList_(new TOBLWaveList(this)), stringList_(new TOBLStringList(this))
{
    TNotifyEvent change(this, &TOBLContainer::GetChange);
    bitmapList_->SetOnChange(change);
    imageList_->SetOnChange(change);
    waveList_->SetOnChange(change);
    stringList_->SetOnChange(change);
}

TOBLContainer::~TOBLContainer()
{
    bitmapList_->SetOnChange(TNotifyEvent());
    imageList_->SetOnChange(TNotifyEvent());
    waveList_->SetOnChange(TNotifyEvent());
    stringList_->SetOnChange(TNotifyEvent());
    stringList_->Free();
    waveList_->Free();
    imageList_->Free();
    bitmapList_->Free();
}

void TOBLContainer::GetChange(TObject* Sender)
{
    if (ComponentState().Contains(csDesigning) && OBLContainer && OBLContainer != this) {
        if (Sender == bitmapList_)
            OBLContainer->SetBitmapList(bitmapList_);
        else if (Sender == imageList_)
            OBLContainer->SetImageList(imageList_);
        else if (Sender == waveList_)
            OBLContainer->SetWaveList(waveList_);
        else if (Sender == stringList_)
            OBLContainer->SetStringList(stringList_);
    }
    inherited::GetChange(Sender);
}

void oblcontInitialization()
{
    if (!OBLContainer)
        OBLContainer = new TOBLContainer(nullptr);
}

void oblcontFinalization()
{
    TOBLContainer* container = OBLContainer;
    OBLContainer = nullptr;
    if (container)
        container->Free();
}

// ---------------------------------------------------------------------------------------
// TOBLContainerCtrl

TOBLContainerCtrl::TOBLContainerCtrl(TComponent* AOwner) : TOBLCustomComponent(AOwner)
{
    // A designer keeps its own lists and copies them into the global ones as they change;
    // at run time the form fills the global lists directly.
    bool designing = AOwner && AOwner->ComponentState().Contains(csDesigning);
    if (designing || !OBLContainer) {
        container_ = new TOBLContainer(nullptr);
        if (designing)
            container_->SetDesigning(true);
        ownsContainer_ = true;
    } else {
        container_ = OBLContainer;
    }
}

TOBLContainerCtrl::~TOBLContainerCtrl()
{
    if (ownsContainer_)
        container_->Free();
}

TOBLCustomContainer* TOBLContainerCtrl::List(int Which) const
{
    switch (Which) {
    case 1: return container_->BitmapList();
    case 2: return container_->ImageList();
    case 3: return container_->WaveList();
    case 4: return container_->StringList();
    default: return nullptr;
    }
}

void TOBLContainerCtrl::ReadStream(TStream* Stream)
{
    if (TOBLCustomContainer* list = List(currentList_))
        list->LoadFromStream(Stream);
}

void TOBLContainerCtrl::WriteStream(TStream* Stream)
{
    if (TOBLCustomContainer* list = List(currentList_))
        list->SaveToStream(Stream);
}

void TOBLContainerCtrl::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    for (BYTE which = 1; which <= 4; ++which) {
        TOBLCustomContainer* list = List(which);
        // The property is named after the list's class without its "TOBL".
        AnsiString name = Copy(list->ClassName(), 5, 255);
        Filer->DefineBinaryProperty(
            name,
            [this, which](TStream* stream) {
                currentList_ = which;
                ReadStream(stream);
            },
            [this, which](TStream* stream) {
                currentList_ = which;
                WriteStream(stream);
            },
            !list->GetEmpty());
    }
}

void TOBLContainerCtrl::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (AComponent == this && Operation == opRemove && ComponentState().Contains(csDesigning) && OBLContainer) {
        OBLContainer->BitmapList()->Clear();
        OBLContainer->ImageList()->Clear();
        OBLContainer->WaveList()->Clear();
        OBLContainer->StringList()->Clear();
    }
}

void TOBLContainerCtrl::Publish(TClassBuilder<TOBLContainerCtrl>& c)
{
    c.Property("About", &TOBLContainerCtrl::About, &TOBLContainerCtrl::SetAbout);
}

// ---------------------------------------------------------------------------------------
// Global identifiers

namespace {
constexpr const char* bitmapListIdent = "OBLBML30";
constexpr const char* imageListIdent = "OBLIML30";
} // namespace

void OBLWriteGlobalIdent(TWriter* Writer, TOBLCustomImageList* ImageList)
{
    if (!OBLContainer || !ImageList)
        return;
    if (ImageList == OBLContainer->BitmapList())
        Writer->WriteString(bitmapListIdent);
    else if (ImageList == OBLContainer->ImageList())
        Writer->WriteString(imageListIdent);
}

TOBLCustomImageList* OBLReadGlobalIdent(TReader* Reader)
{
    AnsiString ident = Reader->ReadString();
    if (!OBLContainer)
        return nullptr;
    if (ident == bitmapListIdent)
        return OBLContainer->BitmapList();
    if (ident == imageListIdent)
        return OBLContainer->ImageList();
    return nullptr;
}

bool OBLIsGlobalIdent(TOBLCustomImageList* ImageList)
{
    return ImageList && OBLContainer &&
           (ImageList == OBLContainer->BitmapList() || ImageList == OBLContainer->ImageList());
}

// ---------------------------------------------------------------------------------------
// Single items of typed container files

bool OBLBMLGetItem(const AnsiString& FileName, int Index, TBitmap* Bitmap)
{
    TOBLBitmapListItem item(nullptr);
    bool result = OBLListGetItemFromFile(FileName, icBitmap, nullptr, &item, Index);
    if (Bitmap)
        Bitmap->Assign(item.StoredBitmap());
    return result;
}

bool OBLIMLGetItem(const AnsiString& FileName, int Index, TOBLImageListItem* Item)
{
    return OBLListGetItemFromFile(FileName, icImageList, nullptr, Item, Index);
}

bool OBLWVLGetItem(const AnsiString& FileName, int Index, TOBLWave* Wave)
{
    TOBLWaveListItem item(nullptr);
    bool result = OBLListGetItemFromFile(FileName, icWave, nullptr, &item, Index);
    if (Wave)
        Wave->Assign(item.Wave());
    return result;
}
