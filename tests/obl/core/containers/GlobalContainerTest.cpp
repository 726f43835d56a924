// The global container, its control, the global identifiers in form descriptions and the
// container component.
#include "obl/core/containers/OBLContainerComponent.h"
#include "obl/core/containers/oblcont.h"
#include "tests/obl/core/containers/ListFixtures.h"

#include <gtest/gtest.h>

namespace {

// A component that shows a picture, as the dialog components do.
class TPictureShower : public TOBLContainerComponent {
    VENDARO_CLASS(TPictureShower, TOBLContainerComponent)
public:
    explicit TPictureShower(TComponent* AOwner) : TOBLContainerComponent(AOwner) {}
    void GetIMLChange(TObject* Sender) override
    {
        ++changes;
        lastSender = Sender;
    }
    static void Publish(TClassBuilder<TPictureShower>& c) { PublishImageList(c); }
    int changes = 0;
    TObject* lastSender = reinterpret_cast<TObject*>(1);
};

class TPictureForm : public TComponent {
    VENDARO_CLASS(TPictureForm, TComponent)
public:
    explicit TPictureForm(TComponent* AOwner) : TComponent(AOwner) {}
    // As a form does: it stores the components it owns.
    void GetChildren(TGetChildProc Proc, TComponent* Root) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            Proc(Components(i));
    }
};

struct GlobalContainerTest : ::testing::Test {
    void SetUp() override
    {
        oblcontInitialization();
        RegisterClasses({TPictureShower::StaticClass(), TPictureForm::StaticClass(), TOBLImageList::StaticClass(),
                         TOBLContainerCtrl::StaticClass()});
    }
    void TearDown() override
    {
        for (TClass c : {TPictureShower::StaticClass(), TPictureForm::StaticClass(), TOBLImageList::StaticClass(),
                         TOBLContainerCtrl::StaticClass()})
            UnRegisterClass(c);
        oblcontFinalization();
    }
    static AnsiString Write(TComponent* component)
    {
        TStringStream out;
        out.WriteComponent(component);
        return out.DataString();
    }
    static AnsiString Hex(const Bytes& bytes)
    {
        AnsiString hex;
        for (BYTE b : bytes)
            hex += Format("%.2X", {static_cast<int>(b)});
        return hex;
    }
};

TEST_F(GlobalContainerTest, StartsWithFourEmptyListsOwnedByIt)
{
    ASSERT_NE(OBLContainer, nullptr);
    EXPECT_EQ(OBLContainer->Owner(), nullptr);
    for (TOBLCustomContainer* list : std::initializer_list<TOBLCustomContainer*>{
             OBLContainer->BitmapList(), OBLContainer->ImageList(), OBLContainer->WaveList(), OBLContainer->StringList()}) {
        EXPECT_TRUE(list->GetEmpty());
        EXPECT_EQ(list->Owner(), OBLContainer);
    }
    oblcontFinalization();
    EXPECT_EQ(OBLContainer, nullptr);
    oblcontInitialization();
    EXPECT_NE(OBLContainer, nullptr);
}

TEST_F(GlobalContainerTest, ListChangesReachTheContainersLinks)
{
    TOBLChangeLink link;
    Counter counter;
    link.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    OBLContainer->RegisterChanges(&link);
    OBLContainer->StringList()->Add(nullptr);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(counter.last, OBLContainer);
    OBLContainer->ImageList()->Clear();
    EXPECT_EQ(counter.count, 2);
    OBLContainer->UnRegisterChanges(&link);
}

