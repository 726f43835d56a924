#include "obl/core/containers/oblcont.h"
#include "tests/obl/core/containers/ContainerFixtures.h"

#include <gtest/gtest.h>

namespace {

using Call = TCallLog::Call;

struct CustomContainerTest : ::testing::Test {
    TCallLog log;
    TOwned<TTextList> list{new TTextList(nullptr)};
    TOBLChangeLink link;

    void Watch()
    {
        list->RegisterChanges(&link);
        link.SetOnChange(TNotifyEvent(&log, &TCallLog::First));
        list->SetOnChange(TNotifyEvent(&log, &TCallLog::Third));
    }
    std::vector<AnsiString> Texts()
    {
        std::vector<AnsiString> texts;
        for (int i = 0; i < list->GetCount(); ++i)
            texts.push_back(list->Items(i)->Text());
        return texts;
    }
};

TEST_F(CustomContainerTest, StartsEmptyWithItsDefaults)
{
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_TRUE(list->GetEmpty());
    EXPECT_EQ(list->Source(), sdComponent);
    EXPECT_EQ(list->Prefix(), ppProgram);
    EXPECT_TRUE(list->FileName().IsEmpty());
    EXPECT_FALSE(list->DefaultCompressed());
    EXPECT_EQ(list->Kind(), icStringList);
}

TEST_F(CustomContainerTest, AddNilMakesAnItemOfTheItemClassOwnedByTheContainer)
{
    Watch();
    EXPECT_EQ(list->Add(nullptr), 0);
    EXPECT_EQ(list->Add(nullptr), 1);
    TOBLListItem* item = list->GetItem(1);
    EXPECT_EQ(item->ClassType(), TTextItem::StaticClass());
    EXPECT_EQ(item->Owner(), list.get());
    EXPECT_EQ(item->GetIndex(), 1);
    EXPECT_FALSE(list->GetEmpty());
    EXPECT_EQ(log.Count(1), 2);
    EXPECT_EQ(log.Count(3), 2);
}

TEST_F(CustomContainerTest, ListWithoutItemClassRaisesInsteadOfMakingAnything)
{
    TOBLCustomContainer bare(nullptr);
    EXPECT_THROW(bare.Add(nullptr), EAbstractError);
    EXPECT_EQ(bare.GetCount(), 0);
    EXPECT_EQ(bare.ComponentCount(), 0);
}

TEST_F(CustomContainerTest, ListOperationsKeepOrder)
{
    list->AddTexts({"a", "b", "c", "d"});
    list->Insert(1, nullptr);
    list->Items(1)->SetText("x");
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"a", "x", "b", "c", "d"}));
    list->Move(0, 4);
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"x", "b", "c", "d", "a"}));
    int destroyed = TTextItem::Destroyed;
    list->Delete(2);
    EXPECT_EQ(TTextItem::Destroyed, destroyed + 1);
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"x", "b", "d", "a"}));
    EXPECT_EQ(list->ComponentCount(), 4);
    list->Clear();
    EXPECT_EQ(TTextItem::Destroyed, destroyed + 5);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->ComponentCount(), 0);
}

TEST_F(CustomContainerTest, IndexErrorsRaiseAndChangeNothing)
{
    list->AddTexts({"a", "b", "c"});
    Watch();
    struct Case {
        const char* what;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"GetItem(3)", [&] { list->GetItem(3); }},
        {"GetItem(-1)", [&] { list->GetItem(-1); }},
        {"Delete(3)", [&] { list->Delete(3); }},
        {"Insert(4)", [&] { list->Insert(4, nullptr); }},
        {"Insert(-1)", [&] { list->Insert(-1, nullptr); }},
        {"Move(0, 3)", [&] { list->Move(0, 3); }},
        {"Move(5, 1)", [&] { list->Move(5, 1); }},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(c.run(), EListError) << c.what;
        EXPECT_EQ(Texts(), (std::vector<AnsiString>{"a", "b", "c"})) << c.what;
        EXPECT_EQ(list->ComponentCount(), 3) << c.what;
    }
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(CustomContainerTest, MoveToTheSamePlaceSendsNothing)
{
    list->AddTexts({"a", "b", "c"});
    Watch();
    list->Move(2, 2);
    EXPECT_TRUE(log.calls.empty());
    list->Move(2, 0);
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"c", "a", "b"}));
    EXPECT_EQ(log.calls.size(), 2u);
}

