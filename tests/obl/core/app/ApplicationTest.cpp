#include "obl/core/app/oblclass.h"

#include "obl/core/app/Oblsysin.h"
#include "obl/core/base/Oblxpstyles.h"
#include "platform/classlib/Graphics.h"
#include "platform/win/kernel/Mutex.h"
#include "platform/win/kernel/Security.h"
#include "platform/win/kernel/UxTheme.h"

#include "AppFixture.h"
#include "TempSystem.h"
#include "tests/support/CheckoutTempFolder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <regex>

namespace {

const std::string kStars(80, '*');

// A windowed control that records the theme messages it receives.
class TThemeProbe : public TWinControl {
    VENDARO_CLASS(TThemeProbe, TWinControl)
public:
    explicit TThemeProbe(TComponent* owner) : TWinControl(owner) {}
    void DropWindow() { DestroyHandle(); }
    void WndProc(TMessage& message) override
    {
        if (message.Msg == CM_OBLTHEMECHANGED) Log().push_back(Name().str() + " CM");
        if (message.Msg == WM_THEMECHANGED) Log().push_back(Name().str() + " WM");
        TWinControl::WndProc(message);
    }
    static std::vector<std::string>& Log()
    {
        static std::vector<std::string> log;
        return log;
    }
};

class TThemeForm : public TForm {
    VENDARO_CLASS(TThemeForm, TForm)
public:
    explicit TThemeForm(TComponent* owner) : TForm(owner) {}
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_THEMECHANGED) TThemeProbe::Log().push_back(Name().str() + " WM");
        TForm::WndProc(message);
    }
};

class Listener : public TObject {
    VENDARO_CLASS(Listener, TObject)
public:
    void Changed(TObject* sender) { changes.push_back(sender); }
    void AppMessage(TMessage& message, bool& handled)
    {
        if (message.Msg == WM_THEMECHANGED) ++appThemeMessages;
    }
    void Exception_(TObject* sender, const Exception& e, bool& cancel)
    {
        exceptions.push_back(e.Message().str());
        cancel = cancelExceptions;
    }
    void HeaderLines(TObject*, TTextFile& file) { file.WriteLn("Shop           : Rossi"); }
    void TooLarge(TObject*, const AnsiString& name, bool& cancel)
    {
        tooLarge.push_back(name.str());
        cancel = cancelTooLarge;
    }

    std::vector<TObject*> changes;
    int appThemeMessages = 0;
    std::vector<std::string> exceptions;
    bool cancelExceptions = false;
    std::vector<std::string> tooLarge;
    bool cancelTooLarge = false;
};

class ApplicationTest : public AppFixture {
protected:
    void SetUp() override
    {
        clock_.SetNow(45000.5);
        AppFixture::SetUp();
        ResetThemeModuleForTesting();
        ClearThemeCallLog();
        ResetSecurityForTesting();
        Application->SetTitle("ProceduraImportazione");
        system_ = std::make_unique<TempSystem>();
        SetMutexLockFolder(CheckoutTempFolder("oblapp-mutex"));
        app_ = std::make_unique<TOBLApplication>(nullptr);
    }
    void TearDown() override
    {
        app_.reset();
        system_.reset();
        OblxpstylesFinalization();
        ResetThemeModuleForTesting();
        ResetSecurityForTesting();
        AppFixture::TearDown();
    }

    void ThemesWith(TThemeModuleState state)
    {
        SetThemeModuleState(state);
        OblxpstylesInitialization();
        app_ = std::make_unique<TOBLApplication>(nullptr);
        ClearThemeCallLog();
    }
    static std::vector<int> AppPropertyCalls()
    {
        std::vector<int> calls;
        for (const TThemeCall& c : ThemeCallLog())
            if (c.function == "SetThemeAppProperties") calls.push_back(c.part);
        return calls;
    }
    std::string Log() const { return system_->Get("Vendaro/Importa.LOG"); }
    static std::string Header(const std::string& extra = "")
    {
        return "\r\nLogFile started: 15/03/2023 12:00:00\r\nApplication    : ProceduraImportazione\r\n"
               "Path/ExeName   : C:\\Vendaro\\Importa.exe\r\n" +
               extra + kStars + "\r\n\r\nEntries:\r\n";
    }