TEST_F(GlobalContainerTest, SettingAListCopiesIntoTheOwnedOne)
{
    TOBLImageList source(nullptr);
    source.Add(nullptr);
    source.Add(nullptr);
    TOBLImageList* own = OBLContainer->ImageList();
    OBLContainer->SetImageList(&source);
    EXPECT_EQ(OBLContainer->ImageList(), own);
    EXPECT_EQ(own->GetCount(), 2);
    EXPECT_NE(own->GetItem(0), source.GetItem(0));

    // The global list into itself changes nothing.
    TOBLChangeLink link;
    Counter counter;
    link.SetOnChange(TNotifyEvent(&counter, &Counter::Hit));
    OBLContainer->RegisterChanges(&link);
    TOBLListItem* first = own->GetItem(0);
    OBLContainer->SetImageList(own);
    OBLContainer->SetStringList(OBLContainer->StringList());
    EXPECT_EQ(own->GetCount(), 2);
    EXPECT_EQ(own->GetItem(0), first);
    EXPECT_EQ(counter.count, 0);
    OBLContainer->UnRegisterChanges(&link);
}

TEST_F(GlobalContainerTest, GlobalIdentsNameTheTwoImageLists)
{
    EXPECT_TRUE(OBLIsGlobalIdent(OBLContainer->BitmapList()));
    EXPECT_TRUE(OBLIsGlobalIdent(OBLContainer->ImageList()));
    TOBLImageList other(nullptr);
    EXPECT_FALSE(OBLIsGlobalIdent(&other));
    EXPECT_FALSE(OBLIsGlobalIdent(nullptr));

    struct Case {
        TOBLCustomImageList* list;
        const char* ident;
    };
    for (const Case& c : {Case{OBLContainer->ImageList(), "OBLIML30"}, Case{OBLContainer->BitmapList(), "OBLBML30"}}) {
        TPictureShower shower(nullptr);
        shower.SetName("Shower");
        shower.SetImageList(c.list);
        shower.SetListIndex(2);
        EXPECT_FALSE(shower.HasControl());
        EXPECT_TRUE(shower.CheckCont());
        AnsiString text = Write(&shower);
        EXPECT_NE(Pos(AnsiString("Internal = '") + c.ident + "'", text), 0) << text.c_str();
        EXPECT_EQ(Pos("ImageList", text), 0) << text.c_str();

        TStringStream in(text);
        TOwned<TComponent> read(in.ReadComponent(nullptr));
        auto* copy = dynamic_cast<TPictureShower*>(read.get());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->ImageList(), c.list);
        EXPECT_EQ(copy->ListIndex(), 2);
        EXPECT_EQ(c.list->LinkCount(), 2);
    }
}

TEST_F(GlobalContainerTest, OtherIdentsReadAsNoImageList)
{
    for (const char* ident : {"OBLWVL30", "OBLSLL30", "oblIML30", ""}) {
        TStringStream in(AnsiString("object S: TPictureShower\n  Internal = '") + ident + "'\nend\n");
        TOwned<TComponent> read(in.ReadComponent(nullptr));
        auto* copy = dynamic_cast<TPictureShower*>(read.get());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->ImageList(), nullptr) << ident;
    }
}