TEST_F(CustomContainerTest, ItemByNameFindsTheFirstExactMatch)
{
    list->AddTexts({"one", "two", "three"});
    list->Items(0)->SetDescription("Logo");
    list->Items(1)->SetDescription("Logo");
    list->Items(2)->SetDescription("logo");
    struct Case {
        const char* name;
        int index;
    };
    for (const Case& c : {Case{"Logo", 0}, Case{"logo", 2}, Case{"LOGO", -1}, Case{"", -1}}) {
        TOBLListItem* found = list->GetItemByName(c.name);
        EXPECT_EQ(found ? found->GetIndex() : -1, c.index) << c.name;
    }
}

TEST_F(CustomContainerTest, ItemChangeReachesTheContainersEventButNotTheLinks)
{
    list->AddTexts({"a", "b"});
    Watch();
    TCallLog itemLog;
    TOBLListItem* item = list->GetItem(1);
    item->SetOnChange(TNotifyEvent(&itemLog, &TCallLog::Second));
    item->Change();
    EXPECT_EQ(itemLog.calls, (std::vector<Call>{{2, item}}));
    EXPECT_EQ(log.calls, (std::vector<Call>{{3, item}}));
    // The container's update flag does not hold item changes back.
    list->BeginUpdate();
    item->Change();
    EXPECT_EQ(log.calls.size(), 2u);
    list->EndUpdate(false);
}

TEST_F(CustomContainerTest, ItemOutsideAContainerHasNoIndex)
{
    TComponent holder(nullptr);
    TTextItem loose(&holder);
    EXPECT_EQ(loose.GetIndex(), -1);
    EXPECT_NO_THROW(loose.Change());
}

TEST_F(CustomContainerTest, AssignCopiesItemsWithOneContainerEvent)
{
    TTextList source(nullptr);
    source.AddTexts({"p", "q"});
    source.Items(1)->SetDescription("second");
    source.Items(1)->SetIdent(7);
    source.Items(1)->SetCompressed(true);
    source.SetDefaultCompressed(true);
    list->AddTexts({"old"});
    Watch();
    list->Assign(&source);
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"p", "q"}));
    EXPECT_TRUE(list->DefaultCompressed());
    TOBLListItem* copy = list->GetItem(1);
    EXPECT_NE(copy, source.GetItem(1));
    EXPECT_EQ(copy->Owner(), list.get());
    EXPECT_EQ(copy->Description(), "second");
    EXPECT_EQ(copy->Ident(), 7);
    EXPECT_TRUE(copy->Compressed());
    EXPECT_EQ(log.Count(3), 1);
    EXPECT_EQ(log.Count(1), 3);  // Clear, AddList and the end of the bracket
}

TEST_F(CustomContainerTest, AssignFromAnotherClassRaises)
{
    TOtherList other(nullptr);
    list->AddTexts({"keep"});
    EXPECT_THROW(list->Assign(&other), EConvertError);
    EXPECT_THROW(other.Assign(list.get()), EConvertError);
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"keep"}));
}

TEST_F(CustomContainerTest, AssignFromItselfKeepsTheItems)
{
    list->AddTexts({"a", "b"});
    list->Assign(list.get());
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"a", "b"}));
}

TEST_F(CustomContainerTest, AddListAppendsCopies)
{
    TTextList source(nullptr);
    source.AddTexts({"x", "y"});
    list->AddTexts({"a"});
    Watch();
    list->AddList(&source);
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"a", "x", "y"}));
    EXPECT_EQ(source.GetCount(), 2);
    EXPECT_EQ(log.Count(3), 1);
    list->AddList(list.get());
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"a", "x", "y", "a", "x", "y"}));
}

TEST_F(CustomContainerTest, SourceChangeDropsDataUnlessLoading)
{
    list->AddTexts({"a", "b"});
    Watch();
    list->SetSource(sdComponent);
    EXPECT_TRUE(log.calls.empty());
    list->SetSource(sdFile);
    EXPECT_EQ(list->Source(), sdFile);
    EXPECT_EQ(list->Items(0)->Freed(), 1);
    EXPECT_EQ(list->Items(1)->Freed(), 1);
    EXPECT_TRUE(list->Items(1)->GetEmpty());
    EXPECT_EQ(log.Count(3), 1);
}

