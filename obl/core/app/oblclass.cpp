#include "obl/core/app/oblclass.h"

#include "obl/core/base/Oblconst.h"
#include "obl/core/base/Oblstrings.h"
#include "obl/core/app/Oblsysin.h"
#include "obl/core/base/Oblxpstyles.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Graphics.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Files.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Handles.h"
#include "platform/win/kernel/Mutex.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/Security.h"
#include "platform/win/kernel/Time.h"

#include <exception>

TOBLApplication* OBLApplication = nullptr;

AnsiString OBLDefaultRegPath(const AnsiString& Company, const AnsiString& Version)
{
    AnsiString path = "Software\\";
    if (!Company.IsEmpty()) path += OBLSlashAdd(Company);
    const AnsiString title = Application ? Application->Title() : AnsiString();
    path += OBLSlashAdd(title.IsEmpty() ? ParamStr(0) : title);
    if (!Version.IsEmpty()) path += OBLSlashAdd(Version);
    return path;
}

// --- Construction ----------------------------------------------------------------------

TOBLApplication::TOBLApplication(TComponent* AOwner) : TComponent(AOwner)
{
    InitXPSupport();
    iniCtrl_ = new TOBLIniCtrl(nullptr);
    if (!ComponentState().Contains(csDesigning)) CreateInstanceMutex();
    timerPool_ = new TOBLTimerPool(nullptr, 50);
    SetLogName("");
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
    ReadCheckMetrics();
}

TOBLApplication::~TOBLApplication()
{
    FreeAndNil(iniCtrl_);
    FreeAndNil(brushBitmap_);
    FreeAndNil(copyBrushBitmap_);
    FreeAndNil(checkBitmap_);
    FreeAndNil(timerPool_);
    if (mutex_) CloseHandle(mutex_);
}

// The mutex is named after the program file as ParamStr(0) gives it, upper-cased; on this
// platform that name carries no extension unless the file has one.
void TOBLApplication::CreateInstanceMutex()
{
    mutexName_ = ExtractFileName(UpperCase(ParamStr(0)));
    mutex_ = CreateMutexA(nullptr, FALSE, mutexName_.c_str());
    if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) instanceRunning_ = true;
}

void TOBLApplication::ReadCheckMetrics()
{
    TOwned<TBitmap> glyphs(new TBitmap);
    glyphs->SetHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES)));
    checkWidth_ = glyphs->Width() / 4;
    checkHeight_ = glyphs->Height() / 3;
}

// --- Themes ----------------------------------------------------------------------------

bool TOBLApplication::GetXPThemesSupported() const { return XPThemesAvailable && IsThemeActive(); }

void TOBLApplication::InitXPSupport() { themeFlag_ = GetXPThemesSupported(); }

bool TOBLApplication::UseXPThemes() const { return themeFlag_ && GetXPThemesSupported(); }

void TOBLApplication::SetXPThemeSupport(bool Value)
{
    if (Value == themeFlag_) return;
    if (Value && !GetXPThemesSupported()) return;
    themeFlag_ = Value;
    if (ComponentState().Contains(csDesigning) || !XPThemesAvailable) return;
    if (Application) SendMessageA(Application->Handle(), WM_THEMECHANGED, 0, 0);
    if (Value)
        SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
    else if (!xpOBLOnly_)
        SetThemeAppProperties(0);
    DoThemeChange();
}

void TOBLApplication::SetXPOBLOnly(bool Value)
{
    if (Value == xpOBLOnly_) return;
    xpOBLOnly_ = Value;
    if (!Value || themeFlag_) return;
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
    DoThemeChange();
}

// Windowed controls that have a window get WM_THEMECHANGED, depth first in control order.
void TOBLApplication::AnnounceTheme(TWinControl* Control)
{
    for (int i = 0; i < Control->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(Control->Controls(i));
        if (!child) continue;
        if (child->HandleAllocated()) child->Perform(WM_THEMECHANGED, 0, 0);
        AnnounceTheme(child);
    }
}

void TOBLApplication::DoThemeChange()
{
    if (!Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (!form->Visible()) continue;
        // The form's broadcast: each direct control in turn, until one answers.
        for (int c = 0; c < form->ControlCount(); ++c)
            if (form->Controls(c)->Perform(CM_OBLTHEMECHANGED, 0, 0) != 0) break;
        AnnounceTheme(form);
        if (!xpOBLOnly_) form->Perform(WM_THEMECHANGED, 0, 0);
    }
}

