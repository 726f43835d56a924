// The class library's control hierarchy: TControl (a rectangle inside a parent, with font,
// colour, caption and the standard mouse and key events), TWinControl (a control with its own
// window, created on demand, that contains other controls), TGraphicControl (a windowless
// control painted on its parent's device context) and TCustomControl (a windowed control
// painted through a canvas).
//
// Everything arrives as a message: TControl::WndProc handles what every control understands
// and passes the rest on to DefaultHandler; a windowed control's DefaultHandler is the window
// procedure of the window class it subclasses. The control messages (CM_) and the messages a
// parent reflects to the child they concern (CN_) keep their original numbers, since the
// component library above sends and handles them by number.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/classlib/Graphics.h"
#include "platform/win/user/User.h"

#include <memory>
#include <vector>

// ---------------------------------------------------------------------------------------
// Messages

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
               CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
               CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7, CM_PARENTFONTCHANGED = CM_BASE + 8,
               CM_PARENTCOLORCHANGED = CM_BASE + 9, CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
               CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13, CM_FONTCHANGED = CM_BASE + 14,
               CM_CURSORCHANGED = CM_BASE + 15, CM_CTL3DCHANGED = CM_BASE + 16, CM_PARENTCTL3DCHANGED = CM_BASE + 17,
               CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
               CM_MENUCHANGED = CM_BASE + 21, CM_APPKEYDOWN = CM_BASE + 22, CM_APPSYSCOMMAND = CM_BASE + 23,
               CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25, CM_ENTER = CM_BASE + 26,
               CM_EXIT = CM_BASE + 27, CM_DESIGNHITTEST = CM_BASE + 28, CM_ICONCHANGED = CM_BASE + 29,
               CM_WANTSPECIALKEY = CM_BASE + 30, CM_INVOKEHELP = CM_BASE + 31, CM_WINDOWHOOK = CM_BASE + 32,
               CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34, CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
               CM_SYSCOLORCHANGE = CM_BASE + 36, CM_WININICHANGE = CM_BASE + 37, CM_FONTCHANGE = CM_BASE + 38,
               CM_TIMECHANGE = CM_BASE + 39, CM_TABSTOPCHANGED = CM_BASE + 40, CM_UIACTIVATE = CM_BASE + 41,
               CM_UIDEACTIVATE = CM_BASE + 42, CM_DOCWINDOWACTIVATE = CM_BASE + 43, CM_CONTROLLISTCHANGE = CM_BASE + 44,
               CM_GETDATALINK = CM_BASE + 45, CM_CHILDKEY = CM_BASE + 46, CM_DRAG = CM_BASE + 47,
               CM_HINTSHOW = CM_BASE + 48, CM_DIALOGHANDLE = CM_BASE + 49, CM_ISTOOLCONTROL = CM_BASE + 50,
               CM_RECREATEWND = CM_BASE + 51, CM_INVALIDATE = CM_BASE + 52, CM_SYSFONTCHANGED = CM_BASE + 53,
               CM_CONTROLCHANGE = CM_BASE + 54, CM_CHANGED = CM_BASE + 55, CM_DOCKCLIENT = CM_BASE + 56,
               CM_UNDOCKCLIENT = CM_BASE + 57, CM_FLOAT = CM_BASE + 58, CM_BORDERCHANGED = CM_BASE + 59,
               CM_BIDIMODECHANGED = CM_BASE + 60, CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
               CM_ALLCHILDRENFLIPPED = CM_BASE + 62, CM_ACTIONUPDATE = CM_BASE + 63, CM_ACTIONEXECUTE = CM_BASE + 64,
               CM_HINTSHOWPAUSE = CM_BASE + 65, CM_DOCKNOTIFICATION = CM_BASE + 66, CM_MOUSEWHEEL = CM_BASE + 67;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM, CN_COMMAND = CN_BASE + WM_COMMAND,
               CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM, CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
               CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG, CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
               CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX, CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
               CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR, CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
               CN_DELETEITEM = CN_BASE + WM_DELETEITEM, CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
               CN_HSCROLL = CN_BASE + WM_HSCROLL, CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
               CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY, CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM,
               CN_VSCROLL = CN_BASE + WM_VSCROLL, CN_KEYDOWN = CN_BASE + WM_KEYDOWN, CN_KEYUP = CN_BASE + WM_KEYUP,
               CN_CHAR = CN_BASE + WM_CHAR, CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
               CN_SYSCHAR = CN_BASE + WM_SYSCHAR, CN_NOTIFY = CN_BASE + WM_NOTIFY;

// A window procedure bound to an object's method.
using TWndMethod = TEvent<TMessage&>;

