#include "obl/core/base/Oblconst.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(OblconstTest, DefaultTexts)
{
    struct Case {
        const TResourceString& entry;
        const char* text;
    } cases[] = {
        {_IDS_PATH, "Path:"},
        {_IDS_NEWPATH, "&New Folder"},
        {_IDS_TIPERROR, "No Tips available - Dialog will not be displayed..."},
        {_IDS_SEARCHMSG1, "At top ... restart from bottom?"},
        {_IDS_INVALIDOWNER, "Invalid owner (<>TForm) or second instance on a form"},
        {_IDS_INTERVALNOTFIT, "Interval not compatible with MinInterval property!"},
        {_IDS_NEXT, "Ne&xt >"},
        {_IDS_BACK, "< &Back"},
        {_IDS_ALREADYSTARTED, "was already started..."},
        {_IDS_AboutInfo, "Info "},
        {_IDS_DONTSHOWAGAIN, "Don't show again"},
        {_IDS_REMOTE, "remote (network) drive"},
        {_IDS_COLORDEPTH, "Colordepth (in bits)"},
        {_IDS_PRODUCTVERSION, "Version"},
        {_IDS_TRADEMARK, "LegalTrademark"},
        {_IDS_CPUSPEED, "CPU Speed"},
        {_IDS_DIRPATH, "&Path:"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.entry.Text(), c.text) << c.entry.Identifier();
        EXPECT_EQ(LoadResString(c.entry), c.text);
    }
    EXPECT_FALSE(_IDS_PROPERTYNOTUSED.Text().IsEmpty());
}

TEST(OblconstTest, EveryLibraryTextIsInTheTable)
{
    const auto ids = ResourceStringIdentifiers();
    const auto library = std::count_if(ids.begin(), ids.end(), [](const AnsiString& id) {
        return Copy(id, 1, 5) == "_IDS_" && ResourceStringExists(id);
    });
    EXPECT_GE(library, 119);
    EXPECT_TRUE(ResourceStringExists("_IDS_SMALLICONS"));
    EXPECT_TRUE(ResourceStringExists("_IDS_AboutCompatible"));
}

TEST(OblconstTest, ATranslationReplacesTheText)
{
    ASSERT_TRUE(SetResourceStringText("_IDS_CANCEL", "Annulla"));
    EXPECT_EQ(LoadResString(_IDS_CANCEL), "Annulla");
    ResetResourceStrings();
    EXPECT_EQ(LoadResString(_IDS_CANCEL), "Cancel");
}

} // namespace