TEST_F(CustomContainerTest, SourceReadFromAFormDescriptionKeepsTheData)
{
    RegisterClass(TTextList::StaticClass());
    list->AddTexts({"a"});
    TStringStream in("object Texts: TTextList\n  Source = sdFile\nend\n");
    in.ReadComponent(list.get());
    EXPECT_EQ(list->Source(), sdFile);
    EXPECT_EQ(list->Items(0)->Freed(), 0);
    EXPECT_EQ(list->Items(0)->Text(), "a");
    list->SetSource(sdPath);
    EXPECT_EQ(list->Items(0)->Freed(), 1);
    UnRegisterClass(TTextList::StaticClass());
}

TEST_F(CustomContainerTest, FreedContainerFreesItsItemsAfterLeavingItsLinks)
{
    list->AddTexts({"a", "b", "c"});
    list->RegisterChanges(&link);
    int destroyed = TTextItem::Destroyed;
    list.reset();
    EXPECT_EQ(TTextItem::Destroyed, destroyed + 3);
    EXPECT_EQ(link.Sender(), nullptr);
}

TEST_F(CustomContainerTest, PrefixChangeNotifiesOnce)
{
    Watch();
    list->SetPrefix(ppProgram);
    EXPECT_TRUE(log.calls.empty());
    list->SetPrefix(ppFixed);
    EXPECT_EQ(list->Prefix(), ppFixed);
    EXPECT_EQ(log.Count(3), 1);
}

TEST_F(CustomContainerTest, ItemFreedFromOutsideLeavesTheList)
{
    list->AddTexts({"a", "b", "c"});
    list->GetItem(1)->Free();
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"a", "c"}));

    TComponent elsewhere(nullptr);
    auto* foreign = new TTextItem(&elsewhere);
    foreign->SetText("f");
    list->Add(foreign);
    EXPECT_EQ(list->GetCount(), 3);
    foreign->Free();
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"a", "c"}));
}

TEST_F(CustomContainerTest, ItemListedTwiceIsFreedOnce)
{
    list->AddTexts({"a"});
    list->Add(list->GetItem(0));
    int destroyed = TTextItem::Destroyed;
    list->Clear();
    EXPECT_EQ(TTextItem::Destroyed, destroyed + 1);
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(CustomContainerTest, FormDescriptionStoresItemsAsChildren)
{
    RegisterClasses({TTextList::StaticClass(), TTextItem::StaticClass()});
    list->SetName("Texts");
    list->AddTexts({"first", "second"});
    list->Items(1)->SetIdent(9);
    TStringStream text;
    text.WriteComponent(list.get());
    EXPECT_NE(Pos("Text = 'second'", text.DataString()), 0) << text.DataString().c_str();

    TStringStream in(text.DataString());
    TOwned<TComponent> read(in.ReadComponent(nullptr));
    auto* copy = dynamic_cast<TTextList*>(read.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetCount(), 2);
    EXPECT_EQ(copy->Items(0)->Text(), "first");
    EXPECT_EQ(copy->Items(1)->Text(), "second");
    EXPECT_EQ(copy->Items(1)->Ident(), 9);
    EXPECT_EQ(copy->Items(1)->Owner(), copy);
    UnRegisterClass(TTextList::StaticClass());
    UnRegisterClass(TTextItem::StaticClass());
}

TEST_F(CustomContainerTest, ItemReadAgainIntoItsContainerKeepsItsOnePlace)
{
    list->AddTexts({"first", "second"});
    TStringStream text("object Two: TTextItem\n  Text = 'again'\nend\n");
    TReader reader(&text);
    reader.SetOwner(list.get());
    reader.SetParent(list.get());
    reader.ReadComponent(list->Items(1));
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"first", "again"}));

    // One read into the container for the first time is appended.
    auto* loose = new TTextItem(list.get());
    TStringStream more("object Three: TTextItem\n  Text = 'third'\nend\n");
    TReader next(&more);
    next.SetOwner(list.get());
    next.SetParent(list.get());
    next.ReadComponent(loose);
    EXPECT_EQ(Texts(), (std::vector<AnsiString>{"first", "again", "third"}));
}

} // namespace
