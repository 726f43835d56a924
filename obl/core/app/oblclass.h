// Unit oblclass: the library's per-process services. The timer pool lets all library
// timers share one hidden window and one Windows timer ticking every MinInterval
// milliseconds, each pooled item firing on every n-th tick. The application object
// OBLApplication owns the pool, switches theme painting and tells every form, keeps the
// keyboard edit mode of the library's edits, caches the checkerboard brush, detects a
// second instance of the program and writes the optional log file.
#pragma once

#include "obl/core/base/OBLCustomComponent.h"
#include "obl/core/app/OBLIniCtrl.h"
#include "obl/core/base/Oblprocs.h"
#include "platform/classlib/Controls.h"
#include "platform/rtl/TextFile.h"

#include <array>
#include <cstdint>

VENDARO_ENUM(TOBLApplicationOption, aoAutoRealizePalette, aoMouseCtrlActive, aoLogAlwaysClear, aoLogException,
             aoLogHeader, aoLogNr, aoLogTime, aoLogDate)
using TOBLApplicationOptions = TSet<TOBLApplicationOption>;
VENDARO_ENUM(TOBLLogAction, laNone, laClearLog, laBackupLog)
VENDARO_ENUM(TOBLExitCode, ecQuit, ecReboot, ecRestart)
VENDARO_ENUM(TOBLEditMode, emInsert, emShift, emCtrl, emAlt, emCaps, emNum, emScroll)
using TOBLEditModes = TSet<TOBLEditMode>;
VENDARO_ENUM(TOBLTimerMode, tmGlobalTimer, tmHiTimer, tmThreaded)
VENDARO_ENUM(TOBLCharCase, ccNormal, ccLowerCase, ccUpperCase)
VENDARO_ENUM(TOBLDlgPosRel, brScreen, brScreenWorkArea, brMainForm, brActiveWindow)
VENDARO_ENUM(TOBLDlgPosition, bpCustom, bpTopLeft, bpTopCenter, bpTopRight, bpCenterLeft, bpCenter, bpCenterRight,
             bpBottomLeft, bpBottomCenter, bpBottomRight)
VENDARO_ENUM(TOBLListItemClassType, icImageList, icBitmap, icWave, icStringList, icGeneric, icRTF, icInvalid)
VENDARO_ENUM(TOBLSavePixelFormat, spfDefault, spfMono, spf4bit, spf8bit)

// Field separator of the drawing library's text forms of rectangles, points and fonts.
inline constexpr char IDS_DEFAULTDELIMITER = ',';

// Milliseconds, 1..65535.
using TOBLTimerInterval = WORD;
// Sender, Ident, Counter.
using TOBLTimerPoolEvent = TEvent<TObject*, WORD, int>;

class TOBLTimerPool;

// One pooled timer, owned by its pool.
class TOBLTimerItem : public TObject {
    VENDARO_CLASS(TOBLTimerItem, TObject)
public:
    // Raises EInvalidOperation "<class>: Invalid Owner or List" without a pool or list; the
    // item does not enter the list itself.
    TOBLTimerItem(TOBLTimerPool* AOwner, TList* AList, WORD AIdent);
    ~TOBLTimerItem() override;

    // Firings after which the item disables itself; -1 for no limit, 0 disables at once.
    int CallCount() const { return callCount_; }
    void SetCallCount(int Value);
    // Firings since the last enable or interval change.
    int Counter() const { return counter_; }
    bool Enabled() const { return enabled_; }
    // Enabling an item whose CallCount is 0 does nothing.
    void SetEnabled(bool Value);
    WORD Ident() const { return ident_; }
    WORD Interval() const { return interval_; }
    // A value that is not a multiple of the pool's MinInterval is ignored; 0 means MinInterval.
    void SetInterval(WORD Value);
    // Interval div the pool's MinInterval: the item fires on ticks divisible by it.
    int Ratio() const { return ratio_; }
    TOBLTimerPool* Owner() const { return owner_; }
    TNotifyEvent OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent Value) { onTimer_ = Value; }

    // One firing. The handler may free this item: nothing of it is touched afterwards.
    void Timer();

