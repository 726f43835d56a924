// Forms and the application: TCustomForm/TForm (a top-level window that tracks its focused
// control and runs modal), TApplication (the message loop, form creation from the form
// descriptions compiled into the program, exception display) and TScreen (the live forms).
#pragma once

#include "platform/classlib/Controls.h"

#include <functional>

VENDARO_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
VENDARO_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
             poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
VENDARO_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
VENDARO_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
VENDARO_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

inline constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";
inline constexpr const char* SCannotShowModal = "Cannot make a visible window modal";

// ---------------------------------------------------------------------------------------
// Scrolling containers. A scroll bar shows (the window's WS_HSCROLL or WS_VSCROLL) while its
// range exceeds the client extent; moving its position moves the children. The mouse wheel
// scrolls the vertical bar.

VENDARO_ENUM(TScrollBarKind, sbHorizontal, sbVertical)

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
    VENDARO_CLASS(TControlScrollBar, TPersistent)
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind) : control_(control), kind_(kind) {}

    TScrollBarKind Kind() const { return kind_; }
    int Position() const { return position_; }
    // Clamped to 0 .. Range - client extent; the children move by the difference.
    void SetPosition(int v);
    int Range() const { return range_; }
    void SetRange(int v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = v > 0 ? v : 1; }
    bool Tracking() const { return tracking_; }
    void SetTracking(bool v) { tracking_ = v; }
    int Margin() const { return margin_; }
    void SetMargin(int v) { margin_ = v; }
    // Shown: visible and its range beyond the client extent.
    bool IsScrollBarVisible() const;
    int ScrollPos() const { return IsScrollBarVisible() ? position_ : 0; }
    // A range that follows the children (AutoScroll) is not the description's to keep.
    bool IsRangeStored() const;
    // The position a WM_HSCROLL / WM_VSCROLL code asks for.
    void ScrollMessage(WPARAM code);
    void Assign(TPersistent* source) override;

    static void Publish(TClassBuilder<TControlScrollBar>& c);

private:
    friend class TScrollingWinControl;
    int ClientExtent() const;
    int MaxPosition() const;
    // Gives the window's scroll bar the range, page and position.
    void UpdateScrollInfo();

    TScrollingWinControl* control_;
    TScrollBarKind kind_;
    int position_ = 0;
    int range_ = 0;
    bool visible_ = true;
    int increment_ = 8;
    bool tracking_ = false;
    int margin_ = 0;
    int calcRange_ = 0;
};

class TScrollingWinControl : public TWinControl {
    VENDARO_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner);
    ~TScrollingWinControl() override;

    TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
    void SetHorzScrollBar(TControlScrollBar* v) { horz_->Assign(v); }
    TControlScrollBar* VertScrollBar() const { return vert_.get(); }
    void SetVertScrollBar(TControlScrollBar* v) { vert_->Assign(v); }
    // Ranges follow the children's extent.
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool v);
    // Moves the client area's bits and every child by the distances.
    void ScrollBy(int dx, int dy);
    void ScrollInView(TControl* control);
    void WndProc(TMessage& message) override;

    static void Publish(TClassBuilder<TScrollingWinControl>& c);

protected:
    void AlignControls(TControl* control, TRect& rect) override;
    void CreateWnd() override;
    // Shows or hides the scroll bars the ranges call for.
    void UpdateScrollBars();

private:
    friend class TControlScrollBar;
    void CalcAutoRange();
    // Each wheel notch scrolls the vertical bar by the system's wheel lines (WM_VSCROLL
    // SB_LINEUP or SB_LINEDOWN), then SB_ENDSCROLL.
    void MouseWheelScroll(WPARAM wParam);

    TOwned<TControlScrollBar> horz_;
    TOwned<TControlScrollBar> vert_;
    bool autoScroll_ = true;
    bool updating_ = false;
};

class TScrollBox : public TScrollingWinControl {
    VENDARO_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* owner);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);

    static void Publish(TClassBuilder<TScrollBox>& c);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TBorderStyle borderStyle_ = bsSingle;
};

// ---------------------------------------------------------------------------------------
// TCustomForm

