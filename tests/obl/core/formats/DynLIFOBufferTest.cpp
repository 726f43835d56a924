#include "obl/core/formats/OBLDynLIFOBuffer.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace {

// Items are the addresses of these four values; the log names them back.
int itemA = 'A', itemB = 'B', itemC = 'C', itemD = 'D';
void* const Items[] = {&itemA, &itemB, &itemC, &itemD};

std::string Name(void* item) { return item ? std::string(1, static_cast<char>(*static_cast<int*>(item))) : "-"; }

class DestroyLog : public TObject {
public:
    void Destroyed(TObject* sender, void* item)
    {
        auto* buffer = static_cast<TOBLDynLIFOBuffer*>(sender);
        names += Name(item);
        countsSeen.push_back(buffer->Count());
    }
    std::string names;
    std::vector<int> countsSeen;
};

// Pops everything (top first) without destroying.
std::string Drain(TOBLDynLIFOBuffer& buffer)
{
    std::string out;
    while (!buffer.isEmpty()) out += Name(buffer.Get());
    return out;
}

std::string Traverse(TOBLDynLIFOBuffer& buffer)
{
    std::string out;
    void* node = nullptr;
    for (buffer.FirstNode(node); !buffer.EOFBuffer(node); buffer.NextNode(node)) out += Name(buffer.GetItem(node));
    return out;
}

} // namespace