private:
    friend class TOBLTimerPool;
    int callCount_ = -1;
    int counter_ = 0;
    bool enabled_ = true;
    WORD ident_;
    WORD interval_ = 1000;
    int ratio_;
    TList* list_;
    TOBLTimerPool* owner_;
    TNotifyEvent onTimer_;
    unsigned long long serial_ = 0; // order of addition to the pool: items added during a tick skip it
};

class TOBLTimerPool : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLTimerPool, TOBLCustomComponent)
public:
    explicit TOBLTimerPool(TComponent* AOwner);
    // A minimum interval of 0 counts as 1.
    TOBLTimerPool(TComponent* AOwner, WORD AMinInterval);
    ~TOBLTimerPool() override;

    WORD MinInterval() const { return minInterval_; }
    // Only while loading or designing; at run time the interval stays.
    void SetInterval(WORD Value);
    TOBLTimerPoolEvent OnTimer() const { return onTimer_; }
    void SetOnTimer(TOBLTimerPoolEvent Value) { onTimer_ = Value; }

    // Appends an enabled, unlimited item and restarts the tick; answers its list index.
    // A duplicate Ident raises "List index out of bounds (<Ident>)"; an Interval below
    // MinInterval or not a multiple of it raises the library's interval message; a
    // Windows timer that cannot be set raises EOutOfResources (the item stays).
    int AddTimer(WORD Ident, WORD Interval, TNotifyEvent Proc);
    int AddTimerExt(WORD Ident, WORD Interval, int CallCount, bool Enabled, TNotifyEvent Proc);
    void RemoveTimer(WORD Ident);
    void ClearTimers();
    TOBLTimerItem* GetTimer(WORD Ident) const;
    int IndexOf(WORD Ident) const;
    int GetCount() const { return items_.Count(); }
    int GetActiveTimers() const;
    bool HasTimerProc() const { return onTimer_.Assigned(); }

    // Sets (when Activate and an item is enabled) or stops the Windows timer; the hidden
    // window is made on first need. Nothing in design state.
    void UpdateMainTimer(bool Activate);
    void HandleTimers();
    void WndProc(TMessage& Message);

    // Test view: the hidden window (0 until first needed) and whether the timer is set.
    HWND WindowHandle() const { return window_; }
    bool Running() const { return running_; }

    static void Publish(TClassBuilder<TOBLTimerPool>& c);

private:
    TOBLTimerItem* Item(int index) const { return static_cast<TOBLTimerItem*>(items_.Items(index)); }

    bool running_ = false;
    bool inHandler_ = false;
    HWND window_ = nullptr;
    int tick_ = 0;
    WORD minInterval_ = 1000;
    TList items_;
    bool removing_ = false;
    TOBLTimerPoolEvent onTimer_;
    unsigned long long lastSerial_ = 0;
};

// ---------------------------------------------------------------------------------------
// The application object

class TBitmap;

// Sender, E, var Cancel.
using TOBLExceptionEvent = TEvent<TObject*, const Exception&, bool&>;
// Sender, LogName, var Cancel.
using TOBLMaxLogSizeEvent = TEvent<TObject*, const AnsiString&, bool&>;
// Sender, the open log file.
using TOBLOnHeaderWrite = TEvent<TObject*, TTextFile&>;

// Application timer n (1..250) is known to callers as n + this base.
inline constexpr WORD OBLTimerIdentBase = 0xFD00;
inline constexpr int OBLMaxApplicationTimers = 250;

// "Software\" + Company + Title (or the program path) + Version, each part ending in
// exactly one backslash; empty parts other than the title are left out.
AnsiString OBLDefaultRegPath(const AnsiString& Company, const AnsiString& Version);

class TOBLApplication : public TComponent {
    VENDARO_CLASS(TOBLApplication, TComponent)
public:
    explicit TOBLApplication(TComponent* AOwner);
    ~TOBLApplication() override;

