// A clean window system, class-library application and fake clock for each test, and a
// way to let pooled timers tick.
#pragma once

#include "platform/classlib/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        FormsInitialization();
        UserSetMessageBoxResponder([this](const MessageBoxRequest& request) {
            boxes_.push_back(request.text.str());
            return IDOK;
        });
    }
    void TearDown() override
    {
        UserSetMessageBoxResponder(nullptr);
        FormsFinalization();
        UserResetWindowSystem();
    }

    // Moves the clock on in steps of `step` milliseconds, handling every message after each.
    void Run(int milliseconds, int step = 50)
    {
        for (int passed = 0; passed < milliseconds; passed += step) {
            clock_.Advance(static_cast<std::uint32_t>(step));
            Pump();
        }
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    TFakeClock clock_{45000.0, 1000};
    TClockOverride clockOverride_{clock_};
    std::vector<std::string> boxes_;
};