    std::unique_ptr<TempSystem> system_;
    std::unique_ptr<TOBLApplication> app_;
    Listener listener_;
};

// ---- Construction -----------------------------------------------------------------------

TEST_F(ApplicationTest, ConstructionSetsTheDocumentedState)
{
    EXPECT_EQ(app_->Options().Mask(), 0x36u);
    EXPECT_EQ(app_->LogFormat().str(), "#tdl");
    EXPECT_EQ(app_->EditMode(), TOBLEditModes{emInsert});
    EXPECT_EQ(app_->LogPrefix(), ppProgram);
    EXPECT_EQ(app_->LogName().str(), "C:\\Vendaro\\Importa.LOG");
    EXPECT_EQ(app_->MaxLogSize(), -1);
    EXPECT_EQ(app_->ExplodeDelay(), 3);
    EXPECT_EQ(app_->TimerPool()->MinInterval(), 50);
    ASSERT_NE(app_->IniCtrl(), nullptr);
    EXPECT_EQ(app_->IniCtrl()->Owner(), nullptr);
    EXPECT_EQ(app_->CheckWidth(), 13);
    EXPECT_EQ(app_->CheckHeight(), 13);
    EXPECT_EQ(app_->GetTimerFrequency(), 1000000.0);
    EXPECT_EQ(app_->InstanceMutexName().str(), "IMPORTA.EXE");
    EXPECT_FALSE(app_->InstanceRunning());
}

// ---- Instance mutex ---------------------------------------------------------------------