    // ---- Themes -------------------------------------------------------------------
    // The theme library is loaded and reports an active visual style.
    bool GetXPThemesSupported() const;
    void InitXPSupport();
    // The stored switch and the current support (asked anew each time).
    bool UseXPThemes() const;
    // Ignored when themes are unsupported; otherwise tells the application window and
    // every visible form.
    void SetXPThemeSupport(bool Value);
    bool XPOBLOnly() const { return xpOBLOnly_; }
    void SetXPOBLOnly(bool Value);
    void DoThemeChange();

    // ---- Shared state -------------------------------------------------------------
    TOBLEditModes EditMode() const { return editMode_; }
    void SetEditMode(TOBLEditModes Value);
    TNotifyEvent OnEditModeChange() const { return onEditModeChange_; }
    void SetOnEditModeChange(TNotifyEvent Value) { onEditModeChange_ = Value; }
    TOBLApplicationOptions Options() const { return options_; }
    void SetOptions(TOBLApplicationOptions Value) { options_ = Value; }
    TOBLIniCtrl* IniCtrl() const { return iniCtrl_; }
    TOBLTimerPool* TimerPool() const { return timerPool_; }
    const AnsiString& Company() const { return company_; }
    void SetCompany(const AnsiString& Value) { company_ = Value; }
    const AnsiString& Version() const { return version_; }
    void SetVersion(const AnsiString& Value) { version_ = Value; }
    BYTE ExplodeDelay() const { return explodeDelay_; }
    void SetExplodeDelay(BYTE Value) { explodeDelay_ = Value; }
    // Another process had already created this program's mutex.
    bool InstanceRunning() const { return instanceRunning_; }
    // The name the instance mutex was created with.
    const AnsiString& InstanceMutexName() const { return mutexName_; }

    // ---- Bitmaps ------------------------------------------------------------------
    // The 8 x 8 checkerboard: pixels where exactly one coordinate is odd take Color, the
    // others are white. Owned by the application object.
    TBitmap* GetBrushBitmap(TColor Color);
    // A copy of the checkerboard in black, made on the first call.
    TBitmap* GetBitmap();
    void SetCheckBitmap(TBitmap* Bitmap);
    TBitmap* CheckBitmap() const { return checkBitmap_; }
    int GetCheckCustomWidth() const;
    int GetCheckCustomHeight() const;
    // One cell of the system check-box glyphs.
    int CheckWidth() const { return checkWidth_; }
    int CheckHeight() const { return checkHeight_; }

    // ---- Timing -------------------------------------------------------------------
    double GetTimerFrequency() const { return static_cast<double>(frequency_); }
    void STWStart();
    // Milliseconds since STWStart; 0 when the stopwatch is not running.
    int STWStop();
    // Application timers: identifiers n + OBLTimerIdentBase, lowest free n first; 0 when
    // all 250 are taken. A refused add (its exception reaches the caller) leaves the slot
    // free and the pool without the item.
    WORD GetTimerIdent() const;
    WORD AddTimer(WORD Interval, TNotifyEvent Proc);
    WORD AddTimerExt(WORD Interval, int CallCount, bool Enabled, TNotifyEvent Proc);
    void RemoveTimer(WORD Ident);
    TOBLTimerItem* GetTimer(WORD Ident) const;

    // ---- Exceptions and the log file ----------------------------------------------
    void HandleException(TObject* Sender, const Exception& E);
    // Logs the exception being handled (call from a catch block); nothing without one.
    void LogException(TObject* Sender);
    // Appends an entry, or one of the commands "#Header", "#Line" and "#CR".
    void LogWrite(const AnsiString& Msg);
    const AnsiString& LogFormat() const { return logFormat_; }
    void SetLogFormat(const AnsiString& Value) { logFormat_ = Value; }
    const AnsiString& LogName() const { return logName_; }
    void SetLogName(const AnsiString& Name);
    TOBLPathPrefix LogPrefix() const { return logPrefix_; }
    void SetLogPrefix(TOBLPathPrefix Value);
    int MaxLogSize() const { return maxLogSize_; }
    void SetMaxLogSize(int Value) { maxLogSize_ = Value; }
    TOBLLogAction LogAction() const { return logAction_; }
    void SetLogAction(TOBLLogAction Value) { logAction_ = Value; }
    TOBLMaxLogSizeEvent OnMaxLogSize() const { return onMaxLogSize_; }
    void SetOnMaxLogSize(TOBLMaxLogSizeEvent Value) { onMaxLogSize_ = Value; }
    TOBLOnHeaderWrite OnHeaderWrite() const { return onHeaderWrite_; }
    void SetOnHeaderWrite(TOBLOnHeaderWrite Value) { onHeaderWrite_ = Value; }
    TOBLExceptionEvent OnException() const { return onException_; }
    void SetOnException(TOBLExceptionEvent Value) { onException_ = Value; }

