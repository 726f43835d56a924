#include "obl/core/base/Oblctrl.h"

#include "platform/classlib/Controls.h"
#include "platform/classlib/Forms.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

namespace {

TEST(OblctrlTest, UniqueNames)
{
    TComponent owner(nullptr);
    for (const char* name : {"OBLButton1", "oblbutton2", "Edit1"}) (new TComponent(&owner))->SetName(name);
    struct Case {
        const char* base;
        TComponent* owner;
        const char* expected;
    } cases[] = {
        {"TOBLButton", &owner, "OBLButton3"},
        {"tOBLButton", &owner, "OBLButton3"},
        {"Edit", &owner, "Edit2"},
        {"TEdit", &owner, "Edit2"},
        {"Label", &owner, "Label1"},
        {"T", nullptr, "1"},
        {"TEdit", nullptr, "Edit1"},
        {"Pct%d%s", &owner, "Pct%d%s1"},
        {"", nullptr, "1"},
    };
    for (const Case& c : cases) EXPECT_EQ(OBLUniqueName(c.base, c.owner), c.expected) << c.base;
    const AnsiString longBase = "T" + AnsiString(std::string(300, 'x'));
    EXPECT_EQ(OBLUniqueName(longBase, nullptr), AnsiString(std::string(255, 'x')) + "1");
}

TEST(OblctrlTest, CreateHandle)
{
    UserResetWindowSystem();
    FormsInitialization();
    OBLCreateHandle(nullptr);
    auto* form = new TForm(Application);
    EXPECT_FALSE(form->HandleAllocated());
    OBLCreateHandle(form);
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_TRUE(IsWindow(form->Handle()));
    form->Free();
    FormsFinalization();
    UserResetWindowSystem();
}

} // namespace