// ---------------------------------------------------------------------------------------
// Enumerations and sets

VENDARO_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
VENDARO_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;
VENDARO_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
VENDARO_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// The border of a control: bsNone or bsSingle.
using TBorderStyle = TFormBorderStyle;
VENDARO_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
VENDARO_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;

VENDARO_ENUM(TControlStyleItem, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents,
             csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
             csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents)
using TControlStyle = TSet<TControlStyleItem>;
VENDARO_ENUM(TControlStateItem, csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded,
             csFocusing, csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking)
using TControlState = TSet<TControlStateItem>;

using TCursor = std::int16_t;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;

// The modifier keys and buttons of a mouse message's key flags, and of the key state.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;

// ---------------------------------------------------------------------------------------
// TSizeConstraints: the smallest and largest size a control may take (0: no limit). A change
// fires OnChange, with which the control brings its size within the new limits at once.

class TSizeConstraints : public TPersistent {
    VENDARO_CLASS(TSizeConstraints, TPersistent)
public:
    TSizeConstraints() = default;
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int v) { SetLimit(minWidth_, v); }
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int v) { SetLimit(minHeight_, v); }
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int v) { SetLimit(maxWidth_, v); }
    int MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(int v) { SetLimit(maxHeight_, v); }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent v) { onChange_ = v; }
    void Assign(TPersistent* source) override;
    // Brings the size within the limits.
    void Apply(int& width, int& height) const;
    static void Publish(TClassBuilder<TSizeConstraints>& c);

private:
    void SetLimit(int& limit, int v);

    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
    TNotifyEvent onChange_;
};

// ---------------------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
    VENDARO_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Geometry, in the parent's client coordinates.
    int Left() const { return left_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    int Top() const { return top_; }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    int Width() const { return width_; }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    int Height() const { return height_; }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().right; }
    void SetClientWidth(int v);
    int ClientHeight() { return ClientRect().bottom; }
    void SetClientHeight(int v);
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(TPoint p) { TPoint o = ClientOrigin(); return Point(p.x + o.x, p.y + o.y); }
    TPoint ScreenToClient(TPoint p) { TPoint o = ClientOrigin(); return Point(p.x - o.x, p.y - o.y); }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    // True by default: the control takes its parent's colour until it is given its own.
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* v) { font_->Assign(v); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    AnsiString Caption() const { return GetText(); }
    void SetCaption(const AnsiString& v) { SetText(v); }
    AnsiString Text() const { return GetText(); }
    void SetTextProperty(const AnsiString& v) { SetText(v); }
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor v);
    // Shown when the control is clicked with the right button (when the menu pops up itself).
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* v);
    // The action the control takes its caption, state and click from (null: none).
    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* v);
    // The action (sender) changed: take over its properties; with checkDefaults only those
    // the control still has at their defaults.
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign v);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors v) { anchors_ = v; }
    TSizeConstraints* Constraints() const { return constraints_.get(); }
    void SetConstraints(TSizeConstraints* v) { constraints_->Assign(v); }
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool v);
    bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
    // DrawText flags for the reading order: DT_RTLREADING for right-to-left reading, and
    // left and right alignment swapped for right-to-left alignment.
    int DrawTextBiDiModeFlags(int flags) const;

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle v) { controlStyle_ = v; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState v) { controlState_ = v; }
    bool MouseCapture() const;
    void SetMouseCapture(bool v);
    // Expires when the control is destroyed: code that runs an event handler (which may
    // free the control) checks it before it touches the control again.
    std::weak_ptr<const void> Liveness() const { return life_; }

    // Sends the message to the control's own WndProc and answers its result.
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    TWndMethod WindowProc() const { return windowProc_; }
    void SetWindowProc(TWndMethod v) { windowProc_ = v; }

    virtual void Invalidate();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void Update();
    virtual void BringToFront();
    virtual void SendToBack();
    virtual bool Showing() const;
    // The topmost windowed ancestor's form, or null.
    TCustomForm* GetParentForm() const;

    virtual void Click();
    virtual void DblClick();
    // The palette the control's pictures need realised (none by default).
    virtual HPALETTE GetPalette() { return nullptr; }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void ReadState(TReader* reader) override;
    void Notification(TComponent* component, TOperation operation) override;

    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent v) { onClick_ = v; }
    TNotifyEvent OnDblClick() const { return onDblClick_; }
    void SetOnDblClick(TNotifyEvent v) { onDblClick_ = v; }
    TNotifyEvent OnResize() const { return onResize_; }
    void SetOnResize(TNotifyEvent v) { onResize_ = v; }
    TMouseEvent OnMouseDown() const { return onMouseDown_; }
    void SetOnMouseDown(TMouseEvent v) { onMouseDown_ = v; }
    TMouseMoveEvent OnMouseMove() const { return onMouseMove_; }
    void SetOnMouseMove(TMouseMoveEvent v) { onMouseMove_ = v; }
    TMouseEvent OnMouseUp() const { return onMouseUp_; }
    void SetOnMouseUp(TMouseEvent v) { onMouseUp_ = v; }

    static void Publish(TClassBuilder<TControl>& c);

