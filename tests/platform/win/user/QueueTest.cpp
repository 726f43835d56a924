#include "UserFixture.h"

namespace {

std::vector<UINT> Drain(HWND window, UINT first = 0, UINT last = 0) {
    std::vector<UINT> out;
    MSG m{};
    while (PeekMessageA(&m, window, first, last, PM_REMOVE))
        out.push_back(m.message);
    return out;
}

TEST_F(UserTest, PostedMessagesComeInOrderThenQuitThenPaint) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    UserPumpMessages();
    InvalidateRect(top, nullptr, TRUE);
    PostQuitMessage(3);
    for (UINT m : {WM_USER + 1, WM_USER + 2, WM_USER + 3})
        PostMessageA(top, m, 0, 0);
    MSG m{};
    std::vector<UINT> order;
    for (int i = 0; i < 5 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        order.push_back(m.message);
        if (m.message == WM_QUIT) {
            EXPECT_EQ(m.wParam, 3u);
        }
        if (m.message == WM_PAINT)
            ValidateRect(top, nullptr);
    }
    const std::vector<UINT> expected = {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_QUIT, WM_PAINT};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, PeekMessageFiltersByWindowAndRange) {
    HWND a = Create(WS_POPUP, 0, 0, 50, 50);
    HWND b = Create(WS_POPUP, 0, 0, 50, 50);
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(b, WM_USER + 2, 0, 0);
    PostMessageA(a, WM_USER + 3, 0, 0);
    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, WM_USER + 2);
    EXPECT_EQ(Drain(a, WM_USER + 3, WM_USER + 3), std::vector<UINT>{WM_USER + 3});
    EXPECT_EQ(Drain(nullptr), (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
}

TEST_F(UserTest, MessagesOfADestroyedWindowAreDropped) {
    HWND a = Create(WS_POPUP, 0, 0, 50, 50);
    PostMessageA(a, WM_USER, 0, 0);
    DestroyWindow(a);
    EXPECT_TRUE(Drain(nullptr).empty());
}

TEST_F(UserTest, GetMessageAnswersFalseForQuit) {
    PostQuitMessage(0);
    MSG m{};
    EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE);
    EXPECT_EQ(m.message, WM_QUIT);
}

TEST_F(UserTest, TimersFireWhenDueUnderTheVirtualClock) {
    HWND top = Create(WS_POPUP, 0, 0, 50, 50);
    ASSERT_EQ(SetTimer(top, 5, 100, nullptr), 5u);
    struct Step { DWORD advance; int expectedTimers; };
    // Due after 100 ms; a late timer gives one message, not one per missed interval.
    for (Step s : {Step{99, 0}, Step{1, 1}, Step{50, 0}, Step{500, 1}, Step{99, 0}, Step{1, 1}}) {
        clock_.Advance(s.advance);
        int timers = 0;
        MSG m{};
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_TIMER) {
                EXPECT_EQ(m.wParam, 5u);
                ++timers;
            }
        }
        EXPECT_EQ(timers, s.expectedTimers) << "after " << s.advance;
    }
    EXPECT_TRUE(KillTimer(top, 5));
    EXPECT_FALSE(KillTimer(top, 5));
    clock_.Advance(1000);
    EXPECT_TRUE(Drain(nullptr).empty());
}

TEST_F(UserTest, TimerMessagesComeAfterPostedOnes) {
    HWND top = Create(WS_POPUP, 0, 0, 50, 50);
    SetTimer(top, 1, 10, nullptr);
    clock_.Advance(20);
    PostMessageA(top, WM_USER, 0, 0);
    EXPECT_EQ(Drain(nullptr), (std::vector<UINT>{WM_USER, WM_TIMER}));
}

TEST_F(UserTest, TimerCallbacksRunFromDispatch) {
    static int calls = 0;
    calls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++calls; });
    ASSERT_NE(id, 0u);
    clock_.Advance(30);
    UserPumpMessages();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(UserTest, SetTimerCanBeMadeToFail) {
    HWND top = Create(WS_POPUP, 0, 0, 50, 50);
    UserSetTimerFailure(true);
    EXPECT_EQ(SetTimer(top, 1, 50, nullptr), 0u);
    UserSetTimerFailure(false);
    EXPECT_EQ(SetTimer(top, 1, 50, nullptr), 1u);
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x99), 1, 50, nullptr), 0u);
}

TEST_F(UserTest, WaitingForATimerLetsTheFakeClockRun) {
    HWND top = Create(WS_POPUP, 0, 0, 50, 50);
    SetTimer(top, 9, 250, nullptr);
    const DWORD start = GetTickCount();
    MSG m{};
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(GetTickCount() - start, 250u);
}

}  // namespace

namespace {

TEST_F(UserTest, DestroyingAWindowKillsItsTimers) {
    HWND a = Create(WS_POPUP, 0, 0, 50, 50);
    HWND b = Create(WS_POPUP, 0, 0, 50, 50);
    SetTimer(a, 1, 100, nullptr);
    SetTimer(a, 2, 100, nullptr);
    SetTimer(b, 1, 100, nullptr);
    SetTimer(a, 1, 300, nullptr);  // the same id replaces the timer
    EXPECT_EQ(UserTimerCount(), 3);
    DestroyWindow(a);
    EXPECT_EQ(UserTimerCount(), 1);
    clock_.Advance(100);
    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.hwnd, b);
}

}  // namespace