// Runs a copy of the "program" under the given path in a child process and answers whether
// that copy found another instance running.
bool SecondProcessSeesInstance(const char* programPath)
{
    const pid_t child = fork();
    if (child == 0) {
        SetParams({programPath});
        TOBLApplication copy(nullptr);
        _exit(copy.InstanceRunning() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST_F(ApplicationTest, SecondCopyOfTheSameExecutableSeesTheFirst)
{
    EXPECT_FALSE(app_->InstanceRunning());
    EXPECT_TRUE(SecondProcessSeesInstance("C:\\Vendaro\\Importa.exe"));
    EXPECT_TRUE(SecondProcessSeesInstance("D:\\Other\\importa.exe"));  // upper-cased name part only
    EXPECT_FALSE(SecondProcessSeesInstance("C:\\Vendaro\\Upgrade.exe"));
    app_.reset();  // the mutex goes with its last holder
    EXPECT_FALSE(SecondProcessSeesInstance("C:\\Vendaro\\Importa.exe"));
}

// ---- Themes -----------------------------------------------------------------------------

TEST_F(ApplicationTest, ThemeSupportFollowsTheThemeLibrary)
{
    struct Case {
        TThemeModuleState state;
        bool supported;
    };
    for (const Case c : {Case{TThemeModuleState::Absent, false}, Case{TThemeModuleState::Inactive, false},
                         Case{TThemeModuleState::Active, true}}) {
        ThemesWith(c.state);
        EXPECT_EQ(app_->GetXPThemesSupported(), c.supported);
        EXPECT_EQ(app_->UseXPThemes(), c.supported);
        app_->SetXPThemeSupport(false);
        app_->SetXPThemeSupport(true);
        EXPECT_EQ(app_->UseXPThemes(), c.supported);
        OblxpstylesFinalization();
    }
}

TEST_F(ApplicationTest, SwitchingThemesTellsTheApplicationWindowAndEveryVisibleForm)
{
    ThemesWith(TThemeModuleState::Active);
    Application->HookMainWindow(TApplication::TWindowHook(&listener_, &Listener::AppMessage));
    auto* form = new TThemeForm(Application);
    form->SetName("Form");
    auto* panel = new TThemeProbe(form);
    panel->SetName("Panel");
    panel->SetParent(form);
    auto* inner = new TThemeProbe(form);
    inner->SetName("Inner");
    inner->SetParent(panel);
    auto* later = new TThemeProbe(form);
    later->SetName("Later");
    later->SetParent(form);
    auto* hidden = new TThemeForm(Application);
    hidden->SetName("Hidden");
    auto* hiddenChild = new TThemeProbe(hidden);
    hiddenChild->SetName("HiddenChild");
    hiddenChild->SetParent(hidden);
    hidden->SetVisible(false);
    form->Show();
    later->DropWindow();
    TThemeProbe::Log().clear();

    app_->SetXPThemeSupport(false);
    EXPECT_FALSE(app_->UseXPThemes());
    EXPECT_EQ(listener_.appThemeMessages, 1);
    EXPECT_EQ(AppPropertyCalls(), std::vector<int>{0});
    // The broadcast to the direct controls, then the windows depth first, then the form.
    EXPECT_EQ(TThemeProbe::Log(),
              (std::vector<std::string>{"Panel CM", "Later CM", "Panel WM", "Inner WM", "Form WM"}));

    TThemeProbe::Log().clear();
    ClearThemeCallLog();
    app_->SetXPThemeSupport(true);
    EXPECT_EQ(AppPropertyCalls(), std::vector<int>{3});
    EXPECT_EQ(listener_.appThemeMessages, 2);
    EXPECT_EQ(TThemeProbe::Log().size(), 5u);

    // Themes for the library's controls only: no property call when switching off, and
    // the form itself is not told.
    TThemeProbe::Log().clear();
    ClearThemeCallLog();
    app_->SetXPOBLOnly(true);
    EXPECT_TRUE(ThemeCallLog().empty());
    app_->SetXPThemeSupport(false);
    EXPECT_TRUE(AppPropertyCalls().empty());
    EXPECT_EQ(listener_.appThemeMessages, 3);
    EXPECT_EQ(TThemeProbe::Log(), (std::vector<std::string>{"Panel CM", "Later CM", "Panel WM", "Inner WM"}));
    Application->UnhookMainWindow(TApplication::TWindowHook(&listener_, &Listener::AppMessage));
}

TEST_F(ApplicationTest, ThemeOnlyForLibraryControlsWhileThemesAreOff)
{
    ThemesWith(TThemeModuleState::Active);
    app_->SetXPThemeSupport(false);
    ClearThemeCallLog();
    app_->SetXPOBLOnly(true);
    EXPECT_EQ(AppPropertyCalls(), std::vector<int>{3});
    ClearThemeCallLog();
    app_->SetXPOBLOnly(true);  // unchanged: nothing
    app_->SetXPOBLOnly(false);
    EXPECT_TRUE(ThemeCallLog().empty());
}

TEST_F(ApplicationTest, MissingPropertyEntryIsNotCalledButTheChangeIsAnnounced)
{
    TModuleExports exports = ThemeModuleExports();
    exports.erase("SetThemeAppProperties");
    RegisterModule(kThemeModuleName, exports);
    ThemesWith(TThemeModuleState::Active);
    Application->HookMainWindow(TApplication::TWindowHook(&listener_, &Listener::AppMessage));
    app_->SetXPThemeSupport(false);
    app_->SetXPOBLOnly(true);
    EXPECT_FALSE(app_->UseXPThemes());
    EXPECT_TRUE(AppPropertyCalls().empty());
    EXPECT_EQ(listener_.appThemeMessages, 1);
    Application->UnhookMainWindow(TApplication::TWindowHook(&listener_, &Listener::AppMessage));
    RegisterModule(kThemeModuleName, ThemeModuleExports(), ThemeModulePresent);
}

TEST_F(ApplicationTest, InDesignStateTheSwitchIsStoredButNothingIsTold)
{
    ThemesWith(TThemeModuleState::Active);
    app_->SetDesigning(true);
    Application->HookMainWindow(TApplication::TWindowHook(&listener_, &Listener::AppMessage));
    app_->SetXPThemeSupport(false);
    EXPECT_FALSE(app_->UseXPThemes());
    EXPECT_EQ(listener_.appThemeMessages, 0);
    EXPECT_TRUE(ThemeCallLog().empty());
    app_->SetXPThemeSupport(true);
    EXPECT_TRUE(app_->UseXPThemes());
    Application->UnhookMainWindow(TApplication::TWindowHook(&listener_, &Listener::AppMessage));
}

TEST_F(ApplicationTest, ThemeHooksOfTheUnitReachTheGlobalObject)
{
    SetThemeModuleState(TThemeModuleState::Active);
    OblxpstylesInitialization();
    oblclassInitialization();
    ASSERT_NE(OBLApplication, nullptr);
    EXPECT_TRUE(OBLApplicationUseXPThemes());
    OBLApplicationSetXPThemeSupport(false);
    EXPECT_FALSE(OBLApplication->UseXPThemes());
    EXPECT_FALSE(OBLApplicationUseXPThemes());
    oblclassFinalization();
    EXPECT_EQ(OBLApplication, nullptr);
    EXPECT_FALSE(OBLApplicationUseXPThemes());
}

// ---- Bitmaps ----------------------------------------------------------------------------

TEST_F(ApplicationTest, BrushBitmapIsACheckerboardOfTheColourAndWhite)
{
    for (TColor first : {TColor{0x1FFFFFFF}, TColor{0x0000FF}}) {
        app_ = std::make_unique<TOBLApplication>(nullptr);
        TBitmap* bitmap = app_->GetBrushBitmap(first);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->Width(), 8);
        EXPECT_EQ(bitmap->Height(), 8);
    }
    TBitmap* bitmap = app_->GetBrushBitmap(0x0000FF);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(bitmap->Canvas()->Pixels(x, y), (x + y) % 2 == 1 ? TColor{0x0000FF} : clWhite) << x << y;
    // The same colour again: the same bitmap, not painted anew.
    bitmap->Canvas()->SetPixels(0, 1, 0x00FF00);
    EXPECT_EQ(app_->GetBrushBitmap(0x0000FF), bitmap);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 1), TColor{0x00FF00});
    // Another colour repaints the odd pixels only.
    bitmap->Canvas()->SetPixels(0, 0, 0x123456);
    EXPECT_EQ(app_->GetBrushBitmap(0xFF0000), bitmap);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 1), TColor{0xFF0000});
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), TColor{0x123456});

    TBitmap* black = app_->GetBitmap();
    EXPECT_NE(black, bitmap);
    EXPECT_EQ(black->Canvas()->Pixels(1, 0), clBlack);
    EXPECT_EQ(black->Canvas()->Pixels(1, 1), clWhite);
    EXPECT_EQ(app_->GetBitmap(), black);
}

