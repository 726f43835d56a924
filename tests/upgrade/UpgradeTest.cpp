#include "platform/win/gdi/Surface.h"
#include "tests/upgrade/ProgramFixture.h"
#include "tests/support/FormLayout.h"
#include "tests/upgrade/FailingWrites.h"
#include "tests/support/TestDisplay.h"
#include "upgrade/Unit1.h"
#include "upgrade/UnitInitialization.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const char* const kDone = "Il database \xE8 stato aggiornato";
const char* const kFailed = "Errore nell'aggiornamento del database";
const ShownBox kReportMissingBox{"Non trovo il database dei reports: RPTDATA.mdb", "Upgrade databse"};

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct UpgradedTable {
    const char* name;
    bool withRitenuta;
};
const UpgradedTable kUpgradedTables[] = {
    {"clienti", false},  {"documenti", true}, {"DDT", true},         {"ordini", true}, {"ordinicli", true},
    {"preventivi", true}, {"ricfisc", true},   {"notecredito", true}, {"fattpf", true},
};
const char* const kHeaderTables[] = {
    "DDT-Intestazione",           "Fattura-Intestazione",     "Nota di credito-Intestazione",
    "Ordine Cliente-Intestazione", "Ordine Fornitore-Intestazione", "Preventivo-Intestazione",
    "Ricevuta Fiscale-Intestazione",
};

class UpgradeProgram : public ProgramFixture {
protected:
    UpgradeProgram() : ProgramFixture(InitializeUnits, FinalizeUnits)
    {
        // clienti starts empty in the samples: give the update rows to set.
        auto data = OpenData();
        data->Execute("insert into clienti (codice, nome) values('C1', 'Rossi')");
        data->Execute("insert into clienti (codice, nome) values('C2', 'Bianchi')");
    }

    TForm1* Start() { return StartProgram(Form1, "Upgrade Vendaro 5"); }

    // Starts the program and clicks its button once.
    TForm1* StartAndUpgrade()
    {
        TForm1* form = Start();
        Click(form->Button1);
        return form;
    }

