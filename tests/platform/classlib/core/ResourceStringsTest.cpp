#include "platform/classlib/ResourceStrings.h"

#include "platform/classlib/Classes.h"

#include <gtest/gtest.h>

#include <algorithm>

VENDARO_RESOURCESTRING(STestGreeting, "Hello")
VENDARO_RESOURCESTRING(STestFarewell, "Good&bye")

namespace {

class ResourceStringsTest : public ::testing::Test {
protected:
    void TearDown() override { ResetResourceStrings(); }
};

} // namespace

TEST_F(ResourceStringsTest, DefaultsByIdentifier)
{
    EXPECT_EQ(LoadResString(STestGreeting), "Hello");
    EXPECT_EQ(AnsiString(STestFarewell), "Good&bye");
    EXPECT_TRUE(ResourceStringExists("STestGreeting"));
    EXPECT_FALSE(ResourceStringExists("stestgreeting"));
    EXPECT_EQ(ResourceStringText("STestFarewell"), "Good&bye");
    EXPECT_EQ(ResourceStringText("SUnknown"), "");
    auto ids = ResourceStringIdentifiers();
    auto greeting = std::find(ids.begin(), ids.end(), AnsiString("STestGreeting"));
    auto farewell = std::find(ids.begin(), ids.end(), AnsiString("STestFarewell"));
    ASSERT_NE(greeting, ids.end());
    EXPECT_EQ(farewell, greeting + 1);
}

TEST_F(ResourceStringsTest, TranslationReplacesTextsAndResetRestores)
{
    EXPECT_TRUE(SetResourceStringText("STestGreeting", "Ciao"));
    EXPECT_FALSE(SetResourceStringText("SUnknown", "x"));
    EXPECT_EQ(LoadResString(STestGreeting), "Ciao");

    TStringList italian;
    italian.SetText("STestFarewell=Arriveder&ci\r\nSUnknown=nulla\r\nnot a line\r\nSTestGreeting=\r\n");
    EXPECT_EQ(LoadResourceStringTable(italian), 2);
    EXPECT_EQ(STestFarewell.Text(), "Arriveder&ci");
    EXPECT_EQ(STestGreeting.Text(), ""); // an empty translation is a translation

    ResetResourceStrings();
    EXPECT_EQ(STestGreeting.Text(), "Hello");
    EXPECT_EQ(STestFarewell.Text(), "Good&bye");
}