TEST_F(ApplicationTest, CustomCheckBitmapGivesCellsOfASixCellStrip)
{
    EXPECT_EQ(app_->GetCheckCustomWidth(), 0);
    EXPECT_EQ(app_->GetCheckCustomHeight(), 0);
    TBitmap strip;
    strip.SetSize(100, 16);
    app_->SetCheckBitmap(&strip);
    EXPECT_EQ(app_->GetCheckCustomWidth(), 16);
    EXPECT_EQ(app_->GetCheckCustomHeight(), 16);
    EXPECT_NE(app_->CheckBitmap(), &strip);
}

// ---- Shared state, stopwatch, timers ----------------------------------------------------

TEST_F(ApplicationTest, EditModeChangeIsAnnouncedOnce)
{
    app_->SetOnEditModeChange(TNotifyEvent(&listener_, &Listener::Changed));
    app_->SetEditMode(TOBLEditModes{emInsert});
    app_->SetEditMode(TOBLEditModes{emInsert, emCaps});
    EXPECT_EQ(listener_.changes, std::vector<TObject*>{app_.get()});
}

TEST_F(ApplicationTest, StopwatchMeasuresInUnsigned32Bits)
{
    EXPECT_EQ(app_->STWStop(), 0);
    app_->STWStart();
    clock_.Advance(250);
    EXPECT_EQ(app_->STWStop(), 250);
    EXPECT_EQ(app_->STWStop(), 0);
    clock_.SetTickCount(0xFFFFFFF0u);
    app_->STWStart();
    clock_.Advance(0x20);
    app_->STWStart();  // a running stopwatch is stopped and started again
    clock_.Advance(5);
    EXPECT_EQ(app_->STWStop(), 5);
    clock_.SetTickCount(0xFFFFFFF0u);
    app_->STWStart();
    clock_.Advance(0x20);
    EXPECT_EQ(app_->STWStop(), 0x20);
}

class Counter : public TObject {
    VENDARO_CLASS(Counter, TObject)
public:
    void Tick(TObject*) { ++ticks; }
    int ticks = 0;
};

