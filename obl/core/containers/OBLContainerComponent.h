// Unit OBLContainerComponent: the base of non-visual components that show a picture of an
// image list (the dialog components): the list, the entry and picture indexes, and the
// change link through which the component hears of the list's changes. A list of the
// global container is stored as the property "Internal" ("OBLBML30" or "OBLIML30"); a
// list on a form as an ordinary reference.
#pragma once

#include "obl/core/containers/oblcont.h"

// Moves Link from the list ImageList names to Value (none for nil), which then tells
// Client when it goes; ImageList becomes Value.
void OBLRelinkImageList(TOBLCustomImageList*& ImageList, TOBLCustomImageList* Value, TOBLChangeLink* Link,
                        TComponent* Client);

// The picture link itself, for every component that shows a picture of a list whatever
// its base class: it tells its component of each change through the given event (the
// list as sender when the list changed, nil when the link or an index did).
class TOBLImageListLink {
public:
    TOBLImageListLink(TComponent* Component, TNotifyEvent OnChange);
    // The change link leaves the list as it goes.
    ~TOBLImageListLink() = default;
    TOBLImageListLink(const TOBLImageListLink&) = delete;
    TOBLImageListLink& operator=(const TOBLImageListLink&) = delete;

    TOBLCustomImageList* ImageList() const { return imageList_; }
    // Moves the link to the new list (none for nil) and tells of the change, also for the
    // same list again.
    void SetImageList(TOBLCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    // Index 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored, and
    // without a list nothing is told.
    void SetIndex(int Index, int Value);

    // The list is one of the global container's image lists.
    bool CheckCont() const { return OBLIsGlobalIdent(imageList_); }
    // The list is one placed on a form (stored as a reference).
    bool HasControl() const;
    // No list, or the list holds no picture at the two indexes.
    bool IMLEmpty() const;

    // The property "Internal" for a list of the global container.
    void DefineProperties(TFiler* Filer);
    // Drops the list when it is freed.
    void Notification(TComponent* AComponent, TOperation Operation);

private:
    TComponent* component_;
    TNotifyEvent onChange_;
    TOBLCustomImageList* imageList_ = nullptr;
    TOwned<TOBLChangeLink> link_;
    int imageIndex_ = 0;
    int listIndex_ = 0;
};

// Declares the picture properties of a component class that shows a picture through a
// TOBLImageListLink: "ImageList" stored only for a list on a form, "ListIndex" and
// "ImageIndex" with default 0.
template <class C>
void OBLPublishImageList(TClassBuilder<C>& c)
{
    c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::HasControl);
    c.Property("ListIndex", &C::ListIndex, &C::SetListIndex).Default(0).ReadRange(0);
    c.Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex).Default(0).ReadRange(0);
}

class TOBLContainerComponent : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLContainerComponent, TOBLCustomComponent)
public:
    explicit TOBLContainerComponent(TComponent* AOwner);

    TOBLCustomImageList* ImageList() const { return link_.ImageList(); }
    // Moves the link to the new list (none for nil) and calls GetIMLChange(nil), also
    // for the same list again.
    void SetImageList(TOBLCustomImageList* Value) { link_.SetImageList(Value); }
    int ImageIndex() const { return link_.ImageIndex(); }
    int ListIndex() const { return link_.ListIndex(); }
    // Index 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored.
    void SetIndex(int Index, int Value) { link_.SetIndex(Index, Value); }
    void SetImageIndex(int Value) { SetIndex(0, Value); }
    void SetListIndex(int Value) { SetIndex(1, Value); }

    // The list is one of the global container's image lists.
    bool CheckCont() const { return link_.CheckCont(); }
    // The list is one placed on a form (stored as a reference).
    bool HasControl() const { return link_.HasControl(); }

    // The reaction to a change of the list or of the indexes.
    virtual void GetIMLChange(TObject* Sender) {}

    void Notification(TComponent* AComponent, TOperation Operation) override;

    // For descendants that publish what they show.
    template <class C>
    static void PublishImageList(TClassBuilder<C>& c)
    {
        OBLPublishImageList(c);
    }

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    void ListChange(TObject* Sender) { GetIMLChange(Sender); }

    TOBLImageListLink link_;
};
