// Shared fixture of the window-system tests: a clean window system, a fake clock and
// a window class whose procedure records the messages it receives.
#pragma once

#include "platform/rtl/Clock.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct LoggedMessage {
    LoggedMessage(HWND w, UINT m, WPARAM wp = 0, LPARAM lp = 0) : window(w), message(m), wParam(wp), lParam(lp) {}
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const LoggedMessage& o) const { return window == o.window && message == o.message; }
};

class UserTest : public ::testing::Test {
public:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Replaces the answer of one message for one window, or for every window when 0 (after logging it).
    static void Answer(HWND window, UINT message, std::function<LRESULT(WPARAM, LPARAM)> answer);

protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the recording class.
    HWND Create(DWORD style, int x, int y, int width, int height, HWND parent = nullptr, DWORD exStyle = 0,
                const char* text = "", int id = 0);
    // Messages received since the last call (or creation), restricted to `only` when given.
    std::vector<UINT> Take(HWND window, const std::set<UINT>& only = {});
    std::vector<LoggedMessage> TakeAll(const std::set<UINT>& only);
    void ClearLog();
    int Pump() { return UserPumpMessages(); }
    POINT ScreenOf(HWND window, int x, int y);

    TFakeClock clock_{0.0, 1000};
    std::unique_ptr<TClockOverride> clockGuard_;
};