class TCustomForm : public TWinControl {
    VENDARO_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    void BeforeDestruction() override;

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Gives the control the focus (when the form is active) and makes it the active control.
    void FocusControl(TWinControl* control);
    // Called when a window of the form gets the focus: runs CM_EXIT up from the control that
    // had it and CM_ENTER down to the new one, then CM_FOCUSCHANGED. False when a handler
    // moved the focus elsewhere meanwhile.
    bool SetFocusedControl(TWinControl* control);
    // The control is going away or cannot keep the focus: the form forgets it.
    void DefocusControl(TWinControl* control, bool removing);
    bool Active() const { return active_; }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons v);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TFormStyle FormStyle() const { return formStyle_; }
    // An MDI frame gets a client window for its children; an MDI child lives in the main
    // form's client window.
    void SetFormStyle(TFormStyle v);
    // The MDI client window of an MDI frame (0 for other forms).
    HWND ClientHandle() const { return clientHandle_; }
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState v) { windowState_ = v; }
    int FormClientWidth() { return ClientWidth(); }
    void SetFormClientWidth(int v);
    int FormClientHeight() { return ClientHeight(); }
    void SetFormClientHeight(int v);
    TCanvas* Canvas() const { return canvas_.get(); }
    // The caption icon; an empty icon leaves the window its class's.
    TIcon* Icon() const { return icon_.get(); }
    void SetIcon(TIcon* v) { icon_->Assign(v); }
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    virtual TModalResult ShowModal();
    void Show();
    void Close();
    void Release();
    virtual bool CloseQuery();
    bool CanFocus() override { return Visible() && Enabled(); }
    void SetFocus() override;

    TNotifyEvent OnCreate() const { return onCreate_; }
    void SetOnCreate(TNotifyEvent v) { onCreate_ = v; }
    TNotifyEvent OnDestroy() const { return onDestroy_; }
    void SetOnDestroy(TNotifyEvent v) { onDestroy_ = v; }
    TNotifyEvent OnShow() const { return onShow_; }
    void SetOnShow(TNotifyEvent v) { onShow_ = v; }
    TNotifyEvent OnHide() const { return onHide_; }
    void SetOnHide(TNotifyEvent v) { onHide_ = v; }
    TNotifyEvent OnActivate() const { return onActivate_; }
    void SetOnActivate(TNotifyEvent v) { onActivate_ = v; }
    TNotifyEvent OnDeactivate() const { return onDeactivate_; }
    void SetOnDeactivate(TNotifyEvent v) { onDeactivate_ = v; }
    TNotifyEvent OnPaint() const { return onPaint_; }
    void SetOnPaint(TNotifyEvent v) { onPaint_ = v; }
    TCloseEvent OnClose() const { return onClose_; }
    void SetOnClose(TCloseEvent v) { onClose_ = v; }
    TCloseQueryEvent OnCloseQuery() const { return onCloseQuery_; }
    void SetOnCloseQuery(TCloseQueryEvent v) { onCloseQuery_ = v; }

    void WndProc(TMessage& message) override;
    void Loaded() override;
    void GetChildren(TGetChildProc proc, TComponent* root) override;
    bool HasParent() const override { return false; }
    // Runs OnCreate once the form and its description are complete.
    virtual void DoCreate() { onCreate_(this); }

    static void Publish(TClassBuilder<TCustomForm>& c);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void PaintWindow(HDC dc) override;
    virtual void DoShow() { onShow_(this); }
    virtual void DoHide() { onHide_(this); }
    virtual void Activate() { onActivate_(this); }
    virtual void Deactivate() { onDeactivate_(this); }
    virtual void DoClose(TCloseAction& action) { onClose_(this, action); }
    virtual void Paint() { onPaint_(this); }

private:
    void SetActive(bool v);
    void SetWindowFocus();
    void ShowingChanged();
    void DialogKey(TMessage& message);
    void PlaceOnScreen();
    bool SendFocusMessage(HWND window, UINT msg);

    void CreateMDIClient();

    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    HWND clientHandle_ = nullptr;
    bool active_ = false;
    int focusCount_ = 0;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    int clientWidth_ = -1, clientHeight_ = -1;
    int pixelsPerInch_ = 96;
    bool keyPreview_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    void IconChanged(TObject* sender);

    TOwned<TControlCanvas> canvas_;
    TOwned<TIcon> icon_;
    TNotifyEvent onCreate_, onDestroy_, onShow_, onHide_, onActivate_, onDeactivate_, onPaint_;
    TCloseEvent onClose_;
    TCloseQueryEvent onCloseQuery_;
};

class TForm : public TCustomForm {
    VENDARO_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The form a control lies on (null when none); ValidParentForm raises EInvalidOperation
// "Control '%s' has no parent window" instead of answering null.
inline TCustomForm* GetParentForm(const TControl* control) { return control ? control->GetParentForm() : nullptr; }
TCustomForm* ValidParentForm(const TControl* control);

// The form description compiled into the program for a form class, read when the form is
// created (registered by the program's start-up; the text form of a description).
void RegisterFormDescription(const AnsiString& className, const AnsiString& text);
// Reads the description registered for the instance's class into it; false when there is none.
bool InitInheritedComponent(TComponent* instance);

// A container of non-visual components, created from its description as a form is.
class TDataModule : public TComponent {
    VENDARO_CLASS(TDataModule, TComponent)
public:
    explicit TDataModule(TComponent* owner) : TComponent(owner) {}
    void BeforeDestruction() override;
    TNotifyEvent OnCreate() const { return onCreate_; }
    void SetOnCreate(TNotifyEvent v) { onCreate_ = v; }
    TNotifyEvent OnDestroy() const { return onDestroy_; }
    void SetOnDestroy(TNotifyEvent v) { onDestroy_ = v; }
    void GetChildren(TGetChildProc proc, TComponent* root) override;
    virtual void DoCreate() { onCreate_(this); }

