#include "obl/core/app/oblclass.h"

#include "AppFixture.h"

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

// Records on which pool tick each timer fired (ticks counted by the test, 1 = first 50 ms).
class Recorder : public TObject {
    VENDARO_CLASS(Recorder, TObject)
public:
    explicit Recorder(TOBLTimerPool* pool) : pool_(pool) {}

    void Fire(TObject* sender)
    {
        EXPECT_EQ(sender, pool_);
        fired.push_back(*tick);
    }
    void PoolFire(TObject* sender, WORD ident, int counter)
    {
        EXPECT_EQ(sender, pool_);
        poolFired.push_back({ident, counter});
    }
    // Removes its own item while it fires.
    void RemoveSelf(TObject*)
    {
        fired.push_back(*tick);
        pool_->RemoveTimer(selfIdent);
    }
    void Raise(TObject*) { throw Exception("handler failed"); }
    void RaiseOther(TObject*) { throw std::runtime_error("not ours"); }
    // Runs a nested message loop, as a modal dialog opened from a handler would.
    void Nested(TObject*)
    {
        fired.push_back(*tick);
        if (fired.size() == 1) nested();
    }
    void Caught(TObject* sender, Exception& e) { caught.push_back(e.Message().str()); }

    const int* tick = nullptr;
    WORD selfIdent = 0;
    std::function<void()> nested;
    std::vector<int> fired;
    std::vector<std::pair<WORD, int>> poolFired;
    std::vector<std::string> caught;

private:
    TOBLTimerPool* pool_;
};

class TimerPoolTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        pool_ = std::make_unique<TOBLTimerPool>(nullptr, 50);
    }
    void TearDown() override
    {
        pool_.reset();
        AppFixture::TearDown();
    }

    Recorder* NewRecorder()
    {
        recorders_.push_back(std::make_unique<Recorder>(pool_.get()));
        recorders_.back()->tick = &tick_;
        return recorders_.back().get();
    }
    // n pool ticks of 50 ms each.
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            ++tick_;
            Run(50);
        }
    }

    std::unique_ptr<TOBLTimerPool> pool_;
    std::vector<std::unique_ptr<Recorder>> recorders_;
    int tick_ = 0;
};

TEST_F(TimerPoolTest, ItemsFireOnTicksDivisibleByTheirRatio)
{
    Recorder* every = NewRecorder();
    Recorder* second = NewRecorder();
    Recorder* tenth = NewRecorder();
    pool_->AddTimer(1, 50, TNotifyEvent(every, &Recorder::Fire));
    pool_->AddTimer(2, 100, TNotifyEvent(second, &Recorder::Fire));
    pool_->AddTimer(3, 500, TNotifyEvent(tenth, &Recorder::Fire));
    EXPECT_TRUE(pool_->Running());
    EXPECT_EQ(pool_->GetTimer(3)->Ratio(), 10);
    Ticks(20);
    EXPECT_EQ(every->fired.size(), 20u);
    EXPECT_EQ(second->fired, (std::vector<int>{2, 4, 6, 8, 10, 12, 14, 16, 18, 20}));
    EXPECT_EQ(tenth->fired, (std::vector<int>{10, 20}));
    EXPECT_EQ(pool_->GetTimer(2)->Counter(), 10);
}

TEST_F(TimerPoolTest, EveryAddRestartsTheTickForAllItems)
{
    Recorder* second = NewRecorder();
    pool_->AddTimer(1, 100, TNotifyEvent(second, &Recorder::Fire));
    Ticks(3);  // fires on tick 2
    pool_->AddTimer(2, 50, TNotifyEvent(NewRecorder(), &Recorder::Fire));
    Ticks(3);  // restarted: the pool's ticks 1, 2, 3 are the test's 4, 5, 6
    EXPECT_EQ(second->fired, (std::vector<int>{2, 5}));
}

