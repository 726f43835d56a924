#include "platform/classlib/Classes.h"

#include <gtest/gtest.h>

namespace {

int items[6] = {0, 1, 2, 3, 4, 5};
void* P(int i) { return &items[i]; }

std::vector<int> Contents(const TList& list)
{
    std::vector<int> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(*static_cast<int*>(list.Items(i)));
    return out;
}

} // namespace

TEST(TListTest, AddInsertDeleteRemoveMoveExchange)
{
    TList list;
    EXPECT_EQ(list.Add(P(1)), 0);
    EXPECT_EQ(list.Add(P(3)), 1);
    list.Insert(1, P(2));
    list.Insert(0, P(0));
    list.Insert(4, P(4));
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(list.IndexOf(P(3)), 3);
    EXPECT_EQ(list.IndexOf(P(5)), -1);
    EXPECT_EQ(list.First(), P(0));
    EXPECT_EQ(list.Last(), P(4));

    list.Move(0, 3);
    EXPECT_EQ(Contents(list), (std::vector<int>{1, 2, 3, 0, 4}));
    list.Exchange(0, 4);
    EXPECT_EQ(Contents(list), (std::vector<int>{4, 2, 3, 0, 1}));
    EXPECT_EQ(list.Remove(P(3)), 2);
    EXPECT_EQ(list.Remove(P(3)), -1);
    list.Delete(0);
    list.SetItems(0, P(5));
    EXPECT_EQ(Contents(list), (std::vector<int>{5, 0, 1}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TListTest, IndexErrorsRaiseAndChangeNothing)
{
    TList list;
    list.Add(P(1));
    list.Add(P(2));
    struct Case {
        const char* what;
        std::function<void()> op;
        const char* message;
    };
    const Case cases[] = {
        {"get", [&] { list.Items(2); }, "List index out of bounds (2)"},
        {"set", [&] { list.SetItems(-1, P(0)); }, "List index out of bounds (-1)"},
        {"insert", [&] { list.Insert(3, P(0)); }, "List index out of bounds (3)"},
        {"delete", [&] { list.Delete(2); }, "List index out of bounds (2)"},
        {"move", [&] { list.Move(0, 5); }, "List index out of bounds (5)"},
        {"exchange", [&] { list.Exchange(-1, 0); }, "List index out of bounds (-1)"},
        {"first of empty", [] { TList().First(); }, "List index out of bounds (0)"},
    };
    for (const Case& c : cases) {
        try {
            c.op();
            ADD_FAILURE() << c.what << " did not raise";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
        EXPECT_EQ(Contents(list), (std::vector<int>{1, 2})) << c.what;
    }
}

TEST(TListTest, SortIsStableAndCapacityHoldsTheItems)
{
    TList list;
    int values[] = {30, 10, 20, 10};
    for (int& v : values)
        list.Add(&v);
    list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
    EXPECT_EQ(list.Items(0), &values[1]);
    EXPECT_EQ(list.Items(1), &values[3]);
    EXPECT_EQ(list.Items(2), &values[2]);
    EXPECT_EQ(list.Items(3), &values[0]);

    list.SetCapacity(10);
    EXPECT_EQ(list.Capacity(), 10);
    EXPECT_THROW(list.SetCapacity(2), EListError);
    list.SetCount(6);
    EXPECT_EQ(list.Items(5), nullptr);
}