TEST(DynLIFOBuffer, LimitsAndCircleMode)
{
    const struct {
        int maxEntries;
        bool circle;
        int pushes;
        const char* stackTopFirst;
        const char* destroyed;
        bool fullAfter;
    } cases[] = {
        {3, true, 4, "DCB", "A", true},
        {2, true, 4, "DC", "AB", true},
        {1, true, 3, "C", "AB", true},
        {3, false, 4, "CBA", "", true},
        {1, false, 2, "A", "", true},
        {0, true, 2, "", "", true},
        {0, false, 2, "", "", true},
        {-1, true, 4, "DCBA", "", false},
        {-7, true, 4, "DCBA", "", false},
        {-7, false, 4, "DCBA", "", false},
        {5, false, 4, "DCBA", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("MaxEntries " + std::to_string(c.maxEntries) + (c.circle ? " circle" : " no circle"));
        TOBLDynLIFOBuffer buffer;
        DestroyLog log;
        buffer.SetOnDestroyItem(TOBLDestroyItemEvent(&log, &DestroyLog::Destroyed));
        buffer.SetMaxEntries(c.maxEntries);
        buffer.SetCircleMode(c.circle);
        for (int i = 0; i < c.pushes; ++i) buffer.Put(Items[i]);
        EXPECT_EQ(log.names, c.destroyed);
        EXPECT_EQ(buffer.isFull(), c.fullAfter);
        EXPECT_EQ(buffer.Count(), static_cast<int>(std::string(c.stackTopFirst).size()));
        EXPECT_EQ(Drain(buffer), c.stackTopFirst);
        EXPECT_EQ(buffer.Count(), 0);
    }
}

TEST(DynLIFOBuffer, StartsEmptyWithoutLimitInCircleMode)
{
    TOBLDynLIFOBuffer buffer;
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_FALSE(buffer.isFull());
    EXPECT_EQ(buffer.Count(), 0);
    EXPECT_EQ(buffer.MaxEntries(), -1);
    EXPECT_TRUE(buffer.CircleMode());
    EXPECT_EQ(buffer.Get(), nullptr);
}

TEST(DynLIFOBuffer, GetHandsTheItemBackWithoutDestroyingIt)
{
    DestroyLog log;
    TOBLDynLIFOBuffer buffer;
    buffer.SetOnDestroyItem(TOBLDestroyItemEvent(&log, &DestroyLog::Destroyed));
    buffer.Put(Items[0]);
    buffer.Put(Items[1]);
    EXPECT_EQ(buffer.Get(), Items[1]);
    EXPECT_EQ(buffer.Count(), 1);
    EXPECT_EQ(log.names, "");
}

TEST(DynLIFOBuffer, TraversalRunsFromOldestToNewest)
{
    TOBLDynLIFOBuffer buffer;
    EXPECT_EQ(Traverse(buffer), "");
    for (int i = 0; i < 3; ++i) buffer.Put(Items[i]);
    EXPECT_EQ(Traverse(buffer), "ABC");
    buffer.Get();
    EXPECT_EQ(Traverse(buffer), "AB");
    while (!buffer.isEmpty()) buffer.Get();
}

TEST(DynLIFOBuffer, LongTraversalTakesOneStepPerNode)
{
    constexpr int kEntries = 200000;
    TOBLDynLIFOBuffer buffer;
    std::vector<int> values(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        values[static_cast<std::size_t>(i)] = i;
        buffer.Put(&values[static_cast<std::size_t>(i)]);
    }
    const auto start = std::chrono::steady_clock::now();
    int visited = 0;
    bool inOrder = true;
    void* node = nullptr;
    for (buffer.FirstNode(node); !buffer.EOFBuffer(node); buffer.NextNode(node)) {
        inOrder = inOrder && *static_cast<int*>(buffer.GetItem(node)) == visited;
        // A walk from the top for every step would take minutes here.
        if (++visited % 1000 == 0) {
            ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << visited;
        }
    }
    EXPECT_EQ(visited, kEntries);
    EXPECT_TRUE(inOrder);
    while (!buffer.isEmpty()) buffer.Get();
}

TEST(DynLIFOBuffer, StepsOfAnInterruptedWalkStillFollowTheList)
{
    TOBLDynLIFOBuffer buffer;
    for (int i = 0; i < 3; ++i) buffer.Put(Items[i]);
    void* node = nullptr;
    buffer.FirstNode(node);
    buffer.NextNode(node);
    EXPECT_EQ(Name(buffer.GetItem(node)), "B");
    // A push during the walk: the step from B still gives C, and from C the new entry.
    buffer.Put(Items[3]);
    buffer.NextNode(node);
    EXPECT_EQ(Name(buffer.GetItem(node)), "C");
    buffer.NextNode(node);
    EXPECT_EQ(Name(buffer.GetItem(node)), "D");
    buffer.NextNode(node);
    EXPECT_TRUE(buffer.EOFBuffer(node));
    // A step from a node other than where the walk stands, and from null (the oldest).
    buffer.FirstNode(node);
    void* second = node;
    buffer.NextNode(second);
    buffer.NextNode(second);
    void* again = node;
    buffer.NextNode(again);
    EXPECT_EQ(Name(buffer.GetItem(again)), "B");
    void* none = nullptr;
    buffer.NextNode(none);
    EXPECT_EQ(Name(buffer.GetItem(none)), "A");
    while (!buffer.isEmpty()) buffer.Get();
}

TEST(DynLIFOBuffer, ClearDestroysNewestFirstAfterUnlinkingEach)
{
    TOBLDynLIFOBuffer buffer;
    DestroyLog log;
    buffer.SetOnDestroyItem(TOBLDestroyItemEvent(&log, &DestroyLog::Destroyed));
    for (int i = 0; i < 3; ++i) buffer.Put(Items[i]);
    buffer.Clear();
    EXPECT_EQ(log.names, "CBA");
    // Each handler call sees the buffer without the entry being destroyed.
    EXPECT_EQ(log.countsSeen, (std::vector<int>{2, 1, 0}));
    EXPECT_TRUE(buffer.isEmpty());
    EXPECT_EQ(buffer.Count(), 0);
}

TEST(DynLIFOBuffer, DestructorDestroysWhatIsStillHeld)
{
    DestroyLog log;
    {
        TOBLDynLIFOBuffer buffer;
        buffer.SetOnDestroyItem(TOBLDestroyItemEvent(&log, &DestroyLog::Destroyed));
        buffer.Put(Items[0]);
        buffer.Put(nullptr);
        buffer.Put(Items[1]);
    }
    EXPECT_EQ(log.names, "B-A");
}

TEST(DynLIFOBuffer, WithoutHandlerItReleasesTheBlocks)
{
    // Blocks from the buffer's heap, released by the buffer itself (the leak
    // checker of the sanitizer build sees any that stay behind).
    TOBLDynLIFOBuffer buffer;
    buffer.SetMaxEntries(2);
    for (int i = 0; i < 5; ++i) buffer.Put(OBLAllocItem(16));
    buffer.Put(nullptr);
    EXPECT_EQ(buffer.Count(), 2);
    void* popped = buffer.Get();
    EXPECT_EQ(popped, nullptr);
    buffer.clearItem(OBLAllocItem(8));
    buffer.clearItem(nullptr);
    EXPECT_EQ(buffer.Count(), 1);
}

TEST(DynLIFOBuffer, ClearItemGoesThroughTheHandler)
{
    TOBLDynLIFOBuffer buffer;
    DestroyLog log;
    buffer.SetOnDestroyItem(TOBLDestroyItemEvent(&log, &DestroyLog::Destroyed));
    buffer.clearItem(Items[3]);
    EXPECT_EQ(log.names, "D");
}

TEST(DynLIFOBuffer, LoweringTheLimitDropsOnlyOneEntryPerPut)
{
    TOBLDynLIFOBuffer buffer;
    DestroyLog log;
    buffer.SetOnDestroyItem(TOBLDestroyItemEvent(&log, &DestroyLog::Destroyed));
    for (int i = 0; i < 3; ++i) buffer.Put(Items[i]);
    buffer.SetMaxEntries(2);
    buffer.Put(Items[3]);
    EXPECT_EQ(log.names, "A");
    EXPECT_EQ(buffer.Count(), 3);
    EXPECT_EQ(Drain(buffer), "DCB");
}

TEST(Buffer, UpdateCounterNestsAndNeverGoesBelowZero)
{
    TOBLDynLIFOBuffer buffer;
    EXPECT_FALSE(buffer.Updating());
    buffer.BeginUpdate();
    buffer.BeginUpdate();
    buffer.EndUpdate();
    EXPECT_TRUE(buffer.Updating());
    buffer.EndUpdate();
    buffer.EndUpdate();
    EXPECT_FALSE(buffer.Updating());
    buffer.BeginUpdate();
    EXPECT_TRUE(buffer.Updating());
}

TEST(Buffer, AbstractOperationsOfTheBaseRaise)
{
    TOBLBuffer buffer;
    void* node = nullptr;
    EXPECT_THROW(buffer.FirstNode(node), EAbstractError);
    EXPECT_THROW(buffer.NextNode(node), EAbstractError);
    EXPECT_THROW(buffer.GetItem(node), EAbstractError);
    EXPECT_THROW(buffer.EOFBuffer(node), EAbstractError);
    EXPECT_THROW(buffer.isEmpty(), EAbstractError);
    EXPECT_THROW(buffer.isFull(), EAbstractError);
    EXPECT_THROW(buffer.Put(nullptr), EAbstractError);
    EXPECT_THROW(buffer.Get(), EAbstractError);
    EXPECT_THROW(buffer.Clear(), EAbstractError);
}
