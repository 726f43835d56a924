// A form with two owner-drawn buttons on a clean window system, with the library's units
// started (themes as the test asks), a fake clock for the pooled timers, injected mouse
// input and a counter of each button's clicks.
#pragma once

#include "obl/controls/buttons/OBLButton.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/startup/OBLUnits.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win/kernel/UxTheme.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Counts the clicks of the buttons it is hung on and runs an optional action on each.
class TClickCounter : public TObject {
    VENDARO_CLASS(TClickCounter, TObject)
public:
    void Click(TObject* sender)
    {
        ++clicks;
        if (onClick) onClick(sender);
    }
    void Event(TObject*) { events.push_back(name); }

    int clicks = 0;
    std::string name;
    std::vector<std::string> events;
    std::function<void(TObject*)> onClick;
};

class ButtonFixture : public ::testing::Test {
protected:
    explicit ButtonFixture(TThemeModuleState themes = TThemeModuleState::Inactive) : themes_(themes) {}

    void SetUp() override
    {
        UserResetWindowSystem();
        ResetControlsState();
        SetThemeModuleState(themes_);
        FormsInitialization();
        OBLInitializeUnits();
        OBLButtonInitialization();
        UserSetMessageBoxResponder([this](const MessageBoxRequest& box) {
            boxes.push_back(box.text.c_str());
            return IDOK;
        });
        form = new TForm(Application);
        form->SetBounds(100, 100, 320, 200);
        form->SetColor(clBtnFace);
        form->Font()->SetName("MS Sans Serif");
        form->Font()->SetHeight(-11);
        button = NewButton("Button", "&Prova", 20, 20);
        other = NewButton("Other", "Altro", 20, 100);
        form->Show();
        Pump();
    }

    void TearDown() override
    {
        UserSetMessageBoxResponder(nullptr);
        UserSetPopupMenuResponder(nullptr);
        OBLFinalizeUnits();
        FormsFinalization();
        ResetThemeModuleForTesting();
        UserResetWindowSystem();
    }

    TOBLButton* NewButton(const char* name, const char* caption, int left, int top)
    {
        auto* b = new TOBLButton(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetBounds(left, top, 90, 30);
        b->SetCaption(caption);
        b->SetOnClick(TNotifyEvent(&counter, &TClickCounter::Click));
        return b;
    }

    void Pump()
    {
        for (;;) {
            try {
                Application->ProcessMessages();
                return;
            } catch (const Exception&) {
                Application->HandleException(Application);
            }
        }
    }
    // Moves the clock on in steps of the pool's 50 ms, handling the messages after each.
    void Run(int milliseconds)
    {
        for (int passed = 0; passed < milliseconds; passed += 50) {
            clock_.Advance(50);
            Pump();
        }
    }

    TPoint At(TControl* control, int x, int y) { return control->ClientToScreen(Point(x, y)); }
    TPoint Middle(TControl* control) { return At(control, control->Width() / 2, control->Height() / 2); }
    void MoveTo(TPoint p)
    {
        UserInjectMouseMove(p.x, p.y);
        Pump();
    }
    // A point of the form away from both buttons.
    TPoint Away() { return form->ClientToScreen(Point(250, 170)); }
    void Press(TPoint p)
    {
        UserInjectMouseMove(p.x, p.y);
        UserInjectMouseButton(MouseButton::Left, true, p.x, p.y);
        Pump();
    }
    void Release(TPoint p)
    {
        UserInjectMouseButton(MouseButton::Left, false, p.x, p.y);
        Pump();
    }

    // Pooled timers of the application object.
    int PoolTimers() const { return OBLApplication->TimerPool()->GetCount(); }

    TFakeClock clock_{45000.0, 1000};
    TClockOverride clockOverride_{clock_};
    TThemeModuleState themes_;
    TClickCounter counter;
    TForm* form = nullptr;
    TOBLButton* button = nullptr;
    TOBLButton* other = nullptr;
    std::vector<std::string> boxes;
};
