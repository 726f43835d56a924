// TWinControl: the window made on demand and its procedure, the child list, painting of the
// windowless children, mouse routing to them, reflection of notifications to the child they
// concern, focus and tab order; TControlCanvas, TGraphicControl and TCustomControl.
#include "platform/classlib/Controls.h"

#include "platform/classlib/Forms.h"

#include <algorithm>

TControl* ControlsCaptureControl();
void ControlsSetCaptureControl(TControl* control);

namespace {

const char* const kControlProperty = "VendaroControl";
TWinControl* creatingControl = nullptr;

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL; }

LPARAM PackPoint(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

} // namespace

// Every control window's procedure (the class library's main window procedure): finds the
// control and hands it the message. The first message of a window being created binds it
// to the control that creates it.
LRESULT ControlWindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* control = static_cast<TWinControl*>(GetPropA(window, kControlProperty));
    if (!control && creatingControl) {
        control = creatingControl;
        creatingControl = nullptr;
        control->handle_ = window;
        SetPropA(window, kControlProperty, control);
    }
    if (!control)
        return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    // An exception from an event handler reached through this message (a click, a key, a
    // paint) ends here: the application shows it and the message loop goes on.
    try {
        control->windowProc_(message);
    } catch (...) {
        if (!Application)
            throw;
        Application->HandleException(control);
    }
    if (msg == WM_NCDESTROY && control->handle_ == window) {
        RemovePropA(window, kControlProperty);
        control->handle_ = nullptr;
    }
    return message.Result;
}

TWinControl* TWinControl::FindControl(HWND window)
{
    if (!window || !IsWindow(window))
        return nullptr;
    return static_cast<TWinControl*>(GetPropA(window, kControlProperty));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(new TBrush)
{
    brush_->SetColor(Color());
}

TWinControl::~TWinControl()
{
    Destroying();
    if (TCustomForm* form = GetParentForm(); form && form != this)
        form->DefocusControl(this, true);
    if (handle_)
        DestroyWindowHandle();
    if (parent_)
        parent_->RemoveControl(this);
    // A parent frees the controls it contains.
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
        child->Free();
    }
}

// ---------------------------------------------------------------- the window

HWND TWinControl::Handle()
{
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded()
{
    if (handle_)
        return;
    if (parent_)
        parent_->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params = TCreateParams{};
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (controlStyle_.Contains(csAcceptsControls)) {
        params.Style |= WS_CLIPCHILDREN;
        params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (tabStop_)
        params.Style |= WS_TABSTOP;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    params.WndParent = parent_ ? parent_->Handle() : nullptr;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = DefWindowProcA;
    params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* className)
{
    WNDCLASSA cls{};
    if (!GetClassInfoA(nullptr, className, &cls))
        return;
    params.WindowClass = cls;
}

void TWinControl::CreateWindowHandle(const TCreateParams& params)
{
    creatingControl = this;
    HWND made = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr, nullptr,
                                params.Param);
    creatingControl = nullptr;
    if (made && !handle_) {
        handle_ = made;
        SetPropA(made, kControlProperty, this);
    }
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
    defWndProc_ = params.WindowClass.lpfnWndProc;
    WNDCLASSA existing{};
    bool registered = GetClassInfoA(nullptr, params.WinClassName.c_str(), &existing);
    if (!registered || existing.lpfnWndProc != ControlWindowProcedure) {
        if (registered)
            UnregisterClassA(params.WinClassName.c_str(), nullptr);
        WNDCLASSA cls = params.WindowClass;
        cls.lpfnWndProc = ControlWindowProcedure;
        cls.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClassA(&cls))
            throw EOutOfResources("Error creating window class");
    }
    CreateWindowHandle(params);
    if (!handle_)
        throw EOutOfResources("Error creating window");
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TWinControl::CreateHandle()
{
    if (handle_)
        return;
    // While the window is being made, sizes are still settling: anchors wait for the end.
    controlState_.Include(csCreating);
    try {
        CreateWnd();
    } catch (...) {
        controlState_.Exclude(csCreating);
        throw;
    }
    controlState_.Exclude(csCreating);
    Realign();
    CreateChildHandles();
    UpdateShowing();
}

void TWinControl::CreateChildHandles()
{
    // A child still being read gets its window once read (ReadingFinished).
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->BeingRead())
            w->HandleNeeded();
}

