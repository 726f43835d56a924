#include "obl/controls/graphic/OBLBaseControl.h"

#include "platform/classlib/Forms.h"

TOBLBaseControl::TOBLBaseControl(TComponent* AOwner)
    : TOBLControl(AOwner), link_(new TOBLChangeLink), backFX_(new TOBLBitmapEffectObject)
{
    link_->SetOnChange(TNotifyEvent(this, &TOBLBaseControl::ListChanged));
    backFX_->SetOnChange(TNotifyEvent(static_cast<TOBLControl*>(this), &TOBLControl::GetChange));
}

TOBLBaseControl::~TOBLBaseControl()
{
    backFX_->SetOnChange(nullptr);
    link_->SetOnChange(nullptr);
    if (imageList_)
        imageList_->UnRegisterChanges(link_.get());
}

void TOBLBaseControl::SetImageList(TOBLCustomImageList* Value)
{
    if (imageList_)
        imageList_->UnRegisterChanges(link_.get());
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(link_.get());
        imageList_->FreeNotification(this);
    }
    GetIMLChange(this);
}

void TOBLBaseControl::SetIndex(int Index, int Value)
{
    int& field = Index == 0 ? imageIndex_ : listIndex_;
    if (Value < 0 || Value == field)
        return;
    field = Value;
    if (imageList_)
        GetIMLChange(this);
}

bool TOBLBaseControl::IMLEmpty() { return !imageList_ || !imageList_->IsValidItem(listIndex_, imageIndex_); }

bool TOBLBaseControl::IsImageListStored() const
{
    return imageList_ && (!OBLContainer || imageList_->Owner() != OBLContainer);
}

TRect TOBLBaseControl::GetScreenRect(const TRect& Rect)
{
    const TPoint topLeft = ClientToScreen(Point(Rect.left, Rect.top));
    const TPoint bottomRight = ClientToScreen(Point(Rect.right, Rect.bottom));
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

TPoint TOBLBaseControl::BackMapPoint(int X, int Y)
{
    TPoint point = Point(X, Y);
    TWinControl* parent = Parent();
    if (parent && !dynamic_cast<TCustomForm*>(parent))
        point = Point(X + parent->Left(), Y + parent->Top());
    const TRect client = ClientRect();
    point.x += (Width() - client.right) / 2;
    point.y += (Height() - client.bottom) / 2;
    return point;
}

void TOBLBaseControl::Loaded()
{
    inherited::Loaded();
    if (OBLIsCollectionImageList(imageList_))
        GetIMLChange(this);
}

void TOBLBaseControl::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == imageList_)
        SetImageList(nullptr);
}

void TOBLBaseControl::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, OBLIsGlobalIdent(imageList_));
}

void TOBLBaseControl::WndProc(TMessage& Message)
{
    if (Message.Msg != CM_OBLBACKCHANGED) {
        inherited::WndProc(Message);
        return;
    }
    // The old background goes before the repaint, which would otherwise draw it again.
    backFX_->DestroyBuffer();
    if (!Loading() && CheckOptimized())
        GetChange(this);
}
