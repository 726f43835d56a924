#include "platform/win/gdi/Surface.h"
#include "tests/importa/ImportaFixture.h"
#include "tests/support/FormLayout.h"
#include "tests/support/TestDisplay.h"

#include <algorithm>
#include <filesystem>

namespace {

class ImportaDialog : public ImportaFixture {};

TEST_F(ImportaDialog, FormMatchesItsDescription)
{
    TForm1* form = Start();
    EXPECT_EQ(Application->Title(), "ProceduraImportazione");
    EXPECT_EQ(form->BorderIcons(), TBorderIcons{biSystemMenu});
    ExpectFormLayout(
        form, {"Procedura di importazione", 425, 425, bsDialog, 276, 152},
        {
            {form->GroupBox1, form, Bounds(8, 8, 409, 113), "Percorso della base dati di Progetto Vendaro 4", 0},
            {form->Label1, form->GroupBox1, Bounds(8, 24, 241, 13),
             "Specificare il percorso del file: dbVendaroBase4.mdb", -1, true, false, true},
            {form->Edit1, form->GroupBox1, Bounds(8, 48, 385, 21), "", 1},
            {form->OBLButton4, form->GroupBox1, Bounds(8, 80, 89, 25), "&Cerca database", 2},
            {form->OBLButton3, form->GroupBox1, Bounds(104, 80, 113, 25), "&Test collegamento", 0},
            {form->GroupBox2, form, Bounds(8, 128, 409, 249), "Importazione dati", 1},
            {form->CheckBox5, form->GroupBox2, Bounds(8, 32, 105, 17), "Anagrafica Ditta", 5},
            {form->CheckBox1, form->GroupBox2, Bounds(8, 64, 137, 17), "Anagrafica Clienti", 0},
            {form->CheckBox2, form->GroupBox2, Bounds(8, 88, 145, 17), "Anagrafica Fornitori", 1},
            {form->CheckBox3, form->GroupBox2, Bounds(8, 112, 145, 17), "Anagrafica collaboratori", 2},
            {form->CheckBox6, form->GroupBox2, Bounds(8, 136, 129, 17), "Anagrafica vettori", 6},
            {form->CheckBox7, form->GroupBox2, Bounds(8, 160, 145, 17), "Anagrafica rappresentati", 7},
            {form->CheckBox8, form->GroupBox2, Bounds(8, 184, 129, 17), "Anagrafica consulenti", 8},
            {form->CheckBox4, form->GroupBox2, Bounds(8, 216, 145, 17), "Anagrafica Articoli", 4},
            {form->ListBox1, form->GroupBox2, Bounds(176, 16, 217, 217), nullptr, 3},
            {form->OBLButton1, form, Bounds(8, 384, 137, 33), "&Inizia importazione dati", 2, false},
            {form->OBLButton2, form, Bounds(344, 384, 73, 33), "&Chiudi", 3},
        });
    for (TCheckBox* box : {form->CheckBox1, form->CheckBox2, form->CheckBox3, form->CheckBox4, form->CheckBox5,
                           form->CheckBox6, form->CheckBox7, form->CheckBox8})
        EXPECT_FALSE(box->Checked()) << box->Name().c_str();
    EXPECT_EQ(form->ListBox1->ItemHeight(), 13);
    EXPECT_EQ(form->ListBox1->Items()->Count(), 0);
    EXPECT_EQ(form->OpenDialog1->FileName(), "*.mdb");
    EXPECT_EQ(form->OpenDialog1->Filter(), "mdb|*.mdb");
    EXPECT_EQ(form->Database2->DatabaseName(), "PVenDar4");
    EXPECT_EQ(form->Database2->DriverName(), "MSACCESS");
    EXPECT_FALSE(form->Database2->KeepConnection());
    EXPECT_FALSE(form->Database2->LoginPrompt());
    EXPECT_TRUE(form->Database2->ReadOnly());
    EXPECT_FALSE(form->Database2->Connected());
    EXPECT_FALSE(form->Database1->Connected()) << "the first statement opens the target";
    for (TQuery* q : {form->Query1, form->Query3})
        EXPECT_EQ(q->DatabaseName(), "PVenDar5");
    for (TQuery* q : {form->Query2, form->Query4})
        EXPECT_EQ(q->DatabaseName(), "PVenDar4");
    EXPECT_TRUE(form->Query1->RequestLive());
}

TEST_F(ImportaDialog, ShowPointsTheTargetAtTheWorkingDirectory)
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
    EXPECT_EQ(form->ImportCount(), 0);
}