void TWinControl::DestroyWindowHandle()
{
    controlState_.Include(csDestroyingHandle);
    HWND doomed = handle_;
    DestroyWindow(doomed);
    handle_ = nullptr;
    showing_ = false;
    controlState_.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd()
{
    // The window's text outlives the window.
    text_ = GetText();
    DestroyWindowHandle();
}

void TWinControl::DestroyHandle()
{
    if (!handle_)
        return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::RecreateWnd()
{
    if (!handle_)
        return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::UpdateShowing()
{
    if (BeingRead())
        return;
    bool show = Visible() && (parent_ ? parent_->Showing() : true);
    if (!parent_ && !dynamic_cast<TCustomForm*>(this))
        show = false;
    if (show && !handle_) {
        CreateHandle();
        return;
    }
    if (handle_ && show != showing_) {
        showing_ = show;
        Perform(CM_SHOWINGCHANGED, 0, 0);
    }
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && (w->handle_ || w->Visible()))
            w->UpdateShowing();
}

// While a control or the form it is on is being read, its window waits: made earlier, it
// would miss the properties read after it, whose changes are not passed on while loading.
bool TWinControl::BeingRead() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (c->ComponentState().Contains(csLoading))
            return true;
    return false;
}

// The description is read and loaded: children read onto a window get theirs, as children
// inserted in code do, and a form read visible, or a control read onto a showing parent,
// shows now.
void TWinControl::ReadingFinished()
{
    if (handle_)
        CreateChildHandles();
    UpdateShowing();
}

AnsiString TWinControl::GetText() const
{
    if (!handle_)
        return text_;
    int length = GetWindowTextLengthA(handle_);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    int n = GetWindowTextA(handle_, buffer.data(), length + 1);
    return AnsiString(buffer.data(), n);
}

void TWinControl::SetText(const AnsiString& v)
{
    if (v == GetText())
        return;
    text_ = v;
    if (handle_)
        SetWindowTextA(handle_, v.c_str());
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    if (CanResize(width, height))
        ConstrainedResize(width, height);
    FitBounds(left, top, width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    else if (!ComponentState().Contains(csLoading))
        Resize();
}

TRect TWinControl::ClientRect()
{
    if (!handle_)
        return TControl::ClientRect();
    TRect r{};
    GetClientRect(handle_, &r);
    return r;
}

TPoint TWinControl::ClientOrigin()
{
    if (!handle_)
        return TControl::ClientOrigin();
    TPoint p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
}

void TWinControl::Invalidate()
{
    if (handle_)
        InvalidateRect(handle_, nullptr, !controlStyle_.Contains(csOpaque));
}

void TWinControl::Update()
{
    if (handle_)
        UpdateWindow(handle_);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::BringToFront()
{
    TControl::BringToFront();
    if (handle_)
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (!parent && handle_)
        DestroyHandle();
    TControl::SetParent(parent);
    if (parent && handle_)
        ::SetParent(handle_, parent->Handle());
    if (parent && parent->Showing() && Visible())
        UpdateShowing();
}

// ---------------------------------------------------------------- children

void TWinControl::InsertControl(TControl* control)
{
    control->parent_ = this;
    controls_.push_back(control);
    if (auto* w = dynamic_cast<TWinControl*>(control))
        tabList_.push_back(w);
    // A control being read keeps what it was made with until its own properties are read:
    // then it follows the parent in what it still leaves to it (TControl::ReadState), so a
    // colour it stores without ParentColor is not first taken from the parent and kept.
    if (!control->controlState_.Contains(csReadingState)) {
        control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        control->Perform(CM_PARENTFONTCHANGED, 0, 0);
        control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        control->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    }
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        w->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
        if (handle_ && !w->BeingRead())
            w->HandleNeeded();
    } else {
        control->Invalidate();
    }
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
}

void TWinControl::RemoveControl(TControl* control)
{
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = GetParentForm())
            form->DefocusControl(w, true);
        w->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    } else {
        control->Invalidate();
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
}

bool TWinControl::ContainsControl(TControl* control) const
{
    while (control && control != this)
        control = control->Parent();
    return control != nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        controls_[i]->windowProc_(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg)
{
    TMessage message{msg, 0, reinterpret_cast<LPARAM>(this), 0};
    Broadcast(message);
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls)
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c))
            continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled))
            continue;
        TRect r = c->BoundsRect();
        if (pos.x < r.left || pos.x >= r.right || pos.y < r.top || pos.y >= r.bottom)
            continue;
        if (c->Perform(CM_HITTEST, 0, PackPoint(pos.x - r.left, pos.y - r.top)) != 0)
            return c;
    }
    return nullptr;
}

