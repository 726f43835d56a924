#include "obl/core/formats/OBLPointList.h"

#include "platform/rtl/Exceptions.h"
#include "tests/support/NotifyCounter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::uint32_t RawEntry(TOBLPointList& list, int index)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(list.Items(index)));
}

std::vector<std::pair<int, int>> PointsOf(TOBLPointList& list)
{
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < list.Count(); ++i) {
        POINT p{0, 0};
        list.GetPoint(i, p);
        out.emplace_back(p.x, p.y);
    }
    return out;
}

struct PointListTest : ::testing::Test {
    TOBLPointList list;
    NotifyCounter changes;

    void SetUp() override { list.SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed)); }
};

} // namespace

TEST_F(PointListTest, PacksXUnsignedHighAndYSignedLow)
{
    const struct {
        POINT stored;
        std::uint32_t entry;
        POINT readBack;
    } cases[] = {
        {{5, -1}, 0x0005FFFFu, {5, -1}},
        {{-1, 7}, 0xFFFF0007u, {65535, 7}},
        {{65536 + 3, 2}, 0x00030002u, {3, 2}},
        {{0, 32768}, 0x00008000u, {0, -32768}},
        {{1, 2}, 0x00010002u, {1, 2}},
        {{65535, 32767}, 0xFFFF7FFFu, {65535, 32767}},
        {{70000, -40000}, 0x117063C0u, {4464, 25536}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored.x << "," << c.stored.y);
        list.Clear();
        list.AddPoint(c.stored);
        EXPECT_EQ(RawEntry(list, 0), c.entry);
        POINT p{0, 0};
        list.GetPoint(0, p);
        EXPECT_EQ(p.x, c.readBack.x);
        EXPECT_EQ(p.y, c.readBack.y);
        EXPECT_EQ(list.Points(0).x, c.readBack.x);
    }
}

TEST_F(PointListTest, AddPointNotifiesTwiceWithTheListAsSender)
{
    list.AddPoint({1, 1});
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(changes.lastSender, &list);
    list.PutPoint(0, {2, 2});
    EXPECT_EQ(changes.count, 3);
    list.DeletePoint(0);
    EXPECT_EQ(changes.count, 4);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(PointListTest, UpdateBracketsHoldNotificationsBack)
{
    const struct {
        const char* name;
        void (*run)(TOBLPointList&);
        int notifications;
    } cases[] = {
        {"add inside an update, end with notify",
         [](TOBLPointList& l) { l.BeginUpdate(); l.AddPoint({1, 2}); l.AddPoint({3, 4}); l.EndUpdate(true); }, 1},
        {"end without notify",
         [](TOBLPointList& l) { l.BeginUpdate(); l.AddPoint({1, 2}); l.EndUpdate(false); }, 0},
        {"end at counter 0 sends nothing",
         [](TOBLPointList& l) { l.BeginUpdate(); l.EndUpdate(false); l.EndUpdate(true); }, 0},
        {"nested: only the outermost end notifies",
         [](TOBLPointList& l) { l.BeginUpdate(); l.BeginUpdate(); l.AddPoint({1, 2}); l.EndUpdate(true); l.EndUpdate(true); }, 1},
        {"after the bracket notifications flow again",
         [](TOBLPointList& l) { l.BeginUpdate(); l.EndUpdate(false); l.AddPoint({1, 2}); }, 2},
        {"unmatched end is ignored",
         [](TOBLPointList& l) { l.EndUpdate(true); l.BeginUpdate(); l.AddPoint({1, 2}); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLPointList l;
        NotifyCounter counter;
        l.SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
        c.run(l);
        EXPECT_EQ(counter.count, c.notifications);
    }
}

TEST_F(PointListTest, IndexPastTheEndDoesNothing)
{
    list.AddPoint({3, 4});
    changes.count = 0;
    POINT p{-9, -9};
    list.GetPoint(1, p);
    EXPECT_EQ(p.x, -9);
    EXPECT_EQ(p.y, -9);
    list.PutPoint(1, {7, 7});
    EXPECT_EQ(changes.count, 0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(PointsOf(list), (std::vector<std::pair<int, int>>{{3, 4}}));
}

TEST_F(PointListTest, NegativeOrBadIndexRaisesListErrorAndChangesNothing)
{
    list.AddPoint({3, 4});
    changes.count = 0;
    POINT p{0, 0};
    EXPECT_THROW(list.GetPoint(-1, p), EListError);
    EXPECT_THROW(list.PutPoint(-1, {1, 1}), EListError);
    EXPECT_THROW(list.DeletePoint(1), EListError);
    EXPECT_THROW(list.DeletePoint(-1), EListError);
    try {
        list.DeletePoint(5);
        ADD_FAILURE() << "DeletePoint(5) raised nothing";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_EQ(changes.count, 0);
    EXPECT_EQ(PointsOf(list), (std::vector<std::pair<int, int>>{{3, 4}}));
}

TEST_F(PointListTest, CloneReplacesTheTargetsPoints)
{
    list.AddPoint({1, -1});
    list.AddPoint({2, -2});
    list.AddPoint({3, -3});
    TOBLPointList target;
    NotifyCounter targetChanges;
    target.SetOnChange(TNotifyEvent(&targetChanges, &NotifyCounter::Changed));
    target.AddPoint({9, 9});
    targetChanges.count = 0;
    changes.count = 0;
    list.Clone(&target);
    EXPECT_EQ(PointsOf(target), PointsOf(list));
    EXPECT_EQ(targetChanges.count, 6);
    EXPECT_EQ(changes.count, 0);

    TOBLPointList empty;
    empty.Clone(&target);
    EXPECT_EQ(target.Count(), 0);
    list.Clone(nullptr);
}

TEST_F(PointListTest, CloneIntoItselfKeepsThePoints)
{
    list.AddPoint({1, 2});
    list.AddPoint({3, 4});
    changes.count = 0;
    list.Clone(&list);
    EXPECT_EQ(PointsOf(list), (std::vector<std::pair<int, int>>{{1, 2}, {3, 4}}));
    EXPECT_EQ(changes.count, 0);
}

TEST_F(PointListTest, WithoutHandlerChangesAreSilent)
{
    // A list whose handler was taken away notifies nobody, and its changes still happen.
    list.AddPoint({1, 2});
    ASSERT_EQ(changes.count, 2);
    list.SetOnChange(nullptr);
    EXPECT_FALSE(list.OnChange().Assigned());
    list.AddPoint({3, 4});
    list.PutPoint(0, {5, 6});
    list.DeletePoint(1);
    list.BeginUpdate();
    list.EndUpdate(true);
    list.GetChange(&list);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(PointsOf(list), (std::vector<std::pair<int, int>>{{5, 6}}));

    // A list that never had one, beside a list that has: its changes reach no handler.
    list.SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed));
    TOBLPointList plain;
    plain.AddPoint({1, 2});
    plain.PutPoint(0, {7, 8});
    plain.AddPoint({9, 9});
    plain.DeletePoint(1);
    plain.GetChange(&plain);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(PointsOf(plain), (std::vector<std::pair<int, int>>{{7, 8}}));
    // GetChange hands on the sender it is given.
    list.GetChange(&plain);
    EXPECT_EQ(changes.count, 3);
    EXPECT_EQ(changes.lastSender, &plain);
}
