// Checks a dialog against its form description: the form's caption, size, border, place and
// font, then each control's place, parent, caption, tab order, state and font.
#pragma once

#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

struct ExpectedForm {
    const char* caption;
    int clientWidth;
    int clientHeight;
    TFormBorderStyle borderStyle;
    int left;
    int top;
};

struct ExpectedControl {
    TControl* control;
    TWinControl* parent;
    TRect bounds;
    const char* caption; // nullptr: a control without a caption of its own (a list box)
    int tabOrder;        // -1: a windowless control
    bool enabled = true;
    bool bold = false;
    bool autoSized = false; // keeps its place and takes the size of its text
};

// Every form of the programs uses the same font: "MS Sans Serif", height -11.
inline void ExpectFormLayout(TForm* form, const ExpectedForm& expected, std::initializer_list<ExpectedControl> controls)
{
    auto edges = [](const TRect& r) { return std::vector<LONG>{r.left, r.top, r.right, r.bottom}; };
    EXPECT_EQ(form->Caption(), expected.caption);
    EXPECT_EQ(form->ClientWidth(), expected.clientWidth);
    EXPECT_EQ(form->ClientHeight(), expected.clientHeight);
    EXPECT_EQ(form->BorderStyle(), expected.borderStyle);
    EXPECT_EQ(form->Left(), expected.left);
    EXPECT_EQ(form->Top(), expected.top);
    EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(form->Font()->Height(), -11);
    for (const ExpectedControl& e : controls) {
        ASSERT_NE(e.control, nullptr);
        const std::string name = e.control->Name().c_str();
        if (e.autoSized) {
            EXPECT_EQ(e.control->Left(), e.bounds.left) << name;
            EXPECT_EQ(e.control->Top(), e.bounds.top) << name;
        } else {
            EXPECT_EQ(edges(e.control->BoundsRect()), edges(e.bounds)) << name;
        }
        if (auto* label = dynamic_cast<TLabel*>(e.control)) {
            EXPECT_EQ(label->AutoSize(), e.autoSized) << name;
        }
        EXPECT_EQ(e.control->Parent(), e.parent) << name;
        if (e.caption) {
            EXPECT_EQ(e.control->Caption(), e.caption) << name;
        }
        if (e.tabOrder >= 0) {
            auto* windowed = dynamic_cast<TWinControl*>(e.control);
            ASSERT_NE(windowed, nullptr) << name;
            EXPECT_EQ(windowed->TabOrder(), e.tabOrder) << name;
        } else {
            EXPECT_EQ(dynamic_cast<TWinControl*>(e.control), nullptr) << name << " is windowed";
        }
        EXPECT_EQ(e.control->Enabled(), e.enabled) << name;
        EXPECT_EQ(e.control->Font()->Style().Contains(fsBold), e.bold) << name;
        EXPECT_EQ(e.control->Font()->Name(), "MS Sans Serif") << name;
        EXPECT_EQ(e.control->Font()->Height(), -11) << name;
    }
}