    // Whether a statement on the data or the report database runs.
    static bool Runs(DbiConnection& db, const AnsiString& sql)
    {
        try {
            db.Execute(sql);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

    void ExpectDataNotUpgraded()
    {
        auto data = OpenData();
        for (const UpgradedTable& t : kUpgradedTables)
            EXPECT_FALSE(Runs(*data, AnsiString("select CheckA from ") + t.name)) << t.name;
    }

    void ExpectReportNotUpgraded()
    {
        auto report = OpenReport();
        for (const char* t : kHeaderTables)
            EXPECT_FALSE(Runs(*report, AnsiString("select Ritenuta from [") + t + "]")) << t;
    }
};

TEST_F(UpgradeProgram, DialogMatchesItsFormDescription)
{
    TForm1* form = StartProgram(Form1, "Upgrade Vendaro 5");
    EXPECT_EQ(Application->Title(), "Upgrade Vendaro 5");
    ExpectFormLayout(
        form, {"Gestione upgrade database Vendaro 5", 563, 161, bsDialog, 219, 198},
        {
            {form->Label1, form, Bounds(16, 24, 521, 17),
             "Questa procedura permette di aggiornare il database del programma Vendaro 5", -1, true, true},
            {form->Button1, form, Bounds(16, 64, 121, 33), "Aggiorna database", 0},
            {form->Label2, form, Bounds(16, 120, 529, 17), "-", -1, true, true},
        });
    EXPECT_TRUE(form->Button1->Enabled());
    EXPECT_EQ(form->Database1->DatabaseName(), "VenDar5");
    EXPECT_EQ(form->Database1->DriverName(), "STANDARD");
    EXPECT_EQ(form->Database2->DatabaseName(), "SVenDar5");
    EXPECT_EQ(form->Database2->DriverName(), "MSACCESS");
    EXPECT_FALSE(form->Database2->LoginPrompt());
    EXPECT_EQ(form->Query1->DatabaseName(), "VenDar5");
    EXPECT_EQ(form->Query2->DatabaseName(), "SVenDar5");
    EXPECT_TRUE(form->Query1->RequestLive() && form->Query2->RequestLive());
}

TEST_F(UpgradeProgram, ShowPointsBothDatabasesAtTheWorkingDirectory)
{
    UserResetWindowSystem();
    InitializeUnits();
    Application->CreateForm(Form1);
    EXPECT_EQ(Form1->AppPath(), "");
    FinalizeUnits();

    TForm1* form = Start();
    const AnsiString appPath = GetCurrentDir() + "\\";
    EXPECT_EQ(form->AppPath(), appPath);
    ASSERT_EQ(form->Database1->Params()->Count(), 1);
    EXPECT_EQ(form->Database1->Params()->Strings(0), "PATH=" + appPath + "Dati");
    EXPECT_TRUE(form->Database1->Connected());
    ASSERT_EQ(form->Database2->Params()->Count(), 2);
    EXPECT_EQ(form->Database2->Params()->Strings(0), "DATABASE NAME=" + appPath + "ComponenteStampa\\RPTDATA.mdb");
    EXPECT_EQ(form->Database2->Params()->Strings(1), "OPEN MODE=READ/WRITE");
    EXPECT_FALSE(form->Database2->Connected());
}

TEST_F(UpgradeProgram, OneClickUpgradesBothDatabases)
{
    TForm1* form = StartAndUpgrade();
    EXPECT_EQ(form->Label2->Caption(), kDone);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(form->Button1->Enabled());
    EXPECT_FALSE(IsWindowEnabled(form->Button1->Handle()));
    StopProgram();

    auto data = OpenData();
    for (const UpgradedTable& t : kUpgradedTables) {
        const AnsiString columns = t.withRitenuta ? "CheckA, Ritenuta" : "CheckA";
        const auto rows = Rows(*data, "select " + columns + " from " + t.name);
        EXPECT_FALSE(rows.empty()) << t.name;
        for (const auto& row : rows)
            for (const AnsiString& value : row)
                EXPECT_EQ(value, "0") << t.name;
    }
    auto report = OpenReport();
    for (const char* t : kHeaderTables) {
        const DbiResult result = report->Execute(AnsiString("select Ritenuta from [") + t + "]");
        ASSERT_EQ(result.columns.size(), 1u) << t;
        EXPECT_EQ(result.columns[0].type, DbiFieldType::String) << t;
        EXPECT_EQ(result.columns[0].size, 255) << t;
        EXPECT_EQ(result.rows.size(), 1u) << t;
    }
}

TEST_F(UpgradeProgram, SecondRunFailsAtTheFirstStatementAndChangesNothing)
{
    StartAndUpgrade();
    StopProgram();
    {
        auto data = OpenData();
        data->Execute("update clienti set CheckA = 5");
        data->Execute("update documenti set CheckA = 6, Ritenuta = 7");
    }
    TForm1* form = StartAndUpgrade();
    EXPECT_EQ(form->Label2->Caption(), kFailed);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(form->Button1->Enabled());
    StopProgram();
    auto data = OpenData();
    EXPECT_EQ(Rows(*data, "select distinct CheckA from clienti"), (std::vector<std::vector<AnsiString>>{{"5"}}));
    EXPECT_EQ(Rows(*data, "select distinct CheckA, Ritenuta from documenti"),
              (std::vector<std::vector<AnsiString>>{{"6", "7"}}));
}

TEST_F(UpgradeProgram, ReportDatabaseWithoutHeaderTablesLeavesTheDataUnchanged)
{
    {
        auto report = OpenReport();
        for (const char* t : kHeaderTables)
            report->Execute(AnsiString("DROP TABLE [") + t + "]");
        report->Execute("CREATE TABLE Altro (ID COUNTER, Nome TEXT(20))");
    }
    TForm1* form = StartAndUpgrade();
    EXPECT_EQ(form->Label2->Caption(), kFailed);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(form->Button1->Enabled()) << "the click got past Open";
    StopProgram();
    ExpectDataNotUpgraded();
}

TEST_F(UpgradeProgram, FailureOnTheLastStatementRollsBackBothDatabases)
{
    OpenReport()->Execute("DROP TABLE [Ricevuta Fiscale-Intestazione]");
    TForm1* form = StartAndUpgrade();
    EXPECT_EQ(form->Label2->Caption(), kFailed);
    StopProgram();
    ExpectDataNotUpgraded();
    ExpectReportNotUpgraded();
}

// The label keeps its text; whoever supports the user finds the engine's reason on
// standard error, one line, whatever the cause.
TEST_F(UpgradeProgram, FailureSaysTheEnginesReasonOnStandardError)
{
    const struct {
        const char* change;  // on the report database, before the run
        const char* reason;
    } cases[] = {
        {nullptr, "Upgrade: the upgrade failed: duplicate column name: CheckA"},
        {"DROP TABLE [Ricevuta Fiscale-Intestazione]",
         "Upgrade: the upgrade failed: no such table: report.Ricevuta Fiscale-Intestazione"},
    };
    for (const auto& c : cases) {
        if (c.change)
            OpenReport()->Execute(c.change);
        else
            OpenData()->Execute("ALTER TABLE clienti ADD CheckA SMALLINT");
        testing::internal::CaptureStderr();
        TForm1* form = StartAndUpgrade();
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(form->Label2->Caption(), kFailed) << c.reason;
        EXPECT_TRUE(boxes.empty()) << c.reason;
        StopProgram();
        EXPECT_EQ(errors.rfind(c.reason, 0), 0u) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        if (!c.change)
            OpenData()->Execute("ALTER TABLE clienti DROP COLUMN CheckA");
    }
}

// A genuine Access report database is only read: the upgrade, which must write it, fails
// saying what the file is, nothing runs, the data keep their schema and the report file its
// bytes. The copy is writable, as a user's file is.
TEST_F(UpgradeProgram, GenuineAccessReportDatabaseIsRefusedAndNothingChanges)
{
    const std::filesystem::path genuine = std::filesystem::path(VENDARO_SOURCE_DIR) / ".." / "shared" / "jet" / "nwind.mdb";
    if (!std::filesystem::is_regular_file(genuine))
        GTEST_SKIP() << "the genuine Access fixture is missing: no " << genuine.string();
    const std::string report = InFolder("ComponenteStampa/RPTDATA.mdb");
    std::filesystem::copy_file(genuine, report, std::filesystem::copy_options::overwrite_existing);
    using std::filesystem::perms;
    std::filesystem::permissions(report, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
    const std::string before = Bytes(report);
    testing::internal::CaptureStderr();
    TForm1* form = StartAndUpgrade();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.rfind("Upgrade: the upgrade failed: Cannot attach database ", 0), 0u) << errors;
    EXPECT_NE(errors.find("RPTDATA.mdb: the file is a genuine Access file, which this engine reads but never writes\n"),
              std::string::npos)
        << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(form->Label2->Caption(), kFailed);
    StopProgram();
    ExpectDataNotUpgraded();
    EXPECT_EQ(Bytes(report), before);
}

// Statements 19 to 25 name the report's tables through its schema: a report table named
// as a data table (ignoring case), and a data table named as a report header table, take
// nothing from each other; each database gets exactly its own changes.
TEST_F(UpgradeProgram, SameTableNamesInBothDatabasesAreEachUpgradedInTheirOwn)
{
    OpenReport()->Execute("CREATE TABLE Clienti (ID COUNTER, Nome TEXT(20))");
    OpenData()->Execute("CREATE TABLE [DDT-Intestazione] (ID AUTOINC, Numero INTEGER)");
    TForm1* form = StartAndUpgrade();
    EXPECT_EQ(form->Label2->Caption(), kDone);
    StopProgram();
    auto data = OpenData();
    auto report = OpenReport();
    EXPECT_EQ(Rows(*data, "select distinct CheckA from clienti"), (std::vector<std::vector<AnsiString>>{{"0"}}));
    EXPECT_FALSE(Runs(*data, "select Ritenuta from [DDT-Intestazione]"));
    EXPECT_TRUE(Runs(*report, "select Ritenuta from [DDT-Intestazione]"));
    EXPECT_FALSE(Runs(*report, "select CheckA from Clienti"));
    EXPECT_TRUE(Runs(*report, "select Nome from Clienti"));
}

TEST_F(UpgradeProgram, FailedCommitOfTheReportDatabaseLeavesBothUnchanged)
{
    // The write that would store the report's upgraded schema fails (a full disk, say):
    // the data, whose part of the commit came first, must not keep the upgrade either.
    FailingWrites failing("RPTDATA.mdb", "Ritenuta");
    TForm1* form = StartAndUpgrade();
    EXPECT_TRUE(failing.Failed());
    EXPECT_EQ(form->Label2->Caption(), kFailed);
    StopProgram();
    ExpectDataNotUpgraded();
    ExpectReportNotUpgraded();
}

TEST_F(UpgradeProgram, MissingReportDatabaseShowsTheEnginesMessageAndNothingElse)
{
    std::filesystem::remove(InFolder("ComponenteStampa/RPTDATA.mdb"));
    TForm1* form = StartAndUpgrade();
    // The class library's default handling shows the engine's message; the program's own
    // box and texts do not appear.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0], kReportMissingBox);
    EXPECT_EQ(boxes[0].caption, "Upgrade Vendaro 5");
    EXPECT_EQ(Copy(boxes[0].text, 1, 21), "Cannot open database ");
    EXPECT_GT(Pos("RPTDATA.mdb", boxes[0].text), 0) << boxes[0].text.c_str();
    EXPECT_EQ(flags, std::vector<UINT>{MB_OK | MB_ICONSTOP});
    EXPECT_EQ(form->Label2->Caption(), "-");
    EXPECT_TRUE(form->Button1->Enabled()) << "the operator can put the file back and try again";
    StopProgram();
    ExpectDataNotUpgraded();
}

TEST_F(UpgradeProgram, RetryAfterTheReportDatabaseIsBackSucceeds)
{
    const std::string report = InFolder("ComponenteStampa/RPTDATA.mdb");
    std::filesystem::rename(report, report + ".away");
    TForm1* form = StartAndUpgrade();
    ASSERT_EQ(form->Label2->Caption(), "-");
    ASSERT_TRUE(form->Button1->Enabled());
    EXPECT_TRUE(form->RunFailed());
    std::filesystem::rename(report + ".away", report);
    Click(form->Button1);
    EXPECT_EQ(form->Label2->Caption(), kDone);
    EXPECT_FALSE(form->Button1->Enabled());
    EXPECT_EQ(boxes.size(), 1u);
    // The upgrade is done after all: the program will end with success.
    EXPECT_FALSE(form->RunFailed());
}

TEST_F(UpgradeProgram, WorkingDirectoryLongerThan255BytesIsUsedWhole)
{
    std::string deep = root_.Path().string();
    for (int i = 0; i < 6; ++i)
        deep += "/cartella-con-un-nome-piuttosto-lungo-per-superare-il-limite-" + std::to_string(i);
    ASSERT_GT(deep.size(), 300u);
    MakeSamples(deep, {}, false);
    UseFolder(deep);
    TForm1* form = StartAndUpgrade();
    EXPECT_GT(form->AppPath().Length(), 300);
    EXPECT_EQ(form->Label2->Caption(), kDone);
    StopProgram();
    EXPECT_EQ(Rows(*OpenData(), "select count(*) from documenti where CheckA = 0"),
              (std::vector<std::vector<AnsiString>>{{"2"}}));
}

TEST_F(UpgradeProgram, DialogShowsInARealWindowUnderXvfb)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(160);
    UserResetWindowSystem();
    ASSERT_TRUE(display.Install());
    TForm1* form = Start();
    Surface shown;
    EXPECT_EQ(ReadBackWhenShown(form->Handle(), shown), 0) << "the real window shows what the dialog painted";
    // The bold label's text is drawn: dark pixels inside its rectangle.
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    const TPoint label = form->Label1->ClientToScreen(Point(0, 0));
    int dark = 0;
    for (int y = 0; y < form->Label1->Height(); ++y)
        for (int x = 0; x < form->Label1->Width(); ++x)
            dark += shown.Pixel(label.x - window.left + x, label.y - window.top + y) == 0;
    EXPECT_GT(dark, 200);
    EXPECT_TRUE(TestDisplay::SavePng(shown, "vendaro-upgrade-dialog.png"));
    StopProgram();
    display.Stop();
}


std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(UpgradeProgram, RolledBackUpgradeLeavesBothDatabasesByteIdentical)
{
    OpenReport()->Execute("DROP TABLE [Ricevuta Fiscale-Intestazione]");
    const std::string report = InFolder("ComponenteStampa/RPTDATA.mdb"), data = InFolder("Dati/tables.sqlite3");
    const std::string reportBefore = Bytes(report), dataBefore = Bytes(data);
    TForm1* form = Start();
    EXPECT_EQ(Bytes(data), dataBefore) << "connecting changes nothing";
    Click(form->Button1);
    EXPECT_EQ(form->Label2->Caption(), kFailed);
    // Still open, after the rollback: the files are as they were, with nothing beside them.
    EXPECT_EQ(Bytes(report), reportBefore);
    EXPECT_EQ(Bytes(data), dataBefore);
    EXPECT_EQ(Names(InFolder("ComponenteStampa")), std::vector<std::string>{"RPTDATA.mdb"});
    EXPECT_EQ(Names(InFolder("Dati")), std::vector<std::string>{"tables.sqlite3"});
    StopProgram();
    EXPECT_EQ(Bytes(report), reportBefore);
    EXPECT_EQ(Bytes(data), dataBefore);
}

TEST_F(UpgradeProgram, UpgradedDataAreInTheFilesWhileTheProgramIsOpen)
{
    TForm1* form = StartAndUpgrade();
    ASSERT_EQ(form->Label2->Caption(), kDone);
    TempFolder copy;
    std::filesystem::copy_file(InFolder("Dati/tables.sqlite3"), copy / "tables.sqlite3");
    std::filesystem::copy_file(InFolder("ComponenteStampa/RPTDATA.mdb"), copy / "RPTDATA.mdb");
    auto data = DbiOpenDatabase("STANDARD", {AnsiString("PATH=" + copy.Path().string())}, true);
    EXPECT_EQ(Rows(*data, "select distinct CheckA from clienti"), (std::vector<std::vector<AnsiString>>{{"0"}}));
    auto reportCopy = DbiOpenDatabase("MSACCESS", {AnsiString("DATABASE NAME=" + copy / "RPTDATA.mdb")}, true);
    for (const char* t : kHeaderTables)
        EXPECT_NO_THROW(reportCopy->Execute(AnsiString("select Ritenuta from [") + t + "]")) << t;
    EXPECT_EQ(Names(InFolder("ComponenteStampa")), std::vector<std::string>{"RPTDATA.mdb"});
    EXPECT_EQ(Names(InFolder("Dati")), std::vector<std::string>{"tables.sqlite3"});
}

TEST_F(UpgradeProgram, DataFolderWithoutItsTablesFileFailsAtTheFirstStatementAndGetsNoFile)
{
    std::filesystem::remove(InFolder("Dati/tables.sqlite3"));
    TForm1* form = Start();
    EXPECT_TRUE(boxes.empty()) << "the folder exists: connecting succeeds";
    EXPECT_TRUE(form->Database1->Connected());
    Click(form->Button1);
    EXPECT_EQ(form->Label2->Caption(), kFailed);
    StopProgram();
    EXPECT_TRUE(Names(InFolder("Dati")).empty());
    ExpectReportNotUpgraded();
}

} // namespace