    // ---- Settings and the session -------------------------------------------------
    AnsiString GetDefaultRegPath() const;
    // Logs off, shuts down or restarts Windows; false when it was refused.
    bool QuitWindows(TOBLExitCode ExitCode);

private:
    void CreateInstanceMutex();
    void ReadCheckMetrics();
    void AnnounceTheme(TWinControl* Control);
    bool LogTooLarge(bool& Reset);
    void MoveToBackup();
    void WriteHeader(TTextFile& Log);
    AnsiString LogEntry(const AnsiString& Msg);
    static bool EnableShutdownPrivilege();

    AnsiString logFormat_ = "#tdl";
    AnsiString company_;
    AnsiString version_;
    TOBLApplicationOptions options_{aoMouseCtrlActive, aoLogAlwaysClear, aoLogHeader, aoLogNr};
    TOBLIniCtrl* iniCtrl_ = nullptr;
    TOBLEditModes editMode_{emInsert};
    TNotifyEvent onEditModeChange_;
    TBitmap* copyBrushBitmap_ = nullptr;
    TBitmap* brushBitmap_ = nullptr;
    TColor brushColor_ = 0x1FFFFFFF;
    TOBLTimerPool* timerPool_ = nullptr;
    TOBLPathPrefix logPrefix_ = ppProgram;
    AnsiString logName_;
    int maxLogSize_ = -1;
    bool logStarted_ = false;
    int entryNumber_ = 0;
    TOBLLogAction logAction_ = laNone;
    TOBLMaxLogSizeEvent onMaxLogSize_;
    TOBLOnHeaderWrite onHeaderWrite_;
    std::uint32_t stwStart_ = 0;
    std::uint32_t stwStop_ = 0;
    bool stwRunning_ = false;
    std::int64_t frequency_ = 0;
    TBitmap* checkBitmap_ = nullptr;
    HANDLE mutex_ = nullptr;
    AnsiString mutexName_;
    bool instanceRunning_ = false;
    TOBLExceptionEvent onException_;
    int checkHeight_ = 0;
    int checkWidth_ = 0;
    bool xpOBLOnly_ = false;
    BYTE explodeDelay_ = 3;
    bool themeFlag_ = false;
    std::array<bool, OBLMaxApplicationTimers + 1> timerSlots_{};

    // Takes the lowest free slot for the item `add` puts into the pool under its ident.
    template <class AddToPool>
    WORD AddPoolTimer(AddToPool add);
};

// The one application object, from the unit's start-up to its close-down.
extern TOBLApplication* OBLApplication;

// A pool interval that the application's pool accepts: the value rounded up to the next
// multiple of the pool's base interval (at least one base interval, at most the largest
// multiple that fits in 16 bits).
WORD OBLPoolInterval(WORD Milliseconds);

// True means "refuse": Owner is not a form (a data module counts when allowed), or it
// already owns two or more components of AClass or its descendants.
bool OBLCheckForSameClass(TComponent* Owner, TClass AClass, bool AllowDataModule);

// The error of a form-level component placed where it may not be.
class OBLEOneInstError : public Exception {
public:
    // Kind 0: wrong owner or second instance; kind 1: a second one in the project; any
    // other kind: no message.
    OBLEOneInstError(const AnsiString& Name, BYTE Kind);
    const char* ClassName() const override { return "OBLEOneInstError"; }
};

// Unit start-up: creates OBLApplication and installs its theme operations for the library's
// components. Close-down frees it. Both may run again.
void oblclassInitialization();
void oblclassFinalization();