void TWinControl::GetChildren(TGetChildProc proc, TComponent* root)
{
    for (TControl* c : controls_)
        if (c->Owner() == root)
            proc(c);
}

void TWinControl::SetChildOrder(TComponent* child, int order)
{
    auto* control = dynamic_cast<TControl*>(child);
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    order = std::clamp(order, 0, static_cast<int>(controls_.size()));
    controls_.insert(controls_.begin() + order, control);
}

void TWinControl::Loaded()
{
    FixupTabList();
    TControl::Loaded();
    Realign();
}

void TWinControl::FixupTabList()
{
    // Each child goes to the position it was described with, whatever the reading order.
    std::vector<TWinControl*> list = tabList_;
    auto n = static_cast<int>(list.size());
    std::vector<TWinControl*> placed(list.size(), nullptr);
    std::vector<TWinControl*> rest;
    for (TWinControl* w : list) {
        int order = w->tabOrderRead_;
        w->tabOrderRead_ = -1;
        if (order >= 0 && order < n && !placed[static_cast<std::size_t>(order)])
            placed[static_cast<std::size_t>(order)] = w;
        else
            rest.push_back(w);
    }
    std::size_t next = 0;
    for (TWinControl*& slot : placed)
        if (!slot)
            slot = rest[next++];
    tabList_ = placed;
}

void TWinControl::AnchorControls(const TRect& rect)
{
    // Children anchored right or bottom keep their distance to that edge; anchored to both
    // sides they stretch. The first size the window has is the one they were placed in.
    TPoint size = Point(rect.right - rect.left, rect.bottom - rect.top);
    if (!handle_ || controlState_.Contains(csCreating))
        return;
    if (anchorSize_.x >= 0) {
        int dw = size.x - anchorSize_.x, dh = size.y - anchorSize_.y;
        for (TControl* c : controls_) {
            if (c->Align() != alNone || (dw == 0 && dh == 0))
                continue;
            TAnchors a = c->Anchors();
            int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
            if (a.Contains(akRight))
                a.Contains(akLeft) ? w += dw : l += dw;
            if (a.Contains(akBottom))
                a.Contains(akTop) ? h += dh : t += dh;
            c->SetBounds(l, t, w, h);
        }
    }
    anchorSize_ = size;
}

void TWinControl::AlignControls(TControl* control, TRect& rect)
{
    AdjustClientRect(rect);
    AnchorControls(rect);
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != align || !c->Visible())
                continue;
            int w = c->Width(), h = c->Height();
            switch (align) {
            case alTop: c->SetBounds(rect.left, rect.top, rect.right - rect.left, h); rect.top += h; break;
            case alBottom: c->SetBounds(rect.left, rect.bottom - h, rect.right - rect.left, h); rect.bottom -= h; break;
            case alLeft: c->SetBounds(rect.left, rect.top, w, rect.bottom - rect.top); rect.left += w; break;
            case alRight: c->SetBounds(rect.right - w, rect.top, w, rect.bottom - rect.top); rect.right -= w; break;
            default: c->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top); break;
            }
        }
    }
}

// ---------------------------------------------------------------- tab order and focus

