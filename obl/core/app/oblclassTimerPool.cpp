#include "obl/core/app/oblclass.h"

#include "obl/core/base/Oblconst.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/RtlConsts.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr UINT_PTR kPoolTimerId = 1;

// Counters wrap to 0 instead of turning negative.
int NextCount(int n) { return n == INT32_MAX ? 0 : n + 1; }

} // namespace

// --- TOBLTimerItem ---------------------------------------------------------------------

TOBLTimerItem::TOBLTimerItem(TOBLTimerPool* AOwner, TList* AList, WORD AIdent)
    : ident_(AIdent), list_(AList), owner_(AOwner)
{
    if (!AOwner || !AList) throw EInvalidOperation(ClassName() + ": Invalid Owner or List");
    // A pool whose base interval exceeds the item's default would give a ratio of 0, which
    // no tick is divisible by; such an item fires on every tick until its interval is set.
    ratio_ = std::max(1, interval_ / AOwner->MinInterval());
}

TOBLTimerItem::~TOBLTimerItem()
{
    enabled_ = false;
    onTimer_ = nullptr;
    list_->Remove(this);
}

void TOBLTimerItem::SetCallCount(int Value)
{
    if (Value == callCount_) return;
    callCount_ = Value < -1 ? -1 : Value;
    if (callCount_ == 0) SetEnabled(false);
}

void TOBLTimerItem::SetEnabled(bool Value)
{
    if (Value == enabled_ || (Value && callCount_ == 0)) return;
    enabled_ = Value;
    counter_ = 0;
}

void TOBLTimerItem::SetInterval(WORD Value)
{
    const WORD base = owner_->MinInterval();
    if (Value == 0) Value = base;
    if (Value == interval_ || Value % base != 0) return;
    ratio_ = Value / base;
    interval_ = Value;
    counter_ = 0;
}

void TOBLTimerItem::Timer()
{
    if (!enabled_) return;
    counter_ = NextCount(counter_);
    if (counter_ == callCount_) enabled_ = false;
    if (onTimer_) {
        const TNotifyEvent handler = onTimer_;
        handler(owner_);
    } else if (owner_->HasTimerProc()) {
        owner_->OnTimer()(owner_, ident_, counter_);
    }
}

// --- TOBLTimerPool ---------------------------------------------------------------------

TOBLTimerPool::TOBLTimerPool(TComponent* AOwner) : TOBLCustomComponent(AOwner) {}

TOBLTimerPool::TOBLTimerPool(TComponent* AOwner, WORD AMinInterval) : TOBLTimerPool(AOwner)
{
    minInterval_ = AMinInterval == 0 ? 1 : AMinInterval;
}

TOBLTimerPool::~TOBLTimerPool()
{
    ClearTimers();
    if (window_) DeallocateHWnd(window_);
}

void TOBLTimerPool::Publish(TClassBuilder<TOBLTimerPool>& c)
{
    c.Property("About", &TOBLTimerPool::About, &TOBLTimerPool::SetAbout);
    c.Property("MinInterval", &TOBLTimerPool::MinInterval, &TOBLTimerPool::SetInterval).Default(1000);
    c.Property("OnTimer", &TOBLTimerPool::OnTimer, &TOBLTimerPool::SetOnTimer);
}

void TOBLTimerPool::SetInterval(WORD Value)
{
    const TComponentState state = ComponentState();
    if (!state.Contains(csLoading) && !state.Contains(csDesigning)) return;
    if (Value == 0) Value = 1;
    minInterval_ = Value;
}

int TOBLTimerPool::AddTimer(WORD Ident, WORD Interval, TNotifyEvent Proc)
{
    if (GetCount() > 0 && IndexOf(Ident) >= 0) throw Exception(SListIndexError, {static_cast<int>(Ident)});
    if (Interval % minInterval_ != 0 || Interval < minInterval_) throw Exception(LoadResString(_IDS_INTERVALNOTFIT));
    auto* item = new TOBLTimerItem(this, &items_, Ident);
    item->serial_ = ++lastSerial_;
    const int index = items_.Add(item);
    item->SetInterval(Interval);
    item->SetOnTimer(Proc);
    UpdateMainTimer(true);
    return index;
}