TEST_F(ImportaDialog, BrowsingPutsThePathInTheEditAndAsksForATest)
{
    TForm1* form = Start();
    Browse(SourcePath());
    EXPECT_EQ(form->Edit1->Text(), AnsiString(SourcePath()));
    EXPECT_TRUE(form->OBLButton3->Enabled());
    EXPECT_FALSE(form->OBLButton1->Enabled());
    Click(form->OBLButton3);
    EXPECT_TRUE(form->Database2->Connected());
    EXPECT_TRUE(form->OBLButton1->Enabled());
    EXPECT_FALSE(form->OBLButton3->Enabled());
    EXPECT_TRUE(boxes.empty());

    // Cancelling changes nothing, not even the open source connection.
    Browse("");
    EXPECT_TRUE(form->Database2->Connected());
    EXPECT_EQ(form->Edit1->Text(), AnsiString(SourcePath()));
    EXPECT_TRUE(form->OBLButton1->Enabled());
    EXPECT_FALSE(form->OBLButton3->Enabled());

    // A new choice disconnects the source and asks for a new test.
    Browse(SourcePath());
    EXPECT_FALSE(form->Database2->Connected());
    EXPECT_TRUE(form->OBLButton3->Enabled());
    EXPECT_FALSE(form->OBLButton1->Enabled());
}

TEST_F(ImportaDialog, TypedPathIsTestedByItsLast18Characters)
{
    const ShownBox wrong{"Il database impostato non \xE8 il database di Progetto Vendaro 4", "Procedura di importazione"};
    std::filesystem::copy_file(InFolder("dbVendaroBase4.mdb"), InFolder("DBVENDAROBASE4.MDB"));
    std::filesystem::copy_file(InFolder("dbVendaroBase4.mdb"), InFolder("altro.mdb"));
    struct Case {
        std::string path;
        bool passes;
    };
    const Case cases[] = {
        {"bVendaroBase4.mdb", false},            // 17 characters
        {WindowsPath(InFolder("DBVENDAROBASE4.MDB")), false}, // the name in capitals
        {WindowsPath(InFolder("altro.mdb")), false},
        {InFolder("dbVendaroBase4.mdb"), true}, // any folder, in either form
        {SourcePath() + " ", false},
        {SourcePath(), true},
    };
    for (const Case& c : cases) {
        TForm1* form = Start();
        boxes.clear();
        const TPoint p = form->Edit1->ClientToScreen(Point(5, 5));
        UserInjectClick(p.x, p.y);
        UserInjectText(AnsiString(c.path));
        Pump();
        ASSERT_EQ(form->Edit1->Text(), AnsiString(c.path));
        Click(form->OBLButton3);
        EXPECT_EQ(boxes, c.passes ? std::vector<ShownBox>{} : std::vector<ShownBox>{wrong}) << c.path;
        EXPECT_EQ(form->Database2->Connected(), c.passes) << c.path;
        EXPECT_EQ(form->OBLButton1->Enabled(), c.passes) << c.path;
        EXPECT_EQ(form->OBLButton3->Enabled(), !c.passes) << c.path;
        ASSERT_EQ(form->Database2->Params()->Count(), 2);
        EXPECT_EQ(form->Database2->Params()->Strings(0), "DATABASE NAME=" + AnsiString(c.path));
        EXPECT_EQ(form->Database2->Params()->Strings(1), "OPEN MODE=READ/WRITE");
        StopProgram();
    }
}

