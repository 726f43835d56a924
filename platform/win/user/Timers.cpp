// SetTimer, KillTimer and WM_TIMER generation.
#include "platform/win/user/Timers.h"

#include "platform/win/kernel/Time.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/WindowObject.h"

#include <algorithm>
#include <vector>

namespace {

constexpr UINT kMinimumInterval = 10;
constexpr UINT_PTR kFirstThreadTimerId = 0x7FF0;

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT interval;
    DWORD due;
    TIMERPROC procedure;
    bool cosmetic;
};

struct TimerState {
    std::vector<Timer> timers;
    bool failing = false;
    int failNext = 0;
    UINT_PTR nextThreadId = kFirstThreadTimerId;
};

TimerState& State() {
    static TimerState state;
    return state;
}

bool IsDue(const Timer& t, DWORD now) { return static_cast<LONG>(now - t.due) >= 0; }

}  // namespace

namespace {

UINT_PTR AddTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure, bool cosmetic) {
    TimerState& s = State();
    if (s.failNext > 0) {
        --s.failNext;
        return 0;
    }
    if (s.failing || (window && !IsWindow(window)))
        return 0;
    if (!window)
        id = s.nextThreadId++;
    const UINT interval = std::max(elapse, kMinimumInterval);
    const DWORD due = GetTickCount() + interval;
    for (Timer& t : s.timers) {
        if (t.window == window && t.id == id) {
            t = Timer{window, id, interval, due, procedure, cosmetic};
            return window ? (id ? id : 1) : id;
        }
    }
    s.timers.push_back(Timer{window, id, interval, due, procedure, cosmetic});
    return window ? (id ? id : 1) : id;
}

}  // namespace

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    return AddTimer(window, id, elapse, procedure, false);
}

UINT_PTR UserSetCosmeticTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    return AddTimer(window, id, elapse, procedure, true);
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = State().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it == timers.end())
        return FALSE;
    timers.erase(it);
    return TRUE;
}

bool UserTakeTimerMessage(MSG* out, const MessageFilter& filter, bool remove) {
    const DWORD now = GetTickCount();
    for (Timer& t : State().timers) {
        if (!IsDue(t, now) || !filter.Accepts(t.window, WM_TIMER))
            continue;
        POINT pt{};
        GetCursorPos(&pt);
        *out = MSG{t.window, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.procedure), now, pt};
        if (remove)
            t.due = now + t.interval;
        return true;
    }
    return false;
}

bool UserNextTimerDue(DWORD* tick, bool includeCosmetic) {
    const DWORD now = GetTickCount();
    bool found = false;
    LONG best = 0;
    for (const Timer& t : State().timers) {
        if (t.cosmetic && !includeCosmetic)
            continue;
        const LONG wait = static_cast<LONG>(t.due - now);
        best = found ? std::min(best, wait) : wait;
        found = true;
    }
    if (found)
        *tick = now + static_cast<DWORD>(std::max<LONG>(best, 0));
    return found;
}

void UserKillWindowTimers(HWND window) {
    std::erase_if(State().timers, [&](const Timer& t) { return t.window == window; });
}

void UserSetTimerFailure(bool fail) { State().failing = fail; }
void UserFailNextSetTimers(int count) { State().failNext = count; }
int UserTimerCount() { return static_cast<int>(State().timers.size()); }
void UserResetTimers() { State() = TimerState{}; }