// --- Shared state and bitmaps ----------------------------------------------------------

void TOBLApplication::SetEditMode(TOBLEditModes Value)
{
    if (Value == editMode_) return;
    editMode_ = Value;
    onEditModeChange_(this);
}

TBitmap* TOBLApplication::GetBrushBitmap(TColor Color)
{
    if (Color == brushColor_ && brushBitmap_) return brushBitmap_;
    if (!brushBitmap_) {
        brushBitmap_ = new TBitmap;
        brushBitmap_->SetSize(8, 8);
        brushBitmap_->Canvas()->Brush()->SetColor(clWhite);
        brushBitmap_->Canvas()->FillRect(Rect(0, 0, 8, 8));
    }
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            if ((x % 2 == 1) != (y % 2 == 1)) brushBitmap_->Canvas()->SetPixels(x, y, Color);
    brushColor_ = Color;
    return brushBitmap_;
}

TBitmap* TOBLApplication::GetBitmap()
{
    if (!copyBrushBitmap_) {
        copyBrushBitmap_ = new TBitmap;
        copyBrushBitmap_->Assign(GetBrushBitmap(clBlack));
    }
    return copyBrushBitmap_;
}

void TOBLApplication::SetCheckBitmap(TBitmap* Bitmap)
{
    if (!checkBitmap_) checkBitmap_ = new TBitmap;
    checkBitmap_->Assign(Bitmap);
}

int TOBLApplication::GetCheckCustomWidth() const { return checkBitmap_ ? checkBitmap_->Width() / 6 : 0; }

int TOBLApplication::GetCheckCustomHeight() const { return checkBitmap_ ? checkBitmap_->Height() : 0; }

// --- Timing ----------------------------------------------------------------------------

void TOBLApplication::STWStart()
{
    if (stwRunning_) STWStop();
    stwStart_ = GetTickCount();
    stwStop_ = 0;
    stwRunning_ = true;
}

int TOBLApplication::STWStop()
{
    if (!stwRunning_) return 0;
    stwStop_ = GetTickCount();
    stwRunning_ = false;
    // Unsigned, so a tick count that wrapped in between still gives the elapsed time.
    return static_cast<int>(stwStop_ - stwStart_);
}

WORD TOBLApplication::GetTimerIdent() const
{
    for (int n = 1; n <= OBLMaxApplicationTimers; ++n)
        if (!timerSlots_[static_cast<std::size_t>(n)]) return static_cast<WORD>(n);
    return 0;
}

template <class AddToPool>
WORD TOBLApplication::AddPoolTimer(AddToPool add)
{
    const WORD n = GetTimerIdent();
    if (n == 0) return 0;
    const WORD ident = static_cast<WORD>(n + OBLTimerIdentBase);
    try {
        add(ident);
    } catch (...) {
        // A Windows timer that could not be set leaves the new item in the pool; taken out
        // again, the pool and the free slot agree and the number can be handed out later.
        if (timerPool_->GetTimer(ident)) {
            timerPool_->RemoveTimer(ident);
            // The failed start also stopped the pool's Windows timer, which the timers added
            // before need: it is set again for them. When that fails too, nothing more can be
            // done here, and the caller hears of the first failure.
            try {
                if (timerPool_->GetCount() > 0) timerPool_->UpdateMainTimer(true);
            } catch (const EOutOfResources&) {
            }
        }
        throw;
    }
    timerSlots_[n] = true;
    return ident;
}

WORD TOBLApplication::AddTimer(WORD Interval, TNotifyEvent Proc)
{
    return AddPoolTimer([&](WORD ident) { timerPool_->AddTimer(ident, Interval, Proc); });
}

WORD TOBLApplication::AddTimerExt(WORD Interval, int CallCount, bool Enabled, TNotifyEvent Proc)
{
    return AddPoolTimer(
        [&](WORD ident) { timerPool_->AddTimerExt(ident, Interval, CallCount, Enabled, Proc); });
}

