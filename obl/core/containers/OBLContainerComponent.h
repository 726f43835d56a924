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

class TOBLContainerComponent : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLContainerComponent, TOBLCustomComponent)
public:
    explicit TOBLContainerComponent(TComponent* AOwner);
    ~TOBLContainerComponent() override;

    TOBLCustomImageList* ImageList() const { return imageList_; }
    // Moves the link to the new list (none for nil) and calls GetIMLChange(nil), also
    // for the same list again.
    void SetImageList(TOBLCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    // Index 0 ImageIndex, 1 ListIndex; negative or unchanged values are ignored.
    void SetIndex(int Index, int Value);
    void SetImageIndex(int Value) { SetIndex(0, Value); }
    void SetListIndex(int Value) { SetIndex(1, Value); }

    // The list is one of the global container's image lists.
    bool CheckCont() const { return OBLIsGlobalIdent(imageList_); }
    // The list is one placed on a form (stored as a reference).
    bool HasControl() const;

    // The reaction to a change of the list or of the indexes.
    virtual void GetIMLChange(TObject* Sender) {}

    void Notification(TComponent* AComponent, TOperation Operation) override;

    // For descendants that publish what they show: "ImageList" stored only for a list on
    // a form, "ListIndex" and "ImageIndex" with default 0.
    template <class C>
    static void PublishImageList(TClassBuilder<C>& c)
    {
        c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::HasControl);
        c.Property("ListIndex", &C::ListIndex, &C::SetListIndex).Default(0);
        c.Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex).Default(0);
    }

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    void ListChange(TObject* Sender) { GetIMLChange(Sender); }

    TOBLCustomImageList* imageList_ = nullptr;
    TOwned<TOBLChangeLink> link_;
    int imageIndex_ = 0;
    int listIndex_ = 0;
};