int TOBLTimerPool::AddTimerExt(WORD Ident, WORD Interval, int CallCount, bool Enabled, TNotifyEvent Proc)
{
    const int index = AddTimer(Ident, Interval, Proc);
    Item(index)->SetCallCount(CallCount);
    Item(index)->SetEnabled(Enabled);
    return index;
}

void TOBLTimerPool::RemoveTimer(WORD Ident)
{
    struct Flag {
        bool& flag;
        explicit Flag(bool& f) : flag(f) { flag = true; }
        ~Flag() { flag = false; }
    } removing{removing_};
    const int index = IndexOf(Ident);
    if (index < 0) return;
    TOBLTimerItem* item = Item(index);
    item->SetEnabled(false);
    item->SetOnTimer(nullptr);
    delete item;
    if (GetCount() == 0) UpdateMainTimer(false);
}

void TOBLTimerPool::ClearTimers()
{
    UpdateMainTimer(false);
    while (GetCount() > 0) delete Item(GetCount() - 1);
}

TOBLTimerItem* TOBLTimerPool::GetTimer(WORD Ident) const
{
    const int index = IndexOf(Ident);
    return index < 0 ? nullptr : Item(index);
}

int TOBLTimerPool::IndexOf(WORD Ident) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (Item(i)->Ident() == Ident) return i;
    return -1;
}

int TOBLTimerPool::GetActiveTimers() const
{
    int active = 0;
    for (int i = 0; i < GetCount(); ++i)
        if (Item(i)->Enabled()) ++active;
    return active;
}

void TOBLTimerPool::UpdateMainTimer(bool Activate)
{
    if (ComponentState().Contains(csDesigning)) return;
    // Without a window there is no timer to stop either.
    if (!window_ && !Activate) return;
    if (!window_) window_ = AllocateHWnd(TWndMethod(this, &TOBLTimerPool::WndProc));
    running_ = false;
    KillTimer(window_, kPoolTimerId);
    if (!Activate || GetActiveTimers() == 0) return;
    if (SetTimer(window_, kPoolTimerId, minInterval_, nullptr) == 0) throw EOutOfResources(SNoTimers);
    tick_ = 1;
    running_ = true;
}

void TOBLTimerPool::HandleTimers()
{
    if (removing_) return;
    // The tick moves on also when a handler raises; otherwise the pool would stay on that
    // tick and fire the same items over and over.
    struct NextTick {
        int& tick;
        ~NextTick() { tick = NextCount(tick); }
    } next{tick_};
    // The items due are those present when the tick came, each fired unless a handler before
    // it removed it: a handler that removes its own item (or another) makes no later item
    // miss the tick. One added by a handler (a handler that removes its own item and adds it
    // again, say) waits for the next tick; otherwise it could fire again and again within one.
    struct Due {
        TOBLTimerItem* item;
        unsigned long long serial;
    };
    std::vector<Due> due;
    due.reserve(static_cast<std::size_t>(GetCount()));
    for (int i = 0; i < GetCount(); ++i)
        due.push_back({Item(i), Item(i)->serial_});
    for (const Due& d : due) {
        // An item freed meanwhile is not in the list any more; its address may have gone to
        // a newer item, which the serial tells apart.
        if (items_.IndexOf(d.item) < 0 || d.item->serial_ != d.serial) continue;
        if (d.item->Enabled() && tick_ % d.item->Ratio() == 0)
            d.item->Timer();
    }
}

void TOBLTimerPool::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    if (inHandler_) return;
    inHandler_ = true;
    try {
        HandleTimers();
    } catch (...) {
        inHandler_ = false;
        if (Application) Application->HandleException(this);
        return;
    }
    inHandler_ = false;
}

WORD OBLPoolInterval(WORD Milliseconds)
{
    const int base = OBLApplication ? std::max<int>(1, OBLApplication->TimerPool()->MinInterval()) : 50;
    const int largest = 0xFFFF / base * base;
    const int rounded = (Milliseconds + base - 1) / base * base;
    return static_cast<WORD>(std::clamp(rounded, base, largest));
}