TEST_F(ApplicationTest, ApplicationTimersHandOutTheLowestFreeIdentifier)
{
    Counter counter;
    std::vector<WORD> idents;
    for (int i = 0; i < 250; ++i) idents.push_back(app_->AddTimer(50, TNotifyEvent(&counter, &Counter::Tick)));
    EXPECT_EQ(idents.front(), 0xFD01);
    EXPECT_EQ(idents.back(), 0xFD00 + 250);
    EXPECT_EQ(app_->GetTimerIdent(), 0);
    EXPECT_EQ(app_->AddTimer(50, nullptr), 0);
    EXPECT_EQ(app_->TimerPool()->GetCount(), 250);
    for (WORD outside : {WORD{0xFD00}, WORD{0}, WORD{0xFD00 + 251}}) app_->RemoveTimer(outside);
    EXPECT_EQ(app_->TimerPool()->GetCount(), 250);
    app_->RemoveTimer(0xFD07);
    app_->RemoveTimer(0xFD03);
    EXPECT_EQ(app_->GetTimer(0xFD03), nullptr);
    EXPECT_EQ(app_->AddTimerExt(100, 2, true, TNotifyEvent(&counter, &Counter::Tick)), 0xFD03);
    EXPECT_EQ(app_->GetTimer(0xFD03)->CallCount(), 2);
    EXPECT_EQ(app_->AddTimer(50, nullptr), 0xFD07);
}

TEST_F(ApplicationTest, RefusedApplicationTimerLeavesItsSlotFree)
{
    EXPECT_THROW(app_->AddTimer(75, nullptr), Exception);
    EXPECT_EQ(app_->GetTimerIdent(), 1);
    Counter counter;
    const WORD ident = app_->AddTimerExt(100, 3, true, TNotifyEvent(&counter, &Counter::Tick));
    EXPECT_EQ(ident, 0xFD01);
    Run(500);
    EXPECT_EQ(counter.ticks, 3);
    EXPECT_FALSE(app_->GetTimer(ident)->Enabled());
}

TEST_F(ApplicationTest, FailedTimerStartLeavesPoolAndSlotsConsistent)
{
    UserSetTimerFailure(true);
    EXPECT_THROW(app_->AddTimer(50, nullptr), EOutOfResources);
    EXPECT_THROW(app_->AddTimerExt(100, 2, true, nullptr), EOutOfResources);
    UserSetTimerFailure(false);
    EXPECT_EQ(app_->GetTimerIdent(), 1);
    EXPECT_EQ(app_->TimerPool()->GetCount(), 0);
    EXPECT_EQ(app_->GetTimer(0xFD01), nullptr);
    // The next add gets the same number and works.
    Counter counter;
    EXPECT_EQ(app_->AddTimer(50, TNotifyEvent(&counter, &Counter::Tick)), 0xFD01);
    Run(100);
    EXPECT_EQ(counter.ticks, 2);
}

TEST_F(ApplicationTest, FailedTimerStartKeepsTheOtherTimersFiring)
{
    Counter first;
    Counter second;
    app_->AddTimer(50, TNotifyEvent(&first, &Counter::Tick));
    app_->AddTimerExt(100, -1, true, TNotifyEvent(&second, &Counter::Tick));
    Run(100);
    EXPECT_EQ(first.ticks, 2);
    EXPECT_EQ(second.ticks, 1);
    // Only the new timer's start fails; the pool's timer is set again for the others.
    for (bool ext : {false, true}) {
        UserFailNextSetTimers(1);
        if (ext)
            EXPECT_THROW(app_->AddTimerExt(100, 2, true, nullptr), EOutOfResources);
        else
            EXPECT_THROW(app_->AddTimer(50, nullptr), EOutOfResources);
        EXPECT_EQ(app_->TimerPool()->GetCount(), 2);
        EXPECT_TRUE(app_->TimerPool()->Running());
    }
    EXPECT_EQ(app_->GetTimerIdent(), 3);
    Run(200);
    EXPECT_EQ(first.ticks, 6);
    EXPECT_EQ(second.ticks, 3);
}

// ---- Exceptions -------------------------------------------------------------------------