TEST_F(GlobalContainerTest, AListOnTheFormIsStoredAsAReference)
{
    TPictureForm form(nullptr);
    form.SetName("Form");
    auto* images = new TOBLImageList(&form);
    images->SetName("Images");
    auto* shower = new TPictureShower(&form);
    shower->SetName("Shower");
    shower->SetImageList(images);
    EXPECT_TRUE(shower->HasControl());
    EXPECT_FALSE(shower->CheckCont());
    AnsiString text = Write(&form);
    EXPECT_NE(Pos("ImageList = Images", text), 0) << text.c_str();
    EXPECT_EQ(Pos("Internal", text), 0) << text.c_str();

    TStringStream in(text);
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    auto* copy = dynamic_cast<TPictureShower*>(read->FindComponent("Shower"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ImageList(), read->FindComponent("Images"));
}

TEST_F(GlobalContainerTest, ComponentFollowsItsListThroughItsLink)
{
    TOBLImageList images(nullptr);
    TPictureShower shower(nullptr);
    shower.SetIndex(1, -1);
    shower.SetIndex(0, 3);
    EXPECT_EQ(shower.ImageIndex(), 3);
    EXPECT_EQ(shower.ListIndex(), 0);
    EXPECT_EQ(shower.changes, 0);

    shower.SetImageList(&images);
    EXPECT_EQ(shower.changes, 1);
    EXPECT_EQ(shower.lastSender, nullptr);
    EXPECT_EQ(images.LinkCount(), 1);
    shower.SetImageList(&images);
    EXPECT_EQ(shower.changes, 2);
    EXPECT_EQ(images.LinkCount(), 1);
    images.Add(nullptr);
    EXPECT_EQ(shower.changes, 3);
    EXPECT_EQ(shower.lastSender, &images);
    shower.SetIndex(1, 0);
    EXPECT_EQ(shower.changes, 3);
    shower.SetIndex(1, 1);
    EXPECT_EQ(shower.changes, 4);

    shower.SetImageList(nullptr);
    EXPECT_EQ(images.LinkCount(), 0);
    EXPECT_EQ(shower.changes, 5);
    images.Add(nullptr);
    EXPECT_EQ(shower.changes, 5);
}

TEST_F(GlobalContainerTest, FreedListIsDropped)
{
    // Freed, or deleted outright: the list is then no longer whole when it tells of its end.
    for (bool freed : {true, false}) {
        auto* images = new TOBLImageList(nullptr);
        TPictureShower shower(nullptr);
        shower.SetImageList(images);
        shower.changes = 0;
        if (freed)
            images->Free();
        else
            delete images;
        EXPECT_EQ(shower.ImageList(), nullptr) << freed;
        EXPECT_EQ(shower.changes, 1) << freed;
        EXPECT_EQ(shower.lastSender, nullptr) << freed;
    }

    TOBLImageList kept(nullptr);
    {
        TPictureShower gone(nullptr);
        gone.SetImageList(&kept);
        EXPECT_EQ(kept.LinkCount(), 1);
    }
    EXPECT_EQ(kept.LinkCount(), 0);
}

TEST_F(GlobalContainerTest, ControlFillsOnlyTheListsItsDescriptionHolds)
{
    TOBLImageList stored(nullptr);
    stored.Add(nullptr);
    stored.Add(nullptr);
    OBLContainer->StringList()->Add(nullptr);
    TStringStream in("object C: TOBLContainerCtrl\n  ImageList = {" + Hex(StreamForm(&stored)) + "}\nend\n");
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    auto* ctrl = dynamic_cast<TOBLContainerCtrl*>(read.get());
    ASSERT_NE(ctrl, nullptr);
    EXPECT_EQ(ctrl->Container(), OBLContainer);
    EXPECT_EQ(OBLContainer->ImageList()->GetCount(), 2);
    EXPECT_EQ(OBLContainer->StringList()->GetCount(), 1);
    EXPECT_TRUE(OBLContainer->BitmapList()->GetEmpty());

    // Only the lists that hold items are written.
    AnsiString text = Write(ctrl);
    EXPECT_NE(Pos("ImageList = {", text), 0) << text.c_str();
    EXPECT_NE(Pos("StringList = {", text), 0) << text.c_str();
    EXPECT_EQ(Pos("BitmapList", text), 0) << text.c_str();
    EXPECT_EQ(Pos("WaveList", text), 0) << text.c_str();
    OBLContainer->ImageList()->Clear();
    OBLContainer->StringList()->Clear();
    text = Write(ctrl);
    EXPECT_EQ(Pos("List", text), 0) << text.c_str();
}

TEST_F(GlobalContainerTest, DesignedControlCopiesItsListsIntoTheGlobalOnes)
{
    TPictureForm form(nullptr);
    form.SetDesigning(true);
    auto* ctrl = new TOBLContainerCtrl(&form);
    ASSERT_NE(ctrl->Container(), OBLContainer);
    ctrl->Container()->StringList()->Add(nullptr);
    ctrl->Container()->StringList()->Add(nullptr);
    EXPECT_EQ(OBLContainer->StringList()->GetCount(), 2);
    EXPECT_NE(OBLContainer->StringList()->GetItem(0), ctrl->Container()->StringList()->GetItem(0));
    // Deleting the control in the designer empties the global lists.
    ctrl->Free();
    EXPECT_TRUE(OBLContainer->StringList()->GetEmpty());
}

} // namespace