TEST_F(ImportaDialog, SourceThatCannotBeOpenedIsReportedByTheApplication)
{
    TForm1* form = Start();
    const std::string missing = WindowsPath(InFolder("altrove")) + "\\dbVendaroBase4.mdb";
    Browse(missing);
    Click(form->OBLButton3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "ProceduraImportazione") << "the application shows the engine's message";
    EXPECT_FALSE(form->Database2->Connected());
    EXPECT_TRUE(form->OBLButton3->Enabled());
    EXPECT_FALSE(form->OBLButton1->Enabled());
}

TEST_F(ImportaDialog, DisabledStartButtonRunsNothingWhenPressed)
{
    TForm1* form = Start();
    Click(form->CheckBox1);
    ASSERT_TRUE(form->CheckBox1->Checked());
    ASSERT_FALSE(form->OBLButton1->Enabled());
    Click(form->OBLButton1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(form->ImportCount(), 0);
}

TEST_F(ImportaDialog, StartingWithNothingTickedReportsOnlyAfterAnEarlierRun)
{
    TForm1* form = Start();
    Connect();
    Click(form->OBLButton1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Log().empty());

    RunImport({form->CheckBox3});
    Click(form->CheckBox3);
    ASSERT_FALSE(form->CheckBox3->Checked());
    boxes.clear();
    Click(form->OBLButton1);
    EXPECT_EQ(boxes, std::vector<ShownBox>{kCompletedBox});
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione Collaboratori", "Terminato", "Terminato"}));
    EXPECT_EQ(form->ImportCount(), 1);
    EXPECT_TRUE(form->OBLButton1->Enabled()) << "the run can be repeated";
}

TEST_F(ImportaDialog, ShowingTheFormAgainResetsTheCountAndTheTarget)
{
    TForm1* form = Start();
    Connect();
    RunImport({form->CheckBox3});
    ASSERT_EQ(form->ImportCount(), 1);
    ASSERT_TRUE(form->Database1->Connected());
    form->Hide();
    form->Show();
    Pump();
    EXPECT_EQ(form->ImportCount(), 0);
    EXPECT_FALSE(form->Database1->Connected());
    Click(form->CheckBox3);
    ASSERT_FALSE(form->CheckBox3->Checked());
    boxes.clear();
    Click(form->OBLButton1);
    EXPECT_TRUE(boxes.empty()) << "no import since the form was shown";
}

TEST_F(ImportaDialog, WorkersRunInTheirFixedOrderWhateverTheScreenOrder)
{
    TForm1* form = Start();
    Connect();
    RunImport({form->CheckBox4, form->CheckBox8, form->CheckBox7, form->CheckBox6, form->CheckBox3, form->CheckBox2,
               form->CheckBox1, form->CheckBox5});
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione dati Ditta", "Importazione clienti", "Importazione fornitori",
                                              "Importazione Collaboratori", "Importazione Vettori",
                                              "Importazione Rappresentanti", "Importazione Consulenti",
                                              "Importazione articoli", "Terminato"}));
    EXPECT_EQ(form->ImportCount(), 8);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), kCompletedBox);
    EXPECT_EQ(std::vector<UINT>(flags.size(), MB_OK), flags) << "every box: OK only, no icon";
}