TEST_F(ApplicationTest, LoggedExceptionsNameTheirSender)
{
    app_->SetOptions(TOBLApplicationOptions{aoLogNr});
    app_->LogException(nullptr);  // no exception being handled: nothing
    EXPECT_FALSE(system_->Exists("Vendaro/Importa.LOG"));
    TComponent named(nullptr);
    named.SetName("Button1");
    TComponent unnamed(nullptr);
    for (TObject* sender : std::initializer_list<TObject*>{&named, &unnamed, nullptr, &listener_}) {
        try {
            throw EConvertError("bad value");
        } catch (const Exception&) {
            app_->LogException(sender);
        }
    }
    const std::regex expected("00001: TComponent \\(Name: Button1\\): bad value, Address: [0-9A-F]{8}\r\n"
                              "00002: TComponent: bad value, Address: [0-9A-F]{8}\r\n"
                              "00003: bad value, Address: [0-9A-F]{8}\r\n"
                              "00004: Listener: bad value, Address: [0-9A-F]{8}\r\n");
    EXPECT_TRUE(std::regex_match(Log(), expected)) << Log();
}

TEST_F(ApplicationTest, HandleExceptionAsksTheHookThenLogsThenShows)
{
    app_->SetOnException(TOBLExceptionEvent(&listener_, &Listener::Exception_));
    app_->SetOptions(TOBLApplicationOptions{aoLogException, aoLogNr});
    for (bool cancel : {true, false}) {
        listener_.cancelExceptions = cancel;
        try {
            throw Exception("Table does not exist");
        } catch (const Exception& e) {
            app_->HandleException(nullptr, e);
        }
    }
    EXPECT_EQ(listener_.exceptions.size(), 2u);
    EXPECT_EQ(boxes_, std::vector<std::string>{"Table does not exist."});
    EXPECT_TRUE(std::regex_match(Log(), std::regex("00001: Table does not exist, Address: [0-9A-F]{8}\r\n")));
}

// ---- Log file ---------------------------------------------------------------------------

TEST_F(ApplicationTest, FirstEntryOfARunFollowsTheHeaderInAFreshFile)
{
    system_->Put("Vendaro/Importa.LOG", "old run\r\n");
    app_->LogWrite("first");
    app_->LogWrite("second");
    EXPECT_EQ(Log(), Header() + "00001: first\r\n00002: second\r\n");
}

TEST_F(ApplicationTest, CommandsWriteLinesWithoutNumbers)
{
    app_->SetVersion("5.1");
    app_->SetOnHeaderWrite(TOBLOnHeaderWrite(&listener_, &Listener::HeaderLines));
    app_->LogWrite("first");
    app_->LogWrite("#Line");
    app_->LogWrite("#CR");
    app_->LogWrite("second");
    EXPECT_EQ(Log(), Header("Version        : 5.1\r\nShop           : Rossi\r\n") + "00001: first\r\n" + kStars +
                         "\r\n\r\n00002: second\r\n");
}

TEST_F(ApplicationTest, HeaderAsFirstMessageIsWrittenTwice)
{
    app_->LogWrite("#Header");
    EXPECT_EQ(Log(), Header() + Header());
}

TEST_F(ApplicationTest, EntryLayoutFollowsLogFormatAndOptions)
{
    struct Case {
        const char* format;
        TOBLApplicationOptions options;
        const char* line;
    };
    const Case cases[] = {
        {"#tdl", {aoLogNr, aoLogTime, aoLogDate}, "00001:  [12:00:00] [15/03/2023]msg"},
        {"l", {aoLogNr, aoLogTime, aoLogDate}, "msg"},
        {"#", {aoLogTime}, ""},
        {"l#x", {aoLogNr}, "msg00001: "},
        {"dl", {aoLogDate}, " [15/03/2023]msg"},
    };
    for (const Case& c : cases) {
        TOBLApplication app(nullptr);
        app.SetLogFormat(c.format);
        app.SetOptions(c.options);
        app.LogWrite("msg");
        EXPECT_EQ(Log(), std::string(c.line) + "\r\n") << c.format;
        DeleteFile("C:\\Vendaro\\Importa.LOG");
    }
}

TEST_F(ApplicationTest, WithoutAlwaysClearANewRunAppends)
{
    app_->SetOptions(TOBLApplicationOptions{aoLogNr});
    app_->LogWrite("one");
    TOBLApplication next(nullptr);
    next.SetOptions(TOBLApplicationOptions{aoLogNr});
    next.LogWrite("two");
    EXPECT_EQ(Log(), "00001: one\r\n00001: two\r\n");
}

