#include "obl/core/containers/OBLContainerComponent.h"

TOBLContainerComponent::TOBLContainerComponent(TComponent* AOwner)
    : TOBLCustomComponent(AOwner), link_(new TOBLChangeLink)
{
    // Through the virtual call, so a descendant's reaction hears the list's changes.
    link_->SetOnChange(TNotifyEvent(this, &TOBLContainerComponent::ListChange));
}

TOBLContainerComponent::~TOBLContainerComponent()
{
    // The link leaves the list as it goes.
    link_.reset();
}

void OBLRelinkImageList(TOBLCustomImageList*& ImageList, TOBLCustomImageList* Value, TOBLChangeLink* Link,
                        TComponent* Client)
{
    if (ImageList)
        ImageList->UnRegisterChanges(Link);
    ImageList = Value;
    if (ImageList) {
        ImageList->RegisterChanges(Link);
        ImageList->FreeNotification(Client);
    }
}

void TOBLContainerComponent::SetImageList(TOBLCustomImageList* Value)
{
    OBLRelinkImageList(imageList_, Value, link_.get(), this);
    GetIMLChange(nullptr);
}

void TOBLContainerComponent::SetIndex(int Index, int Value)
{
    int& field = Index == 0 ? imageIndex_ : listIndex_;
    if (Value == field || Value < 0)
        return;
    field = Value;
    if (imageList_)
        GetIMLChange(nullptr);
}

bool TOBLContainerComponent::HasControl() const
{
    return imageList_ && (!OBLContainer || imageList_->Owner() != OBLContainer);
}

void TOBLContainerComponent::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, CheckCont());
}

void TOBLContainerComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != nullptr && AComponent == imageList_)
        SetImageList(nullptr);
}
