#include "obl/core/base/Oblconst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

TEST(OblconstTest, DefaultTexts)
{
    struct Case {
        const TResourceString& entry;
        const char* text;
    } cases[] = {
        {_IDS_PATH, "Path:"},
        {_IDS_NEWPATH, "&New Folder"},
        {_IDS_ON, "ON"},
        {_IDS_TIPERROR, "No Tips available - Dialog will not be displayed..."},
        {_IDS_OFF, "OFF"},
        {_IDS_SHOWATSTART, "Show tips at every start"},
        {_IDS_ADDSECTION, "Add Sect&ion"},
        {_IDS_TIPNEXT, "&Next Tip"},
        {_IDS_DELSECTION, "D&elete Section"},
        {_IDS_TIPPREV, "&Previous Tip"},
        {_IDS_RENSECTION, "Re&name Section"},
        {_IDS_WLCAPTION, "Windowlist..."},
        {_IDS_ADDITEM, "&Add Item"},
        {_IDS_WLDESC, "Available &Windows:"},
        {_IDS_DELITEM, "&Delete Item"},
        {_IDS_DONTSHOWAGAIN, "Don't show again"},
        {_IDS_RENITEM, "&Rename Item"},
        {_IDS_INPUTCAPTION, "Input..."},
        {_IDS_SMALLICONS, "&Small icons"},
        {_IDS_TEXTEDITORCAPTION, "Text Editor"},
        {_IDS_LARGEICONS, "&Large icons"},
        {_IDS_FILE, "Files"},
        {_IDS_CALCAPTION, "Calendar..."},
        {_IDS_NOROOTDIR, "no root directory"},
        {_IDS_ACTUALDATE, "Actual date"},
        {_IDS_REMOVABLE, "removable"},
        {_IDS_INSERT, "&Insert"},
        {_IDS_FIXEDDRIVE, "fixed drive"},
        {_IDS_COPY, "&Copy"},
        {_IDS_REMOTE, "remote (network) drive"},
        {_IDS_CUT, "&Cut"},
        {_IDS_CDROM, "CD-ROM"},
        {_IDS_UNDO, "&Undo"},
        {_IDS_RAMDISK, "ramdisk"},
        {_IDS_SELECTALL, "Select all"},
        {_IDS_USERNAME, "Username"},
        {_IDS_DELETE, "&Delete"},
        {_IDS_WINDOWSDIR, "Windows directory"},
        {_IDS_SEARCH, "Search"},
        {_IDS_CURRDIR, "Current directory"},
        {_IDS_SEARCHMSG1, "At top ... restart from bottom?"},
        {_IDS_FREESPACE, "Free space on current disk"},
        {_IDS_SEARCHMSG2, "At bottom ... restart from top?"},
        {_IDS_DISKSIZE, "Disk size of current Disk"},
        {_IDS_REPLACE, "Replace"},
        {_IDS_SYSTEMDIR, "System directory"},
        {_IDS_WORDWRAP, "Wordwrap"},
        {_IDS_REGISTEREDOWNER, "Registered owner"},
        {_IDS_LINED, "Lined"},
        {_IDS_REGISTEREDCOMPANY, "Registered company"},
        {_IDS_REDO, "Redo"},
        {_IDS_VERSION, "Version"},
        {_IDS_FONT, "Font"},
        {_IDS_COLORDEPTH, "Colordepth (in bits)"},
        {_IDS_CLEAR, "Clear"},
        {_IDS_SCREENSAVERDELAY, "Screensaver delay"},
        {_IDS_ALIGNLEFT, "Align left"},
        {_IDS_MEMORYSIZE, "Memory size"},
        {_IDS_ALIGNRIGHT, "Align right"},
        {_IDS_FREESYSTEMRESOURCES, "Free system resources"},
        {_IDS_ALIGNCENTER, "Center"},
        {_IDS_FREEGDIRES, "Free GDI resources"},
        {_IDS_STATISTICS, "Text statistics"},
        {_IDS_FREEUSERRES, "Free user resources"},
        {_IDS_OPEN, "Open"},
        {_IDS_COMPUTERNAME, "Computername"},
        {_IDS_SAVE, "Save"},
        {_IDS_MAJORVERSION, "Major version"},
        {_IDS_PRINT, "Print"},
        {_IDS_BUILD, "Build"},
        {_IDS_PAGE, "Page"},
        {_IDS_MEMORYLOADED, "Memory loaded"},
        {_IDS_EDIT, "Edit"},
        {_IDS_MEMORYFREE, "Memory free"},
        {_IDS_MUSTSHOWONE, "One clock style must be active!"},
        {_IDS_MEMORYFREEPAGES, "Free memory pages"},
        {_IDS_INVALIDOWNER, "Invalid owner (<>TForm) or second instance on a form"},
        {_IDS_MEMORYTOTALPAGES, "Total memory pages"},
        {_IDS_INTERVALNOTFIT, "Interval not compatible with MinInterval property!"},
        {_IDS_MEMORYVIRTUALFREE, "Free virtual memory"},
        {_IDS_NEXT, "Ne&xt >"},
        {_IDS_MEMORYVIRTUALTOTAL, "Total virtual memory"},
        {_IDS_BACK, "< &Back"},
        {_IDS_PLATFORMID, "Platform ID"},
        {_IDS_FINISH, "&Finish"},
        {_IDS_PLATFORM, "Platform"},
        {_IDS_HELP, "&Help"},
        {_IDS_PROCESSORNUMBER, "Number of processors"},
        {_IDS_CLOSE, "&Close"},
        {_IDS_PROCESSOR, "Processor"},
        {_IDS_CANCEL, "Cancel"},
        {_IDS_TEMPPATH, "Temp path"},
        {_IDS_DOSVERSION, "DOS version"},
        {_IDS_CLEARLIST, "Clear List..."},
        {_IDS_NUMLOCK, "NumLock"},
        {_IDS_CLEARLISTHINT, "Clear recent files list"},
        {_IDS_CAPSLOCK, "CapsLock"},
        {_IDS_CLEARLISTREQUEST, "Really clear recent files list?"},
        {_IDS_SCROLL, "ScrollLock"},
        {_IDS_ALREADYSTARTED, "was already started..."},
        {_IDS_DATETIME, "Date and time"},
        {_IDS_AboutInfo, "Info "},
        {_IDS_COMPANYNAME, "CompanyName"},
        {_IDS_AboutAvailMemory, "Available Memory:"},
        {_IDS_PRODUCTNAME, "ProductName"},
        {_IDS_AboutSysRes, "System Resources:"},
        {_IDS_PRODUCTVERSION, "Version"},
        {_IDS_AboutCompatible, "or compatible"},
        {_IDS_LEGALCOPYRIGHT, "Copyright"},
        {_IDS_AboutPlatform, "Platform, CPU:"},
        {_IDS_TRADEMARK, "LegalTrademark"},
        {_IDS_FREE, "free"},
        {_IDS_FILEDESCRIPTION, "FileDescription"},
        {_IDS_DIRCAPTION, "Select Path..."},
        {_IDS_COMMENTS, "Comments"},
        {_IDS_DIRDRIVE, "&Drive:"},
        {_IDS_CPUSPEED, "CPU Speed"},
        {_IDS_DIRPATH, "&Path:"},
    };
    // Every text of the library but the designer's notice, whose wording is the library's own.
    static_assert(std::size(cases) == 118);
    for (const Case& c : cases) {
        EXPECT_EQ(c.entry.Text(), c.text) << c.entry.Identifier();
        EXPECT_EQ(LoadResString(c.entry), c.text) << c.entry.Identifier();
        EXPECT_TRUE(ResourceStringExists(c.entry.Identifier())) << c.entry.Identifier();
    }
    EXPECT_FALSE(_IDS_PROPERTYNOTUSED.Text().IsEmpty());
    EXPECT_EQ(LoadResString(_IDS_PROPERTYNOTUSED), _IDS_PROPERTYNOTUSED.Text());
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