TEST_F(ApplicationTest, LogNameAndPrefixRules)
{
    struct Case {
        TOBLPathPrefix prefix;
        const char* name;
        const char* logName;
    };
    const Case cases[] = {
        {ppProgram, "", "C:\\Vendaro\\Importa.LOG"},
        {ppWindows, "trace", "C:\\WINDOWS\\trace.LOG"},
        {ppSystem, "D:\\x\\trace.txt", "C:\\WINDOWS\\SYSTEM\\trace.txt"},
        {ppFixed, "D:\\x\\trace", "D:\\x\\trace.LOG"},
    };
    for (const Case& c : cases) {
        TOBLApplication app(nullptr);
        app.SetLogPrefix(c.prefix);
        app.SetLogName(c.name);
        EXPECT_EQ(app.LogName().str(), c.logName);
    }
    app_->SetLogPrefix(ppWindows);  // keeps the file name, moves the folder
    EXPECT_EQ(app_->LogName().str(), "C:\\WINDOWS\\Importa.LOG");
}

TEST_F(ApplicationTest, UnopenableLogWritesNothingQuietly)
{
    app_->SetLogPrefix(ppFixed);
    app_->SetLogName("C:\\Missing\\Folder\\x.LOG");
    EXPECT_NO_THROW(app_->LogWrite("lost"));
    app_->SetLogName("C:\\Vendaro\\x.LOG");
    app_->LogWrite("kept");
    // The failed open did not count as the run's start: the header comes now.
    EXPECT_EQ(system_->Get("Vendaro/x.LOG"), Header() + "00001: kept\r\n");
}

class ApplicationLogSizeTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        app_->SetOptions(TOBLApplicationOptions{aoLogNr, aoLogHeader});
        app_->SetMaxLogSize(101);
        system_->Put("Vendaro/Importa.LOG", std::string(102, 'x'));
    }
};

TEST_F(ApplicationLogSizeTest, SmallLimitsNeverTriggerTheCheck)
{
    app_->SetLogAction(laClearLog);
    app_->SetMaxLogSize(100);
    app_->SetOptions(TOBLApplicationOptions{aoLogNr});
    app_->LogWrite("a");
    EXPECT_EQ(Log(), std::string(102, 'x') + "00001: a\r\n");
}

TEST_F(ApplicationLogSizeTest, BackupTakesTheFirstFreeNumberAndANewLogStarts)
{
    system_->Put("Vendaro/Importa.l0", "zero");
    system_->Put("Vendaro/Importa.l1", "one");
    app_->SetLogAction(laBackupLog);
    app_->SetOptions(TOBLApplicationOptions{aoLogNr});  // no header unless the log restarts
    app_->LogWrite("a");
    EXPECT_EQ(system_->Get("Vendaro/Importa.l2"), std::string(102, 'x'));
    EXPECT_EQ(system_->Get("Vendaro/Importa.l0"), "zero");
    EXPECT_EQ(Log(), Header() + "00001: a\r\n");
}

TEST_F(ApplicationLogSizeTest, BackupThatCannotBeMadeKeepsTheLog)
{
    std::filesystem::create_directory(std::filesystem::path(FileSystem::ToPosixPath("C:\\Vendaro\\Importa.l0")));
    app_->SetLogAction(laBackupLog);
    app_->SetOptions(TOBLApplicationOptions{aoLogNr});
    app_->LogWrite("a");
    EXPECT_EQ(Log(), std::string(102, 'x') + "00001: a\r\n");
}

TEST_F(ApplicationLogSizeTest, ClearStartsAnewAndTheHookCanCancel)
{
    app_->SetOnMaxLogSize(TOBLMaxLogSizeEvent(&listener_, &Listener::TooLarge));
    app_->SetLogAction(laClearLog);
    listener_.cancelTooLarge = true;
    app_->LogWrite("dropped");
    EXPECT_EQ(Log(), std::string(102, 'x'));
    listener_.cancelTooLarge = false;
    app_->LogWrite("a");
    EXPECT_EQ(Log(), Header() + "00001: a\r\n");
    EXPECT_EQ(listener_.tooLarge, (std::vector<std::string>{"C:\\Vendaro\\Importa.LOG", "C:\\Vendaro\\Importa.LOG"}));
    app_->SetLogAction(laNone);
    app_->LogWrite(std::string(200, 'y'));
    app_->LogWrite("b");
    EXPECT_TRUE(Log().ends_with("00001: a\r\n00002: " + std::string(200, 'y') + "\r\n00003: b\r\n"));
}