protected:
    virtual AnsiString GetText() const;
    virtual void SetText(const AnsiString& v);
    virtual void Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }
    virtual void Resize() { onResize_(this); }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void VisibleChanging() {}
    virtual bool CanResize(int& width, int& height) { return true; }
    virtual void ConstrainedResize(int& width, int& height) { constraints_->Apply(width, height); }
    // Brings bounds into GDI's coordinate space (MinCoordinate .. MaxCoordinate).
    static void FitBounds(int& left, int& top, int& width, int& height);
    virtual void FontChanged(TObject* sender);
    // New size limits: the size is brought within them.
    virtual void ConstraintsChanged(TObject* sender);
    // Where the control's pixels are painted from: the window the parent paints into.
    void InvalidateControl(bool isVisible, bool isOpaque);
    // The parent's font or colour changed: take it over (the original's propagation).
    virtual void ParentFontChanged(TMessage& message);
    virtual void ParentColorChanged(TMessage& message);
    bool IsFontStored() const { return !parentFont_; }
    bool IsColorStored() const { return !parentColor_; }
    bool IsShowHintStored() const { return !parentShowHint_; }
    bool IsParentColorStored() const { return parentColor_ != defaultParentColor_; }
    bool IsVisibleStored() const { return visible_ != defaultVisible_; }
    // A class whose controls start with their own colour, or hidden, says so here, so
    // that a description stores only what differs from the class's start.
    void SetDefaultParentColor(bool v) { parentColor_ = defaultParentColor_ = v; }
    void SetDefaultVisible(bool v);
    // Controls whose text is not a caption (edits, lists) keep it out of their descriptions.
    void SetStoresCaption(bool v) { storesCaption_ = v; }
    bool IsCaptionStored() const;

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    AnsiString text_;
    TControlStyle controlStyle_;
    TControlState controlState_;

private:
    friend class TWinControl;
    friend LRESULT ControlWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    void MouseButtonDown(TMessage& message, TMouseButton button);
    void MouseButtonUp(TMessage& message, TMouseButton button);
    void MouseMoved(TMessage& message);

    TWinControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    bool defaultParentColor_ = true;
    bool defaultVisible_ = true;
    bool storesCaption_ = true;
    TOwned<TFont> font_;
    bool parentFont_ = true;
    AnsiString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    TBasicAction* action_ = nullptr;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    TOwned<TSizeConstraints> constraints_;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool parentBiDiMode_ = true;
    TWndMethod windowProc_;
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
    TNotifyEvent onClick_, onDblClick_, onResize_;
    TMouseEvent onMouseDown_, onMouseUp_;
    TMouseMoveEvent onMouseMove_;
};

// ---------------------------------------------------------------------------------------
// TWinControl

struct TCreateParams {
    AnsiString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass{};
    AnsiString WinClassName;
};