int TWinControl::TabOrder() const
{
    if (tabOrderRead_ >= 0)
        return tabOrderRead_;
    if (!parent_)
        return -1;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v)
{
    if (ComponentState().Contains(csLoading)) {
        tabOrderRead_ = v;
        return;
    }
    if (!parent_)
        return;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    v = std::clamp(v, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + v, this);
}

void TWinControl::SetDefaultTabStop(bool v)
{
    defaultTabStop_ = v;
    SetTabStop(v);
}

void TWinControl::SetTabStop(bool v)
{
    if (v == tabStop_)
        return;
    tabStop_ = v;
    if (handle_) {
        auto style = static_cast<DWORD>(GetWindowLongA(handle_, GWL_STYLE));
        SetWindowLongA(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list)
{
    for (TWinControl* w : tabList_) {
        list.push_back(w);
        w->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    auto n = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start = found == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

void TWinControl::SetCtl3D(bool v)
{
    if (v == ctl3D_)
        return;
    ctl3D_ = v;
    parentCtl3D_ = false;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool v)
{
    if (v == parentCtl3D_)
        return;
    parentCtl3D_ = v;
    if (v && parent_)
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus()
{
    TCustomForm* form = GetParentForm();
    if (!form)
        return false;
    for (TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    TCustomForm* form = GetParentForm();
    if (form && form != this) {
        form->FocusControl(this);
        return;
    }
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

// ---------------------------------------------------------------- messages

void TWinControl::WndProc(TMessage& message)
{
    UINT msg = message.Msg;
    if (IsMouseMessage(msg)) {
        // An enter or leave handler may free this control.
        const std::weak_ptr<const void> alive = Liveness();
        UpdateMouseControl();
        if (alive.expired())
            return;
        if (RouteMouseToChild(message))
            return;
    }
    switch (msg) {
    case WM_MOUSELEAVE: UpdateMouseControl(); DefaultHandler(message); return;
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(); form && !form->SetFocusedControl(this))
            return;
        DefaultHandler(message);
        return;
    case WM_KILLFOCUS:
        if (controlState_.Contains(csFocusing))
            return;
        DefaultHandler(message);
        return;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: ReflectToChild(message); return;
    case WM_PAINT:
        if (controlState_.Contains(csCustomPaint) ||
            std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return !dynamic_cast<TWinControl*>(c); }))
            PaintHandler(message);
        else
            DefaultHandler(message);
        return;
    case WM_ERASEBKGND: {
        TRect r = ClientRect();
        FillRect(reinterpret_cast<HDC>(message.WParam), &r, brush_->Handle());
        message.Result = 1;
        return;
    }
    case WM_SIZE:
        DefaultHandler(message);
        Realign();
        if (!ComponentState().Contains(csLoading))
            Resize();
        return;
    case WM_WINDOWPOSCHANGED: {
        // The bounds follow the window before the default handling sends WM_MOVE and WM_SIZE:
        // their handlers see where the control now is, and one that resizes itself keeps the
        // size it set.
        auto* pos = reinterpret_cast<WINDOWPOS*>(message.LParam);
        if (!(pos->flags & SWP_NOMOVE)) { left_ = pos->x; top_ = pos->y; }
        if (!(pos->flags & SWP_NOSIZE)) { width_ = pos->cx; height_ = pos->cy; }
        DefaultHandler(message);
        return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR: KeyMessage(message); return;
    case WM_SETCURSOR:
        if (!SetCursorFromControl(message))
            DefaultHandler(message);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: DialogKeyFromChild(message); return;
    case CN_CHAR:
    case CN_SYSCHAR: DialogCharFromChild(message); return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_FOCUSCHANGED:
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: Broadcast(message); return;
    case CM_FONTCHANGED:
        if (handle_)
            SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
        NotifyControls(CM_PARENTFONTCHANGED);
        Invalidate();
        return;
    case CM_COLORCHANGED:
        brush_->SetColor(Color());
        NotifyControls(CM_PARENTCOLORCHANGED);
        Invalidate();
        return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    case CM_BIDIMODECHANGED: NotifyControls(CM_PARENTBIDIMODECHANGED); return;
    case CM_CTL3DCHANGED: NotifyControls(CM_PARENTCTL3DCHANGED); return;
    case CM_PARENTCTL3DCHANGED:
        if (parentCtl3D_ && parent_) {
            ctl3D_ = parent_->Ctl3D();
            NotifyControls(CM_PARENTCTL3DCHANGED);
        }
        return;
    case CM_ENABLEDCHANGED:
        if (!Enabled() && parent_)
            if (TCustomForm* form = GetParentForm())
                form->DefocusControl(this, false);
        if (handle_)
            EnableWindow(handle_, Enabled());
        return;
    case CM_VISIBLECHANGED:
        if (!Visible() && parent_)
            if (TCustomForm* form = GetParentForm())
                form->DefocusControl(this, false);
        UpdateShowing();
        return;
    case CM_SHOWINGCHANGED:
        if (handle_)
            SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                             (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        return;
    default: TControl::WndProc(message);
    }
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (message.Msg >= CN_CTLCOLORMSGBOX && message.Msg <= CN_CTLCOLORSTATIC) {
        auto dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(brush_->Color()));
        message.Result = reinterpret_cast<LRESULT>(brush_->Handle());
        return;
    }
    // The control messages are the class library's own: no window procedure knows them.
    if (message.Msg >= CM_BASE && message.Msg < CN_BASE + 0x400)
        return;
    if (!handle_) {
        TControl::DefaultHandler(message);
        return;
    }
    message.Result = CallWindowProcA(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::KeyMessage(TMessage& message)
{
    // A form with KeyPreview sees its controls' keys first; a key zeroed by a handler is
    // not passed on.
    TCustomForm* form = GetParentForm();
    TWinControl* preview = form && form != this && form->KeyPreview() ? form : nullptr;
    UINT msg = message.Msg;
    if (msg == WM_CHAR) {
        auto key = static_cast<char>(message.WParam);
        if (preview)
            preview->KeyPress(key);
        if (key != 0)
            KeyPress(key);
        if (key == 0)
            return;
        message.WParam = static_cast<unsigned char>(key);
    } else {
        auto key = static_cast<WORD>(message.WParam);
        TShiftState shift = KeyDataToShiftState(message.LParam);
        bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
        if (preview)
            down ? preview->KeyDown(key, shift) : preview->KeyUp(key, shift);
        if (key != 0)
            down ? KeyDown(key, shift) : KeyUp(key, shift);
        if (key == 0)
            return;
        message.WParam = key;
    }
    DefaultHandler(message);
}

bool TWinControl::SetCursorFromControl(TMessage& message)
{
    // The screen's cursor wins; else the cursor of the control under the mouse.
    if (reinterpret_cast<HWND>(message.WParam) != handle_ || LOWORD(message.LParam) != HTCLIENT)
        return false;
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
        TPoint p{};
        GetCursorPos(&p);
        TControl* under = ControlAtPos(ScreenToClient(p), false);
        cursor = under ? under->Cursor() : Cursor();
    }
    if (cursor == crDefault)
        return false;
    ::SetCursor(Screen ? Screen->Cursors(cursor) : LoadCursorA(nullptr, IDC_ARROW));
    message.Result = TRUE;
    return true;
}

bool TWinControl::RouteMouseToChild(TMessage& message)
{
    TControl* target = nullptr;
    TControl* capture = ControlsCaptureControl();
    if (handle_ && GetCapture() == handle_) {
        if (capture && capture->Parent() == this)
            target = capture;
    } else {
        target = ControlAtPos(Point(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))),
                              false);
    }
    if (!target)
        return false;
    int x = static_cast<short>(LOWORD(message.LParam)) - target->Left();
    int y = static_cast<short>(HIWORD(message.LParam)) - target->Top();
    message.Result = target->Perform(message.Msg, message.WParam, PackPoint(x, y));
    return true;
}

void TWinControl::DialogKeyFromChild(TMessage& message)
{
    // Keys that move between controls or press buttons go to the form unless the control
    // wants them itself.
    message.Result = 1;
    LRESULT mask = 0;
    switch (message.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, message.WParam, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        TCustomForm* form = GetParentForm();
        if (form && form->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0)
            return;
    }
    message.Result = 0;
}

void TWinControl::DialogCharFromChild(TMessage& message)
{
    // A character the control does not take may be a button's accelerator; Alt+key always is.
    message.Result = 1;
    bool wantsChars = (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) != 0;
    if (message.Msg == CN_SYSCHAR || !wantsChars) {
        TCustomForm* form = GetParentForm();
        if (form && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
            return;
    }
    message.Result = 0;
}

void TWinControl::ReflectToChild(TMessage& message)
{
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_DRAWITEM: child = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem; break;
    case WM_MEASUREITEM:
        child = handle_ ? GetDlgItem(handle_, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam)->CtlID))
                        : nullptr;
        break;
    default: child = reinterpret_cast<HWND>(message.LParam); break;
    }
    TWinControl* target = FindControl(child);
    if (target && target != this) {
        message.Result = target->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        return;
    }
    DefaultHandler(message);
}

// ---------------------------------------------------------------- painting

void TWinControl::PaintWindow(HDC dc)
{
    TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(message);
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible())
            continue;
        int saved = SaveDC(dc);
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + c->Left(), origin.y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler(TMessage& message)
{
    PAINTSTRUCT ps{};
    auto dc = reinterpret_cast<HDC>(message.WParam);
    bool own = dc == nullptr;
    if (own)
        dc = BeginPaint(handle_, &ps);
    int saved = SaveDC(dc);
    // Opaque windowless children paint every pixel of their own: the window leaves them out.
    for (TControl* c : controls_)
        if (!dynamic_cast<TWinControl*>(c) && c->Visible() && c->ControlStyle().Contains(csOpaque))
            ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
    if (own)
        EndPaint(handle_, &ps);
}

void TWinControl::Publish(TClassBuilder<TWinControl>& c)
{
    c.Property("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D).Default(true);
    c.Property("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D).Default(true);
    c.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
    c.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Stored(&TWinControl::IsTabStopStored);
    c.Property("OnEnter", &TWinControl::OnEnter, &TWinControl::SetOnEnter);
    c.Property("OnExit", &TWinControl::OnExit, &TWinControl::SetOnExit);
    c.Property("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown);
    c.Property("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress);
    c.Property("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::SetOnKeyUp);
}

// ---------------------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* v)
{
    if (v == control_)
        return;
    FreeHandle();
    control_ = v;
}

void TControlCanvas::FreeHandle()
{
    if (!dc_)
        return;
    HDC dc = dc_;
    dc_ = nullptr;
    SetHandle(nullptr);
    ReleaseDC(window_, dc);
    window_ = nullptr;
}

void TControlCanvas::CreateHandle()
{
    if (!control_)
        return;
    auto* w = dynamic_cast<TWinControl*>(control_);
    if (w) {
        window_ = w->Handle();
        dc_ = GetDC(window_);
    } else {
        if (!control_->Parent())
            return;
        window_ = control_->Parent()->Handle();
        dc_ = GetDCEx(window_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
        SetViewportOrgEx(dc_, control_->Left(), control_->Top(), nullptr);
        IntersectClipRect(dc_, 0, 0, control_->Width(), control_->Height());
    }
    SetHandle(dc_);
}

// ---------------------------------------------------------------------------------------
// TGraphicControl / TCustomControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TControlCanvas)
{
    canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& message)
{
    if (message.Msg != WM_PAINT || message.WParam == 0) {
        TControl::WndProc(message);
        return;
    }
    canvas_->Lock();
    canvas_->FreeHandle();
    canvas_->SetHandle(reinterpret_cast<HDC>(message.WParam));
    Paint();
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(new TControlCanvas)
{
    canvas_->SetControl(this);
    controlState_.Include(csCustomPaint);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_->Lock();
    canvas_->FreeHandle();
    canvas_->SetHandle(dc);
    Paint();
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
}