TEST_F(TimerPoolTest, AddTimerRefusesBadIntervalsAndDuplicateIdents)
{
    pool_->AddTimer(7, 50, nullptr);
    struct Case {
        WORD ident;
        WORD interval;
        const char* message;
    };
    const Case cases[] = {
        {8, 75, "Interval not compatible with MinInterval property!"},
        {8, 0, "Interval not compatible with MinInterval property!"},
        {8, 25, "Interval not compatible with MinInterval property!"},
        {7, 100, "List index out of bounds (7)"},
    };
    for (const Case& c : cases) {
        try {
            pool_->AddTimer(c.ident, c.interval, nullptr);
            ADD_FAILURE() << c.interval;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message().str(), c.message);
        }
        EXPECT_EQ(pool_->GetCount(), 1);
    }
    EXPECT_EQ(pool_->AddTimer(8, 150, nullptr), 1);
    EXPECT_EQ(pool_->IndexOf(8), 1);
    EXPECT_EQ(pool_->IndexOf(9), -1);
    EXPECT_EQ(pool_->GetTimer(9), nullptr);
}

TEST_F(TimerPoolTest, CallCountDisablesAfterThatManyFiringsAndEnablingStartsAgain)
{
    Recorder* r = NewRecorder();
    pool_->AddTimerExt(1, 50, 3, true, TNotifyEvent(r, &Recorder::Fire));
    TOBLTimerItem* item = pool_->GetTimer(1);
    Ticks(5);
    EXPECT_EQ(r->fired, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(item->Enabled());
    EXPECT_EQ(item->Counter(), 3);
    item->SetEnabled(true);
    EXPECT_EQ(item->Counter(), 0);
    Ticks(5);
    EXPECT_EQ(r->fired, (std::vector<int>{1, 2, 3, 6, 7, 8}));
}

TEST_F(TimerPoolTest, ItemSettersFollowTheirRules)
{
    pool_->AddTimer(1, 100, nullptr);
    TOBLTimerItem* item = pool_->GetTimer(1);
    item->SetCallCount(-5);
    EXPECT_EQ(item->CallCount(), -1);
    item->SetCallCount(0);
    EXPECT_FALSE(item->Enabled());
    item->SetEnabled(true);
    EXPECT_FALSE(item->Enabled());
    item->SetCallCount(2);
    item->SetEnabled(true);
    EXPECT_TRUE(item->Enabled());

    struct Case {
        WORD value;
        WORD interval;
        int ratio;
    };
    const Case cases[] = {{120, 100, 2}, {150, 150, 3}, {0, 50, 1}, {65535, 50, 1}, {500, 500, 10}};
    for (const Case& c : cases) {
        item->SetInterval(c.value);
        EXPECT_EQ(item->Interval(), c.interval) << c.value;
        EXPECT_EQ(item->Ratio(), c.ratio) << c.value;
    }
}

TEST_F(TimerPoolTest, PoolHandlerServesItemsWithoutTheirOwn)
{
    Recorder* r = NewRecorder();
    pool_->SetOnTimer(TOBLTimerPoolEvent(r, &Recorder::PoolFire));
    EXPECT_TRUE(pool_->HasTimerProc());
    pool_->AddTimer(0x21, 100, nullptr);
    Ticks(4);
    EXPECT_EQ(r->poolFired, (std::vector<std::pair<WORD, int>>{{0x21, 1}, {0x21, 2}}));
}

TEST_F(TimerPoolTest, HandlerRemovingItsOwnItemStepsOnByIndex)
{
    Recorder* self = NewRecorder();
    Recorder* next = NewRecorder();
    Recorder* last = NewRecorder();
    self->selfIdent = 1;
    pool_->AddTimer(1, 100, TNotifyEvent(self, &Recorder::RemoveSelf));
    pool_->AddTimer(2, 100, TNotifyEvent(next, &Recorder::Fire));
    pool_->AddTimer(3, 100, TNotifyEvent(last, &Recorder::Fire));
    Ticks(4);
    // The item after the removed one fires on the same tick all the same.
    EXPECT_EQ(self->fired, (std::vector<int>{2}));
    EXPECT_EQ(next->fired, (std::vector<int>{2, 4}));
    EXPECT_EQ(last->fired, (std::vector<int>{2, 4}));
    EXPECT_EQ(pool_->GetCount(), 2);
}

TEST_F(TimerPoolTest, ItemAddedByAHandlerWaitsForTheNextTick)
{
    // A handler that removes its own item and adds it again, as a button restarting its
    // repeat timer does: once per tick, not again and again within one.
    struct Restarter : TObject {
        TOBLTimerPool* pool = nullptr;
        int firings = 0;
        void Restart(TObject*)
        {
            if (++firings > 1000) throw Exception("fires without end");
            pool->RemoveTimer(1);
            pool->AddTimer(1, 50, TNotifyEvent(this, &Restarter::Restart));
        }
    } restarter;
    restarter.pool = pool_.get();
    Recorder* other = NewRecorder();
    pool_->AddTimer(1, 50, TNotifyEvent(&restarter, &Restarter::Restart));
    pool_->AddTimer(2, 50, TNotifyEvent(other, &Recorder::Fire));
    Ticks(3);
    EXPECT_EQ(restarter.firings, 3);
    EXPECT_TRUE(boxes_.empty());
    // The other item fires on every tick, the first one too, though the restarted item
    // moved behind it in the list.
    EXPECT_EQ(other->fired, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(pool_->GetCount(), 2);
}

TEST_F(TimerPoolTest, TicksArrivingWhileHandlersRunAreDropped)
{
    Recorder* modal = NewRecorder();
    Recorder* other = NewRecorder();
    modal->nested = [this] { Run(100); };  // two ticks' worth inside the first handler
    pool_->AddTimer(1, 50, TNotifyEvent(modal, &Recorder::Nested));
    pool_->AddTimer(2, 100, TNotifyEvent(other, &Recorder::Fire));
    Ticks(3);
    // The nested ticks were lost, not queued: the pool counts on from where it was.
    EXPECT_EQ(modal->fired, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(other->fired, (std::vector<int>{2}));
}

TEST_F(TimerPoolTest, WindowsTimerRunsFromAddUntilTheLastItemGoes)
{
    EXPECT_EQ(pool_->WindowHandle(), nullptr);
    pool_->AddTimer(1, 50, nullptr);
    pool_->AddTimer(2, 50, nullptr);
    EXPECT_NE(pool_->WindowHandle(), nullptr);
    EXPECT_EQ(UserTimerCount(), 1);
    pool_->GetTimer(1)->SetEnabled(false);
    pool_->GetTimer(2)->SetEnabled(false);
    EXPECT_EQ(pool_->GetActiveTimers(), 0);
    EXPECT_TRUE(pool_->Running());  // enabling and disabling leave the Windows timer alone
    pool_->RemoveTimer(1);
    EXPECT_TRUE(pool_->Running());
    pool_->RemoveTimer(2);
    EXPECT_FALSE(pool_->Running());
    EXPECT_EQ(UserTimerCount(), 0);
    pool_->AddTimerExt(3, 50, 0, true, nullptr);
    EXPECT_TRUE(pool_->Running());
    pool_->ClearTimers();
    EXPECT_FALSE(pool_->Running());
    EXPECT_EQ(pool_->GetCount(), 0);
    const HWND window = pool_->WindowHandle();
    pool_.reset();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(TimerPoolTest, SetTimerFailureRaisesAndKeepsTheItem)
{
    UserSetTimerFailure(true);
    try {
        pool_->AddTimer(1, 50, nullptr);
        ADD_FAILURE();
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message().str(), "Not enough timers available");
    }
    UserSetTimerFailure(false);
    EXPECT_EQ(pool_->GetCount(), 1);
    EXPECT_FALSE(pool_->Running());
}

TEST_F(TimerPoolTest, HandlerExceptionGoesToTheApplicationAndTicksGoOn)
{
    Recorder* failing = NewRecorder();
    Recorder* other = NewRecorder();
    pool_->AddTimer(1, 100, TNotifyEvent(failing, &Recorder::Raise));
    pool_->AddTimer(2, 50, TNotifyEvent(other, &Recorder::Fire));
    Ticks(4);
    // Shown by the class library: one box per failing tick; the other item fires on.
    EXPECT_EQ(boxes_, (std::vector<std::string>{"handler failed.", "handler failed."}));
    EXPECT_EQ(other->fired, (std::vector<int>{1, 3}));
    Recorder* handler = NewRecorder();
    Application->SetOnException(TExceptionEvent(handler, &Recorder::Caught));
    Ticks(2);
    EXPECT_EQ(handler->caught, (std::vector<std::string>{"handler failed"}));
    EXPECT_EQ(other->fired, (std::vector<int>{1, 3, 5}));
    // Failures outside the exception family are reported too, and the pool goes on.
    pool_->GetTimer(1)->SetOnTimer(TNotifyEvent(failing, &Recorder::RaiseOther));
    Ticks(2);
    EXPECT_EQ(handler->caught, (std::vector<std::string>{"handler failed", "Unknown exception"}));
    EXPECT_EQ(other->fired, (std::vector<int>{1, 3, 5, 7}));
    Application->SetOnException(TExceptionEvent());
}

TEST_F(TimerPoolTest, MinIntervalChangesOnlyWhileDesigning)
{
    pool_->SetInterval(100);
    EXPECT_EQ(pool_->MinInterval(), 50);
    pool_->SetDesigning(true);
    pool_->SetInterval(100);
    EXPECT_EQ(pool_->MinInterval(), 100);
    pool_->SetInterval(0);
    EXPECT_EQ(pool_->MinInterval(), 1);
    // In design state no window and no Windows timer are made.
    pool_->AddTimer(1, 100, nullptr);
    EXPECT_EQ(pool_->WindowHandle(), nullptr);
    EXPECT_FALSE(pool_->Running());

    TOBLTimerPool zero(nullptr, 0);
    EXPECT_EQ(zero.MinInterval(), 1);
    TOBLTimerPool plain(nullptr);
    EXPECT_EQ(plain.MinInterval(), 1000);
}

TEST_F(TimerPoolTest, MinIntervalIsReadFromAFormDescription)
{
    RegisterClass(TOBLTimerPool::StaticClass());
    struct Case {
        const char* value;
        WORD interval;
    };
    for (const Case& c : {Case{"200", 200}, Case{"0", 1}}) {
        TStringStream text(AnsiString("object Pool: TOBLTimerPool\n  MinInterval = ") + c.value + "\nend\n");
        TOwned<TComponent> read(text.ReadComponent(nullptr));
        auto* pool = dynamic_cast<TOBLTimerPool*>(read.get());
        ASSERT_NE(pool, nullptr);
        EXPECT_EQ(pool->MinInterval(), c.interval);
        pool->SetInterval(500);  // loaded: run-time changes are ignored again
        EXPECT_EQ(pool->MinInterval(), c.interval);
    }
    UnRegisterClass(TOBLTimerPool::StaticClass());
}

TEST_F(TimerPoolTest, ItemNeedsPoolAndList)
{
    TList list;
    for (int c = 0; c < 2; ++c) {
        try {
            TOBLTimerItem item(c == 0 ? nullptr : pool_.get(), c == 0 ? &list : nullptr, 1);
            ADD_FAILURE();
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message().str(), "TOBLTimerItem: Invalid Owner or List");
        }
    }
    auto* item = new TOBLTimerItem(pool_.get(), &list, 4);
    EXPECT_EQ(list.Count(), 0);  // it does not enter the list itself
    list.Add(item);
    EXPECT_EQ(item->Interval(), 1000);
    EXPECT_EQ(item->Ratio(), 20);
    delete item;
    EXPECT_EQ(list.Count(), 0);
    // A base interval above the item's default still gives a usable ratio.
    TOBLTimerPool slow(nullptr, 2000);
    TOBLTimerItem fresh(&slow, &list, 5);
    EXPECT_EQ(fresh.Ratio(), 1);
}

}  // namespace
