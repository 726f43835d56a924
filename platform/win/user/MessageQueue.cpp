// Sending, posting and retrieving messages.
#include "platform/win/user/MessageQueue.h"

#include "platform/win/kernel/Time.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/WindowObject.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

namespace {

struct PostedQueue {
    std::mutex lock;
    std::deque<MSG> messages;
    bool quit = false;
    int exitCode = 0;
};

PostedQueue& Posted() {
    static PostedQueue queue;
    return queue;
}

struct RetrievalState {
    DWORD time = 0;
    POINT pos{};
    int sendDepth = 0;
};

RetrievalState& Retrieval() {
    static RetrievalState state;
    return state;
}

bool TakePosted(MSG* out, const MessageFilter& filter, bool remove) {
    PostedQueue& q = Posted();
    std::lock_guard<std::mutex> guard(q.lock);
    for (auto it = q.messages.begin(); it != q.messages.end(); ++it) {
        if (!filter.Accepts(it->hwnd, it->message))
            continue;
        *out = *it;
        if (remove)
            q.messages.erase(it);
        return true;
    }
    return false;
}

bool TakeQuit(MSG* out, const MessageFilter& filter, bool remove) {
    PostedQueue& q = Posted();
    std::lock_guard<std::mutex> guard(q.lock);
    if (!q.quit || filter.window || !filter.Accepts(nullptr, WM_QUIT))
        return false;
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.exitCode), 0, 0, {}};
    if (remove)
        q.quit = false;
    return true;
}

bool Retrieve(MSG* out, const MessageFilter& filter, bool remove) {
    return TakePosted(out, filter, remove) || TakeQuit(out, filter, remove) ||
           UserTakeInputMessage(out, filter, remove) || UserTakePaintMessage(out, filter) ||
           UserTakeTimerMessage(out, filter, remove) || UserTakeHoverMessage(out, filter, remove);
}

}  // namespace

bool MessageFilter::Accepts(HWND target, UINT message) const {
    if (first || last) {
        if (message < first || message > last)
            return false;
    }
    if (!window)
        return true;
    if (window == reinterpret_cast<HWND>(-1))
        return target == nullptr;
    return target == window || IsChild(window, target);
}

DWORD UserThreadId() {
    static std::atomic<DWORD> next{1};
    thread_local DWORD id = next++;
    return id;
}

LRESULT UserSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !w->procedure)
        return 0;
    RetrievalState& state = Retrieval();
    ++state.sendDepth;
    LRESULT result = w->procedure(window, message, wParam, lParam);
    --state.sendDepth;
    return result;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return UserSend(window, message, wParam, lParam);
}

BOOL InSendMessage() { return Retrieval().sendDepth > 0 ? TRUE : FALSE; }

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsWindow(window))
        return FALSE;
    POINT pt{};
    GetCursorPos(&pt);
    {
        PostedQueue& q = Posted();
        std::lock_guard<std::mutex> guard(q.lock);
        q.messages.push_back(MSG{window, message, wParam, lParam, GetTickCount(), pt});
    }
    UserDisplay().Wake();
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    PostedQueue& q = Posted();
    std::lock_guard<std::mutex> guard(q.lock);
    q.quit = true;
    q.exitCode = exitCode;
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!message)
        return FALSE;
    UserDisplay().PollEvents();
    MessageFilter filter{window, filterMin, filterMax};
    if (!Retrieve(message, filter, (removeFlags & PM_REMOVE) != 0)) {
        UserDisplay().Present();  // nothing left to handle: the frame is complete
        return FALSE;
    }
    RetrievalState& state = Retrieval();
    state.time = message->time;
    state.pos = message->pt;
    return TRUE;
}

BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    if (!message)
        return -1;
    while (!PeekMessageA(message, window, filterMin, filterMax, PM_REMOVE)) {
        if (!WaitMessage()) {
            // Nothing can ever arrive (no display, no timer): hand control back
            // with an empty message instead of blocking the thread for good.
            *message = MSG{nullptr, WM_NULL, 0, 0, GetTickCount(), {}};
            return TRUE;
        }
    }
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage() {
    if (UserQueueHasMessages())
        return TRUE;
    // Without a display only timers can wake the thread, and the caret blink brings no input.
    DisplayBackend& display = UserDisplay();
    DWORD due = 0, hover = 0;
    bool hasDeadline = UserNextTimerDue(&due, !display.IsHeadless());
    if (UserNextHoverDue(&hover)) {
        if (!hasDeadline || static_cast<LONG>(hover - due) < 0)
            due = hover;
        hasDeadline = true;
    }
    return display.WaitForEvents(hasDeadline, due) ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (!message)
        return 0;
    if ((message->message == WM_TIMER) && message->lParam) {
        reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam, GetTickCount());
        return 0;
    }
    if (!message->hwnd)
        return 0;
    return UserSend(message->hwnd, message->message, message->wParam, message->lParam);
}

DWORD GetMessageTime() { return Retrieval().time; }

DWORD GetMessagePos() {
    const POINT& p = Retrieval().pos;
    return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

bool UserQueueHasMessages() {
    {
        PostedQueue& q = Posted();
        std::lock_guard<std::mutex> guard(q.lock);
        if (!q.messages.empty() || q.quit)
            return true;
    }
    return UserHasPendingInput();
}

void UserPurgeWindowMessages(HWND window) {
    PostedQueue& q = Posted();
    std::lock_guard<std::mutex> guard(q.lock);
    std::erase_if(q.messages, [&](const MSG& m) { return m.hwnd == window; });
}

void UserResetQueue() {
    PostedQueue& q = Posted();
    std::lock_guard<std::mutex> guard(q.lock);
    q.messages.clear();
    q.quit = false;
    q.exitCode = 0;
    Retrieval() = RetrievalState{};
}
