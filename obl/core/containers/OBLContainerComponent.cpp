#include "obl/core/containers/OBLContainerComponent.h"

TOBLImageListLink::TOBLImageListLink(TComponent* Component, TNotifyEvent OnChange)
    : component_(Component), onChange_(OnChange), link_(new TOBLChangeLink)
{
    link_->SetOnChange(OnChange);
}

// A list already being destroyed has let the link go: it is not called again.
void OBLRelinkImageList(TOBLCustomImageList*& ImageList, TOBLCustomImageList* Value, TOBLChangeLink* Link,
                        TComponent* Client)
{
    if (ImageList && Link->Sender() == ImageList)
        ImageList->UnRegisterChanges(Link);
    ImageList = Value;
    if (ImageList) {
        ImageList->RegisterChanges(Link);
        ImageList->FreeNotification(Client);
    }
}

void TOBLImageListLink::SetImageList(TOBLCustomImageList* Value)
{
    OBLRelinkImageList(imageList_, Value, link_.get(), component_);
    onChange_(nullptr);
}

void TOBLImageListLink::SetIndex(int Index, int Value)
{
    int& field = Index == 0 ? imageIndex_ : listIndex_;
    if (Value == field || Value < 0)
        return;
    field = Value;
    if (imageList_)
        onChange_(nullptr);
}

bool TOBLImageListLink::HasControl() const
{
    return imageList_ && (!OBLContainer || imageList_->Owner() != OBLContainer);
}

bool TOBLImageListLink::IMLEmpty() const { return !imageList_ || !imageList_->IsValidItem(listIndex_, imageIndex_); }

void TOBLImageListLink::DefineProperties(TFiler* Filer)
{
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, CheckCont());
}

void TOBLImageListLink::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent != nullptr && AComponent == imageList_)
        SetImageList(nullptr);
}

// Through the virtual call, so a descendant's reaction hears the list's changes.
TOBLContainerComponent::TOBLContainerComponent(TComponent* AOwner)
    : TOBLCustomComponent(AOwner), link_(this, TNotifyEvent(this, &TOBLContainerComponent::ListChange))
{
}

void TOBLContainerComponent::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    link_.DefineProperties(Filer);
}

void TOBLContainerComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    link_.Notification(AComponent, Operation);
}