// ---- Settings path, one-instance check, session -----------------------------------------

TEST_F(ApplicationTest, DefaultRegistryPathJoinsItsPartsWithOneBackslash)
{
    struct Case {
        const char* company;
        const char* title;
        const char* version;
        const char* path;
    };
    const Case cases[] = {
        {"Acme", "Demo", "", "Software\\Acme\\Demo\\"},
        {"", "Demo", "5.0\\", "Software\\Demo\\5.0\\"},
        {"Acme\\", "", "", "Software\\Acme\\C:\\Vendaro\\Importa.exe\\"},
    };
    for (const Case& c : cases) {
        app_->SetCompany(c.company);
        app_->SetVersion(c.version);
        Application->SetTitle(c.title);
        EXPECT_EQ(app_->GetDefaultRegPath().str(), c.path);
    }
    // The settings store uses it while its own path is empty.
    oblclassInitialization();
    OBLApplication->SetCompany("Acme");
    Application->SetTitle("Demo");
    TOBLIniCtrl ctrl(nullptr);
    EXPECT_EQ(ctrl.GetRegPath().str(), "Software\\Acme\\Demo\\");
    oblclassFinalization();
}

TEST_F(ApplicationTest, SameClassCheckRefusesWrongOwnersAndSecondInstances)
{
    TForm form(nullptr);
    TComponent plain(nullptr);
    EXPECT_TRUE(OBLCheckForSameClass(nullptr, TOBLTimerPool::StaticClass(), true));
    EXPECT_TRUE(OBLCheckForSameClass(&plain, TOBLTimerPool::StaticClass(), true));
    EXPECT_FALSE(OBLCheckForSameClass(&form, nullptr, false));
    new TOBLTimerPool(&form);
    EXPECT_FALSE(OBLCheckForSameClass(&form, TOBLTimerPool::StaticClass(), false));
    new TOBLTimerPool(&form);
    EXPECT_TRUE(OBLCheckForSameClass(&form, TOBLTimerPool::StaticClass(), false));
    EXPECT_TRUE(OBLCheckForSameClass(&form, TOBLCustomComponent::StaticClass(), false));
    EXPECT_FALSE(OBLCheckForSameClass(&form, TOBLIniCtrl::StaticClass(), false));

    EXPECT_EQ(OBLEOneInstError("Shape", 0).Message().str(),
              "Shape:\rInvalid owner (<>TForm) or second instance on a form");
    EXPECT_EQ(OBLEOneInstError("Shape", 1).Message().str(), "Shape:\rAlready one Shape control in this project!");
    EXPECT_EQ(OBLEOneInstError("Shape", 2).Message().str(), "");
}

TEST_F(ApplicationTest, QuitWindowsAsksForThePrivilegeOnNTSystems)
{
    const bool nt = OBLSIWindowsNT;
    OBLSIWindowsNT = true;
    EXPECT_TRUE(app_->QuitWindows(ecRestart));
    EXPECT_TRUE(app_->QuitWindows(ecQuit));
    EXPECT_TRUE(app_->QuitWindows(ecReboot));
    ASSERT_EQ(ExitWindowsRequests().size(), 3u);
    EXPECT_EQ(ExitWindowsRequests()[0].flags, 0u);
    EXPECT_EQ(ExitWindowsRequests()[1].flags, 5u);
    EXPECT_EQ(ExitWindowsRequests()[2].flags, 6u);
    EXPECT_TRUE(Application->Terminated());

    ResetSecurityForTesting();
    SetTokenCallsFailForTesting(true);
    EXPECT_FALSE(app_->QuitWindows(ecQuit));
    EXPECT_TRUE(ExitWindowsRequests().empty());
    // Without the NT flag no privilege is asked for, and shutting down is refused.
    OBLSIWindowsNT = false;
    EXPECT_FALSE(app_->QuitWindows(ecQuit));
    ASSERT_EQ(ExitWindowsRequests().size(), 1u);
    EXPECT_FALSE(ExitWindowsRequests()[0].accepted);
    SetTokenCallsFailForTesting(false);
    OBLSIWindowsNT = nt;
}

}  // namespace