class TWinControl : public TControl {
    VENDARO_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window, created (with every windowed ancestor's) on first use.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // Destroys the window and makes it again, keeping the children and the text.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    // Sends the message to every child until one answers it with a non-zero result.
    void Broadcast(TMessage& message);
    // Sends the message to every child, with this control as LParam.
    void NotifyControls(UINT msg);
    // The windowless child (or, with allowWinControls, any child) at the client point.
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false);

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    int TabOrder() const;
    void SetTabOrder(int v);
    // The windowed children in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& list);
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    // The brush of the control's colour: the background it erases with, and what it answers
    // when its window asks the parent for its colours.
    TBrush* Brush() const { return brush_.get(); }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool v);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool v);

    virtual bool Focused();
    virtual bool CanFocus();
    virtual void SetFocus();
    bool Showing() const override { return showing_; }
    void Realign() { AlignControls(nullptr, ClientRectRef()); }

    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    void BringToFront() override;
    void SetParent(TWinControl* parent) override;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void GetChildren(TGetChildProc proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;
    void Loaded() override;
    TComponent* GetChildParent() override { return this; }

    TNotifyEvent OnEnter() const { return onEnter_; }
    void SetOnEnter(TNotifyEvent v) { onEnter_ = v; }
    TNotifyEvent OnExit() const { return onExit_; }
    void SetOnExit(TNotifyEvent v) { onExit_ = v; }
    TKeyEvent OnKeyDown() const { return onKeyDown_; }
    void SetOnKeyDown(TKeyEvent v) { onKeyDown_ = v; }
    TKeyEvent OnKeyUp() const { return onKeyUp_; }
    void SetOnKeyUp(TKeyEvent v) { onKeyUp_ = v; }
    TKeyPressEvent OnKeyPress() const { return onKeyPress_; }
    void SetOnKeyPress(TKeyPressEvent v) { onKeyPress_ = v; }

    // The control whose window this is, or null.
    static TWinControl* FindControl(HWND window);

    static void Publish(TClassBuilder<TWinControl>& c);

protected:
    virtual void CreateParams(TCreateParams& params);
    // Takes the class of the named window class (a standard class such as "BUTTON") as the
    // one the control's window class subclasses.
    void CreateSubClass(TCreateParams& params, const char* className);
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateHandle();
    void ReadingFinished() override;
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void DestroyHandle();
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect) {}
    virtual void PaintWindow(HDC dc);
    // Paints the windowless children, in z-order from `first` (null: all).
    void PaintControls(HDC dc, TControl* first);
    void PaintHandler(TMessage& message);
    virtual void DoEnter() { onEnter_(this); }
    virtual void DoExit() { onExit_(this); }
    virtual void KeyDown(WORD& key, TShiftState shift) { onKeyDown_(this, key, shift); }
    virtual void KeyUp(WORD& key, TShiftState shift) { onKeyUp_(this, key, shift); }
    virtual void KeyPress(char& key) { onKeyPress_(this, key); }
    void SetDefaultTabStop(bool v);
    bool IsTabStopStored() const { return tabStop_ != defaultTabStop_; }
    AnsiString GetText() const override;
    void SetText(const AnsiString& v) override;
    TRect& ClientRectRef() { alignRect_ = ClientRect(); return alignRect_; }
    WNDPROC DefWndProc() const { return defWndProc_; }

private:
    friend class TControl;
    friend LRESULT ControlWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    void UpdateShowing();
    bool BeingRead() const;
    void CreateChildHandles();
    bool RouteMouseToChild(TMessage& message);
    void ReflectToChild(TMessage& message);
    void DialogKeyFromChild(TMessage& message);
    void DialogCharFromChild(TMessage& message);
    void KeyMessage(TMessage& message);
    bool SetCursorFromControl(TMessage& message);
    void FixupTabList();
    void AnchorControls(const TRect& rect);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    TOwned<TBrush> brush_;
    std::vector<TControl*> controls_;  // windowless and windowed children, z-order bottom first
    std::vector<TWinControl*> tabList_;
    int tabOrderRead_ = -1;  // TabOrder read from a description, applied once all is read
    bool tabStop_ = false;
    bool defaultTabStop_ = false;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    bool showing_ = false;
    TRect alignRect_{};
    TPoint anchorSize_{-1, -1};  // client size the anchored children were last placed in
    TNotifyEvent onEnter_, onExit_;
    TKeyEvent onKeyDown_, onKeyUp_;
    TKeyPressEvent onKeyPress_;
};

// ---------------------------------------------------------------------------------------
// TControlCanvas: a canvas over a control's pixels. For a windowless control the context is
// the parent window's, moved to the control's origin and clipped to it.

class TControlCanvas : public TCanvas {
    VENDARO_CLASS(TControlCanvas, TCanvas)
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* Control() const { return control_; }
    void SetControl(TControl* v);
    // Gives the context back to its window.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* control_ = nullptr;
    HDC dc_ = nullptr;
    HWND window_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// TGraphicControl / TCustomControl

class TGraphicControl : public TControl {
    VENDARO_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }
    void WndProc(TMessage& message) override;

protected:
    virtual void Paint() {}

private:
    TOwned<TControlCanvas> canvas_;
};

class TCustomControl : public TWinControl {
    VENDARO_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    TOwned<TControlCanvas> canvas_;
};

// The control whose window this is (null for windows of no control).
inline TWinControl* FindControl(HWND window) { return TWinControl::FindControl(window); }

// The control under the mouse: CM_MOUSELEAVE goes to the one it left and CM_MOUSEENTER to the
// one it entered. Called on every mouse message and when the mouse leaves a window.
void UpdateMouseControl();
TControl* MouseControl();
// The windowed or windowless control at a screen point (disabled ones included).
TControl* FindDragTarget(TPoint pos, bool allowDisabled);
// Whether the key (an "&x" accelerator of the caption) selects the caption.
bool IsAccel(WORD key, const AnsiString& caption);
// Forgets the control state kept across windows (capture, mouse control): tests start clean.
void ResetControlsState();
