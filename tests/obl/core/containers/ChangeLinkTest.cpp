#include "obl/core/containers/oblcont.h"
#include "tests/obl/core/containers/ContainerFixtures.h"

#include <gtest/gtest.h>

namespace {

using Call = TCallLog::Call;

struct ChangeLinkTest : ::testing::Test {
    TCallLog log;
    TTextList list{nullptr};
    TOBLChangeLink first;
    TOBLChangeLink second;

    void SetUp() override
    {
        first.SetOnChange(TNotifyEvent(&log, &TCallLog::First));
        second.SetOnChange(TNotifyEvent(&log, &TCallLog::Second));
        list.SetOnChange(TNotifyEvent(&log, &TCallLog::Third));
    }
};

TEST_F(ChangeLinkTest, ChangeTellsLinksInOrderThenTheContainer)
{
    list.RegisterChanges(&first);
    list.RegisterChanges(&second);
    EXPECT_EQ(first.Sender(), &list);
    list.Change();
    EXPECT_EQ(log.calls, (std::vector<Call>{{1, &list}, {2, &list}, {3, &list}}));
}

TEST_F(ChangeLinkTest, UpdateBracketHoldsOnlyTheContainersOwnEvent)
{
    list.RegisterChanges(&first);
    list.BeginUpdate();
    list.Change();
    EXPECT_EQ(log.calls, (std::vector<Call>{{1, &list}}));
    list.EndUpdate(true);
    EXPECT_EQ(log.calls, (std::vector<Call>{{1, &list}, {1, &list}, {3, &list}}));
    list.BeginUpdate();
    list.EndUpdate(false);
    EXPECT_EQ(log.calls.size(), 3u);
}

TEST_F(ChangeLinkTest, LinkRegisteredTwiceIsToldTwiceAndLeavesOneEntryAtATime)
{
    list.RegisterChanges(&first);
    list.RegisterChanges(&first);
    list.Change();
    EXPECT_EQ(log.Count(1), 2);
    list.UnRegisterChanges(&first);
    EXPECT_EQ(list.LinkCount(), 1);
    list.Change();
    EXPECT_EQ(log.Count(1), 3);
    list.UnRegisterChanges(&first);
    EXPECT_EQ(list.LinkCount(), 0);
    EXPECT_EQ(first.Sender(), nullptr);
}

TEST_F(ChangeLinkTest, UnregisteringAnUnknownLinkChangesNothing)
{
    TTextList other(nullptr);
    other.RegisterChanges(&first);
    list.UnRegisterChanges(&first);
    EXPECT_EQ(first.Sender(), &other);
    EXPECT_EQ(other.LinkCount(), 1);
    other.UnRegisterChanges(&first);
}

TEST_F(ChangeLinkTest, LinkOfTwoContainersNamesTheLaterAndLeavesBothWhenFreed)
{
    TTextList other(nullptr);
    auto* link = new TOBLChangeLink;
    list.RegisterChanges(link);
    other.RegisterChanges(link);
    EXPECT_EQ(link->Sender(), &other);
    EXPECT_EQ(list.LinkCount(), 1);
    EXPECT_EQ(other.LinkCount(), 1);
    link->Free();
    EXPECT_EQ(list.LinkCount(), 0);
    EXPECT_EQ(other.LinkCount(), 0);
    list.Change();  // would reach the freed link if it were still listed
    other.Change();
}

TEST_F(ChangeLinkTest, FreeingOneOfTwoContainersKeepsTheLinkInTheOther)
{
    auto* earlier = new TTextList(nullptr);
    earlier->RegisterChanges(&first);
    list.RegisterChanges(&first);
    earlier->Free();
    EXPECT_EQ(first.Sender(), &list);
    list.Change();
    EXPECT_EQ(log.calls.front(), (Call{1, &list}));
    list.UnRegisterChanges(&first);
    EXPECT_EQ(first.Sender(), nullptr);
}

TEST_F(ChangeLinkTest, FreedContainerClearsEveryLinksSender)
{
    auto* doomed = new TTextList(nullptr);
    doomed->RegisterChanges(&first);
    doomed->RegisterChanges(&second);
    doomed->Free();
    EXPECT_EQ(first.Sender(), nullptr);
    EXPECT_EQ(second.Sender(), nullptr);
}

// A link that frees itself while it is told of a change.
class TSelfRemover : public TObject {
    VENDARO_CLASS(TSelfRemover, TObject)
public:
    TSelfRemover() = default;
    void Gone(TObject*)
    {
        ++calls;
        FreeAndNil(link);
    }
    TOBLChangeLink* link = nullptr;
    int calls = 0;
};

TEST_F(ChangeLinkTest, LinkLeavingDuringNotificationIsSafe)
{
    TSelfRemover remover;
    remover.link = new TOBLChangeLink;
    remover.link->SetOnChange(TNotifyEvent(&remover, &TSelfRemover::Gone));
    list.RegisterChanges(remover.link);
    list.RegisterChanges(&first);
    list.Change();
    EXPECT_EQ(remover.calls, 1);
    EXPECT_EQ(remover.link, nullptr);
    EXPECT_EQ(list.LinkCount(), 1);
    EXPECT_EQ(log.calls, (std::vector<Call>{{1, &list}, {3, &list}}));
    list.Change();
    EXPECT_EQ(remover.calls, 1);
    EXPECT_EQ(log.Count(1), 2);
}

TEST_F(ChangeLinkTest, LinkWithoutHandlerDoesNothing)
{
    TOBLChangeLink silent;
    list.RegisterChanges(&silent);
    EXPECT_NO_THROW(list.Change());
    EXPECT_EQ(log.calls, (std::vector<Call>{{3, &list}}));
}

TEST_F(ChangeLinkTest, ContainersAreNotInheritable)
{
    EXPECT_FALSE(list.ComponentStyle().Contains(csInheritable));
    TComponent plain(nullptr);
    EXPECT_TRUE(plain.ComponentStyle().Contains(csInheritable));
}

} // namespace