TEST_F(ImportaDialog, FailureInTheThirdTickedWorkerStopsTheRun)
{
    ChangeTarget("DROP TABLE rappresentanti");
    TForm1* form = Start();
    Connect();
    RunImport({form->CheckBox5, form->CheckBox6, form->CheckBox7, form->CheckBox8});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_EQ(Log(), (std::vector<AnsiString>{"Importazione dati Ditta", "Importazione Vettori"}));
    EXPECT_EQ(form->ImportCount(), 2);
    EXPECT_TRUE(form->RunFailed()) << "the program will end with a failure status";
    StopProgram();
    EXPECT_EQ(Target("select denominazioneA from studio"),
              (TextRows{{"Ferramenta dell`Orso di Colombo Andrea"}}));
    EXPECT_EQ(Target("select codice from vettori order by id"), (TextRows{{"V001"}, {"V002"}}));
    EXPECT_EQ(Target("select count(*) from consulenti"), (TextRows{{"0"}})) << "later workers do not run";
}

// The exit status tells the last run's outcome: a retry that gets through (the table is
// back) leaves the job done.
TEST_F(ImportaDialog, RetryThatGetsThroughEndsTheProgramWithSuccess)
{
    ChangeTarget("ALTER TABLE vettori RENAME TO vettori_altrove");
    TForm1* form = Start();
    Connect();
    RunImport({form->CheckBox6});
    ASSERT_EQ(boxes, std::vector<ShownBox>{kFailedBox});
    EXPECT_TRUE(form->RunFailed());
    ChangeTarget("ALTER TABLE vettori_altrove RENAME TO vettori");
    Click(form->OBLButton1);
    EXPECT_EQ(boxes, (std::vector<ShownBox>{kFailedBox, kCompletedBox}));
    EXPECT_FALSE(form->RunFailed());
}

// The box keeps its text; whoever supports the user finds the engine's reason on standard
// error, one line, whatever the cause.
TEST_F(ImportaDialog, FailureSaysTheEnginesReasonOnStandardError)
{
    const struct {
        const char* change;  // on the target, before the run
        TCheckBox* TForm1::*box;
        const char* reason;
    } cases[] = {
        {"DROP TABLE fornitori", &TForm1::CheckBox2, "Importa: the import stopped: no such table: fornitori"},
        {"DROP TABLE studio", &TForm1::CheckBox5, "Importa: the import stopped: no such table: studio"},
    };
    for (const auto& c : cases) {
        ChangeTarget(c.change);
        TForm1* form = Start();
        Connect();
        testing::internal::CaptureStderr();
        RunImport({form->*c.box});
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(boxes, std::vector<ShownBox>{kFailedBox}) << c.reason;
        StopProgram();
        boxes.clear();
        EXPECT_EQ(errors.rfind(c.reason, 0), 0u) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    }
}

TEST_F(ImportaDialog, CloseEndsTheProgram)
{
    TForm1* form = Start();
    Click(form->OBLButton2);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ImportaDialog, WorkingDirectoryLongerThan255BytesIsUsedWhole)
{
    std::string deep = root_.Path().string();
    for (int i = 0; i < 6; ++i)
        deep += "/cartella-con-un-nome-piuttosto-lungo-per-superare-il-limite-" + std::to_string(i);
    ASSERT_GT(deep.size(), 300u);
    std::filesystem::create_directories(deep + "/Dati");
    std::filesystem::copy_file(InFolder("Dati/tables.sqlite3"), deep + "/Dati/tables.sqlite3");
    const std::string source = SourcePath();
    UseFolder(deep);
    TForm1* form = Start();
    EXPECT_GT(form->AppPath().Length(), 300);
    Browse(source);
    Click(form->OBLButton3);
    RunImport({form->CheckBox3});
    EXPECT_EQ(boxes, std::vector<ShownBox>{kCompletedBox});
    StopProgram();
    EXPECT_EQ(Target("select codice from collaboratori order by id"), (TextRows{{"K001"}, {"K002"}}));
}