void TOBLApplication::RemoveTimer(WORD Ident)
{
    if (Ident <= OBLTimerIdentBase || Ident > OBLTimerIdentBase + OBLMaxApplicationTimers) return;
    timerPool_->RemoveTimer(Ident);
    timerSlots_[Ident - OBLTimerIdentBase] = false;
}

TOBLTimerItem* TOBLApplication::GetTimer(WORD Ident) const { return timerPool_->GetTimer(Ident); }

// --- Exceptions ------------------------------------------------------------------------

void TOBLApplication::HandleException(TObject* Sender, const Exception& E)
{
    bool cancel = false;
    onException_(Sender, E, cancel);
    if (cancel) return;
    if (options_.Contains(aoLogException)) LogException(Sender);
    if (Application) Application->ShowException(E);
}

void TOBLApplication::LogException(TObject* Sender)
{
    const std::exception_ptr current = std::current_exception();
    if (!current) return;
    AnsiString message;
    const void* address = nullptr;
    try {
        std::rethrow_exception(current);
    } catch (const Exception& e) {
        message = e.Message();
        address = &e;
    } catch (const std::exception& e) {
        message = e.what();
        address = &e;
    } catch (...) {
        return;
    }
    // The address is shown in the original's 32-bit width.
    const auto low = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address)));
    const AnsiString text = Format("%s, Address: %p", {message, reinterpret_cast<const void*>(low)});
    if (!Sender) {
        LogWrite(text);
        return;
    }
    auto* component = dynamic_cast<TComponent*>(Sender);
    if (component && !component->Name().IsEmpty())
        LogWrite(Sender->ClassName() + " (Name: " + component->Name() + "): " + text);
    else
        LogWrite(Sender->ClassName() + ": " + text);
}

// --- Settings and the session ----------------------------------------------------------

AnsiString TOBLApplication::GetDefaultRegPath() const { return OBLDefaultRegPath(company_, version_); }

bool TOBLApplication::EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges{};
    LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
    return adjusted != FALSE;
}

bool TOBLApplication::QuitWindows(TOBLExitCode ExitCode)
{
    UINT flags = EWX_LOGOFF;
    if (ExitCode != ecRestart) {
        if (OBLSIWindowsNT && !EnableShutdownPrivilege()) return false;
        flags = ExitCode == ecQuit ? (EWX_SHUTDOWN | EWX_FORCE) : (EWX_REBOOT | EWX_FORCE);
    }
    const bool done = ExitWindowsEx(flags, 0) != FALSE;
    if (done && Application) Application->Terminate();
    return done;
}

// --- Free routines ---------------------------------------------------------------------

bool OBLCheckForSameClass(TComponent* Owner, TClass AClass, bool AllowDataModule)
{
    // The class library has no data modules, so only a form is a fitting owner.
    if (!Owner || !Owner->InheritsFrom(TForm::StaticClass())) return true;
    if (!AClass) return false;
    int count = 0;
    for (int i = 0; i < Owner->ComponentCount(); ++i)
        if (Owner->Components(i)->InheritsFrom(AClass)) ++count;
    return count >= 2;
}

namespace {

AnsiString OneInstMessage(const AnsiString& Name, BYTE Kind)
{
    switch (Kind) {
    case 0: return Name + ":\r" + LoadResString(_IDS_INVALIDOWNER);
    case 1: return Name + ":\rAlready one " + Name + " control in this project!";
    default: return AnsiString();
    }
}

} // namespace

OBLEOneInstError::OBLEOneInstError(const AnsiString& Name, BYTE Kind) : Exception(OneInstMessage(Name, Kind)) {}

// --- Unit start-up and close-down ------------------------------------------------------

void oblclassInitialization()
{
    OBLApplication = new TOBLApplication(nullptr);
    TOBLApplicationThemeHooks hooks;
    hooks.UseXPThemes = [] { return OBLApplication->UseXPThemes(); };
    hooks.InitXPSupport = [] { OBLApplication->InitXPSupport(); };
    hooks.SetXPThemeSupport = [](bool value) { OBLApplication->SetXPThemeSupport(value); };
    OBLSetApplicationThemeHooks(hooks);
}

void oblclassFinalization()
{
    OBLSetApplicationThemeHooks(TOBLApplicationThemeHooks{});
    FreeAndNil(OBLApplication);
}