    static void Publish(TClassBuilder<TDataModule>& c);

private:
    TNotifyEvent onCreate_, onDestroy_;
};

// ---------------------------------------------------------------------------------------
// THintWindow: the small popup that shows a control's Hint.

class THintWindow : public TCustomControl {
    VENDARO_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* owner);
    // Shows the text in the rectangle (screen coordinates) without taking the activation.
    virtual void ActivateHint(TRect rect, const AnsiString& hint);
    // The rectangle (from 0,0) the text needs, lines no wider than maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const AnsiString& hint);
    void ReleaseHandle() { DestroyHandle(); }
    bool IsShown() { return HandleAllocated() && IsWindowVisible(Handle()); }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

// ---------------------------------------------------------------------------------------
// TApplication

using TExceptionEvent = TEvent<TObject*, Exception&>;
using TIdleEvent = TEvent<TObject*, bool&>;

class TApplication : public TComponent {
    VENDARO_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize() {}
    // Creates a form of the class, owned by the application, reads its description, runs
    // its OnCreate and stores it in `reference`; the first form becomes the main form.
    void CreateForm(TClass formClass, void* reference);
    template <class T>
    void CreateForm(T*& reference) { CreateForm(T::StaticClass(), &reference); }
    // Shows the main form and runs the message loop until the application terminates.
    void Run();
    // Retrieves and dispatches every waiting message.
    void ProcessMessages();
    // One message, or idle processing and a wait when there is none.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    TCustomForm* MainForm() const { return mainForm_; }
    HWND Handle();
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& v);
    AnsiString ExeName() const;
    bool Active() const { return GetActiveWindow() != nullptr; }
    int MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags);
    void ShowException(const Exception& e);
    // The exception being handled goes to OnException, or is shown.
    void HandleException(TObject* sender);
    // The hint of the control under the mouse shows after HintPause milliseconds at rest.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    int HintPause() const { return hintPause_; }
    void SetHintPause(int v) { hintPause_ = v; }
    const AnsiString& Hint() const { return hint_; }
    void HideHint();
    // The control under the mouse changed (or went away): a pending or shown hint ends.
    void MouseControlChanged(TControl* control);
    THintWindow* HintWindow() const { return hintWindow_; }

    TExceptionEvent OnException() const { return onException_; }
    void SetOnException(TExceptionEvent v) { onException_ = v; }
    TIdleEvent OnIdle() const { return onIdle_; }
    void SetOnIdle(TIdleEvent v) { onIdle_ = v; }
    // Hooks that see the application window's messages first (true: handled).
    using TWindowHook = TEvent<TMessage&, bool&>;
    void HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(TWindowHook hook);

    // Idle without any message that could ever arrive (no display, no timer): what a modal
    // loop does then. The default ends the wait.
    bool Idle();

private:
    friend class TCustomForm;
    bool ProcessMessage();
    bool IsKeyMessage(MSG& msg);
    void WndProc(TMessage& message);

    void ShowHintFor(TControl* control);
    static constexpr UINT_PTR kHintTimer = 0x4E48;

    bool terminated_ = false;
    bool showHint_ = true;
    int hintPause_ = 500;
    AnsiString hint_;
    TControl* hintControl_ = nullptr;
    THintWindow* hintWindow_ = nullptr;
    TCustomForm* mainForm_ = nullptr;
    HWND handle_ = nullptr;
    AnsiString title_;
    TExceptionEvent onException_;
    TIdleEvent onIdle_;
    std::vector<TWindowHook> hooks_;
};

// ---------------------------------------------------------------------------------------
// TScreen

class TScreen : public TComponent {
    VENDARO_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner) : TComponent(owner) {}
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<std::size_t>(index)); }
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return ScreenLogPixels(); }
    TCursor Cursor() const { return cursor_; }
    // Anything but crDefault shows over every control.
    void SetCursor(TCursor v);
    HCURSOR Cursors(TCursor index) const;

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> forms_;
    TCursor cursor_ = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;

// Unit start-up and close-down: the application and screen objects.
void FormsInitialization();
void FormsFinalization();

// A window of its own whose messages go to the method.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND window);
// A plain window procedure that calls the method (a limited number may be live at once).
WNDPROC MakeObjectInstance(TWndMethod method);
void FreeObjectInstance(WNDPROC instance);

// Whether controls use the newer look (set before creating windows).
extern bool NewStyleControls;