TEST_F(ImportaDialog, DialogShowsInARealWindowUnderXvfb)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(190);
    UserResetWindowSystem();
    ASSERT_TRUE(display.Install());
    TForm1* form = Start();
    form->CheckBox1->SetChecked(true);
    form->ListBox1->Items()->Add("Importazione clienti");
    Surface shown;
    EXPECT_EQ(ReadBackWhenShown(form->Handle(), shown), 0) << "the real window shows what the dialog painted";
    // The list box's client area is the window colour, apart from its line of text.
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    const TPoint list = form->ListBox1->ClientToScreen(Point(150, 150));
    const COLORREF c = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(shown.Pixel(list.x - window.left, list.y - window.top),
              (GetRValue(c) << 16u) | (GetGValue(c) << 8u) | GetBValue(c));
    EXPECT_TRUE(TestDisplay::SavePng(shown, "vendaro-importa-dialog.png"));
    StopProgram();
    display.Stop();
}

// "Cerca database" in a real window: the open-file dialog stands over the form, lists the
// working folder without the names the code page cannot write, and shows what it painted.
struct OpenDialogLook {
    HWND dialog = nullptr;
    RECT rect{};
    std::vector<AnsiString> listing;
    bool saved = false;
    bool screen = false;
    int ticks = 0;
    const TestDisplay* display = nullptr;
};

OpenDialogLook& Look()
{
    static OpenDialogLook look;
    return look;
}

void LookAtTheOpenDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    OpenDialogLook& l = Look();
    l.dialog = FindWindowA("VendaroOpenFile", nullptr);
    Surface shown;
    const Surface* painted = l.dialog ? UserWindowSurface(l.dialog) : nullptr;
    bool same = painted && UserReadBackWindow(l.dialog, &shown) && shown.Width() == painted->Width() &&
                shown.Height() == painted->Height();
    for (int y = 0; same && y < shown.Height(); ++y)
        for (int x = 0; same && x < shown.Width(); ++x)
            same = shown.Pixel(x, y) == painted->Pixel(x, y);
    if (!same && ++l.ticks < 100)
        return;
    KillTimer(nullptr, id);
    if (l.dialog) {
        GetWindowRect(l.dialog, &l.rect);
        HWND list = GetDlgItem(l.dialog, 101);
        for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char item[512] = "";
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            l.listing.emplace_back(item);
        }
        l.saved = same && TestDisplay::SavePng(shown, "vendaro-importa-open-dialog.png");
        l.screen = !TestDisplay::CanSaveScreen() || l.display->SaveScreen("vendaro-importa-open-dialog-screen.png");
    }
    UserInjectKeyStroke(VK_ESCAPE);
}

TEST_F(ImportaDialog, OpenDialogStandsOverTheFormUnderXvfb)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    std::filesystem::create_directory(InFolder("\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B"));
    std::filesystem::create_directory(InFolder("Citt\xC3\xA0"));
    TestDisplay display(190);
    UserResetWindowSystem();
    ASSERT_TRUE(display.Install());
    TForm1* form = Start();
    Surface shown;
    EXPECT_EQ(ReadBackWhenShown(form->Handle(), shown), 0);
    Look() = OpenDialogLook{};
    Look().display = &display;
    SetTimer(nullptr, 0, 50, LookAtTheOpenDialog);
    Click(form->OBLButton4);
    const OpenDialogLook& l = Look();
    ASSERT_NE(l.dialog, nullptr);
    EXPECT_TRUE(l.saved) << "the real window shows what the dialog painted";
    EXPECT_TRUE(l.screen);
    RECT owner{};
    GetWindowRect(form->Handle(), &owner);
    EXPECT_EQ((l.rect.left + l.rect.right) / 2, (owner.left + owner.right) / 2);
    EXPECT_EQ((l.rect.top + l.rect.bottom) / 2, (owner.top + owner.bottom) / 2);
    EXPECT_EQ(l.listing, (std::vector<AnsiString>{"[..]", "[Citt\xE0]", "[ComponenteStampa]", "[Dati]", "dbVendaroBase4.mdb"}));
    EXPECT_EQ(form->Edit1->Text(), "") << "cancelled: nothing chosen";
    StopProgram();
    display.Stop();
}

} // namespace
