// TControl: geometry, visibility, font and colour with their propagation from the parent,
// windowless mouse handling and the standard events.
#include "platform/classlib/Controls.h"

#include "platform/classlib/ActnList.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Menus.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace {

struct ControlsState {
    TControl* captureControl = nullptr;  // windowless control holding the mouse capture
    TControl* mouseControl = nullptr;    // control under the mouse
};

ControlsState& State()
{
    static ControlsState state;
    return state;
}

// Colours are integers that a form description may name ("clBtnFace").
PTypeInfo ColorTypeInfo()
{
    static const TTypeInfo info{
        .Kind = tkInteger,
        .Name = "TColor",
        .IdentToInt = [](const AnsiString& ident, std::int64_t& value) {
            TColor c = 0;
            if (!IdentToColor(ident, c))
                return false;
            value = c;
            return true;
        },
        .IntToIdent = [](std::int64_t value, AnsiString& ident) {
            return ColorToIdent(static_cast<TColor>(value), ident);
        },
    };
    return &info;
}

int SignedLow(LPARAM value) { return static_cast<short>(LOWORD(value)); }
int SignedHigh(LPARAM value) { return static_cast<short>(HIWORD(value)); }

} // namespace

TControl* ControlsCaptureControl() { return State().captureControl; }
void ControlsSetCaptureControl(TControl* control) { State().captureControl = control; }
TControl* MouseControl() { return State().mouseControl; }

void ResetControlsState() { State() = ControlsState{}; }

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (keyData & 0x20000000) s.Include(ssAlt);
    return s;
}

bool IsAccel(WORD key, const AnsiString& caption)
{
    // The character after a single "&" ("&&" stands for the ampersand itself).
    int i = 1;
    while (i < caption.Length()) {
        if (caption[i] == '&') {
            if (caption[i + 1] != '&')
                return UpperCase(AnsiString(caption[i + 1])) == UpperCase(AnsiString(static_cast<char>(key)));
            ++i;
        }
        ++i;
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// TSizeConstraints

void TSizeConstraints::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TSizeConstraints*>(source)) {
        minWidth_ = s->minWidth_;
        minHeight_ = s->minHeight_;
        maxWidth_ = s->maxWidth_;
        maxHeight_ = s->maxHeight_;
        onChange_(this);
        return;
    }
    inherited::Assign(source);
}

void TSizeConstraints::SetLimit(int& limit, int v)
{
    if (v == limit)
        return;
    limit = v;
    onChange_(this);
}

void TSizeConstraints::Apply(int& width, int& height) const
{
    if (maxWidth_ > 0 && width > maxWidth_) width = maxWidth_;
    if (width < minWidth_) width = minWidth_;
    if (maxHeight_ > 0 && height > maxHeight_) height = maxHeight_;
    if (height < minHeight_) height = minHeight_;
}

void TSizeConstraints::Publish(TClassBuilder<TSizeConstraints>& c)
{
    c.Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
    c.Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
    c.Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
    c.Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

// ---------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(new TFont), constraints_(new TSizeConstraints)
{
    controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    font_->SetOnChange(TNotifyEvent(this, &TControl::FontChanged));
    constraints_->SetOnChange(TNotifyEvent(this, &TControl::ConstraintsChanged));
    windowProc_ = TWndMethod(this, &TControl::WndProc);
}

TControl::~TControl()
{
    ControlsState& s = State();
    if (s.captureControl == this) {
        s.captureControl = nullptr;
        ReleaseCapture();
    }
    if (s.mouseControl == this) {
        s.mouseControl = nullptr;
        if (Application)
            Application->MouseControlChanged(nullptr);
    }
    if (action_)
        action_->UnRegisterClient(this);
    if (parent_)
        parent_->RemoveControl(this);
}

void TControl::FitBounds(int& left, int& top, int& width, int& height)
{
    for (int* v : {&left, &top, &width, &height})
        *v = std::clamp(*v, MinCoordinate, MaxCoordinate);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (CanResize(width, height))
        ConstrainedResize(width, height);
    FitBounds(left, top, width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    InvalidateControl(visible_, false);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

void TControl::ConstraintsChanged(TObject* sender) { SetBounds(left_, top_, width_, height_); }

TRect TControl::ClientRect() { return Rect(0, 0, width_, height_); }

void TControl::SetClientWidth(int v) { SetWidth(width_ - ClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(height_ - ClientHeight() + v); }

TPoint TControl::ClientOrigin()
{
    if (!parent_)
        return Point(left_, top_);
    TPoint o = parent_->ClientOrigin();
    return Point(o.x + left_, o.y + top_);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetVisible(bool v)
{
    if (v == visible_)
        return;
    VisibleChanging();
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v, 0);
    if (parent_)
        parent_->Realign();
}

void TControl::SetDefaultVisible(bool v)
{
    defaultVisible_ = v;
    SetVisible(v);
}

void TControl::SetEnabled(bool v)
{
    if (v == enabled_)
        return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v)
{
    if (v == color_)
        return;
    color_ = v;
    parentColor_ = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v)
{
    if (v == parentColor_)
        return;
    parentColor_ = v;
    if (parent_ && v && !ComponentState().Contains(csReading))
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v)
{
    if (v == parentFont_)
        return;
    parentFont_ = v;
    if (parent_ && v && !ComponentState().Contains(csReading))
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*)
{
    parentFont_ = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::ParentFontChanged(TMessage& message)
{
    if (!parentFont_)
        return;
    // Taking the parent's font clears ParentFont through FontChanged; it is set back.
    if (message.WParam != 0)
        SetFont(reinterpret_cast<TFont*>(message.LParam));
    else if (parent_)
        SetFont(parent_->Font());
    parentFont_ = true;
}

void TControl::ParentColorChanged(TMessage& message)
{
    if (!parentColor_)
        return;
    if (message.WParam != 0)
        SetColor(static_cast<TColor>(message.LParam));
    else if (parent_)
        SetColor(parent_->Color());
    parentColor_ = true;
}

void TControl::SetShowHint(bool v)
{
    showHint_ = v;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool v)
{
    parentShowHint_ = v;
    if (v && parent_)
        showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor v)
{
    if (v == cursor_)
        return;
    cursor_ = v;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* v)
{
    popupMenu_ = v;
    if (v)
        v->FreeNotification(this);
}

void TControl::SetAction(TBasicAction* v)
{
    if (v == action_)
        return;
    if (action_)
        action_->UnRegisterClient(this);
    action_ = v;
    if (!v)
        return;
    v->RegisterClient(this);
    v->FreeNotification(this);
    ActionChange(v, ComponentState().Contains(csLoading));
}

void TControl::ActionChange(TObject* sender, bool checkDefaults)
{
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action)
        return;
    if (!checkDefaults || Caption().IsEmpty() || Caption() == Name())
        SetCaption(action->Caption());
    if (!checkDefaults || enabled_)
        SetEnabled(action->Enabled());
    if (!checkDefaults || hint_.IsEmpty())
        SetHint(action->Hint());
    if (!checkDefaults || visible_)
        SetVisible(action->Visible());
    if (!checkDefaults || !onClick_.Assigned())
        onClick_ = action->OnExecute();
}

void TControl::SetAlign(TAlign v)
{
    if (v == align_)
        return;
    align_ = v;
    anchors_ = {akLeft, akTop};
    if (parent_)
        parent_->Realign();
}

void TControl::SetBiDiMode(TBiDiMode v)
{
    if (v == biDiMode_)
        return;
    biDiMode_ = v;
    parentBiDiMode_ = false;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool v)
{
    if (v == parentBiDiMode_)
        return;
    parentBiDiMode_ = v;
    if (v && parent_) {
        biDiMode_ = parent_->BiDiMode();
        Perform(CM_BIDIMODECHANGED, 0, 0);
    }
}

int TControl::DrawTextBiDiModeFlags(int flags) const
{
    if (UseRightToLeftAlignment()) {
        if ((flags & (DT_CENTER | DT_RIGHT)) == DT_RIGHT)
            flags &= ~DT_RIGHT;
        else if ((flags & (DT_CENTER | DT_RIGHT)) == DT_LEFT)
            flags |= DT_RIGHT;
    }
    if (UseRightToLeftReading())
        flags |= DT_RTLREADING;
    return flags;
}

bool TControl::MouseCapture() const
{
    if (auto* w = dynamic_cast<const TWinControl*>(this))
        return w->handle_ && GetCapture() == w->handle_;
    return State().captureControl == this;
}

void TControl::SetMouseCapture(bool v)
{
    if (MouseCapture() == v)
        return;
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        if (v)
            SetCapture(w->Handle());
        else
            ReleaseCapture();
        return;
    }
    if (v && parent_) {
        State().captureControl = this;
        SetCapture(parent_->Handle());
    } else {
        State().captureControl = nullptr;
        ReleaseCapture();
    }
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    if (windowProc_.Assigned())
        windowProc_(message);
    else
        WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN: MouseButtonDown(message, mbLeft); return;
    case WM_RBUTTONDOWN: MouseButtonDown(message, mbRight); return;
    case WM_MBUTTONDOWN: MouseButtonDown(message, mbMiddle); return;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: MouseButtonDown(message, message.Msg == WM_LBUTTONDBLCLK ? mbLeft
                                                     : message.Msg == WM_RBUTTONDBLCLK ? mbRight : mbMiddle);
        return;
    case WM_LBUTTONUP: MouseButtonUp(message, mbLeft); return;
    case WM_RBUTTONUP: MouseButtonUp(message, mbRight); return;
    case WM_MBUTTONUP: MouseButtonUp(message, mbMiddle); return;
    case WM_MOUSEMOVE: MouseMoved(message); return;
    case CM_PARENTFONTCHANGED: ParentFontChanged(message); return;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(message); return;
    case CM_PARENTSHOWHINTCHANGED:
        if (parentShowHint_ && parent_)
            showHint_ = parent_->ShowHint();
        return;
    case CM_PARENTBIDIMODECHANGED:
        if (parentBiDiMode_ && parent_) {
            biDiMode_ = parent_->BiDiMode();
            Perform(CM_BIDIMODECHANGED, 0, 0);
        }
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: Invalidate(); return;
    case CM_VISIBLECHANGED: InvalidateControl(true, controlStyle_.Contains(csOpaque)); return;
    case CM_HITTEST: message.Result = HTCLIENT; return;
    default: DefaultHandler(message);
    }
}

void TControl::DefaultHandler(TMessage& message)
{
    // A windowless control keeps its text itself.
    switch (message.Msg) {
    case WM_GETTEXT: {
        auto size = static_cast<int>(message.WParam);
        if (size <= 0)
            return;
        int n = std::min(text_.Length(), size - 1);
        std::copy_n(text_.c_str(), n, reinterpret_cast<char*>(message.LParam));
        reinterpret_cast<char*>(message.LParam)[n] = '\0';
        message.Result = n;
        return;
    }
    case WM_GETTEXTLENGTH: message.Result = text_.Length(); return;
    case WM_SETTEXT:
        text_ = AnsiString(reinterpret_cast<const char*>(message.LParam));
        message.Result = TRUE;
        return;
    default: return;
    }
}

AnsiString TControl::GetText() const { return text_; }

void TControl::SetText(const AnsiString& v)
{
    if (v == GetText())
        return;
    text_ = v;
    Perform(CM_TEXTCHANGED, 0, 0);
}

bool TControl::IsCaptionStored() const
{
    // A caption that comes from the action is the action's to store.
    auto* action = dynamic_cast<const TCustomAction*>(action_);
    return storesCaption_ && !(action && action->Caption() == GetText());
}

void TControl::MouseButtonDown(TMessage& message, TMouseButton button)
{
    // The window's own handling (a focus change) and the handlers below may free the control.
    const std::weak_ptr<const void> alive = Liveness();
    DefaultHandler(message);
    if (alive.expired())
        return;
    bool dbl = message.Msg == WM_LBUTTONDBLCLK || message.Msg == WM_RBUTTONDBLCLK || message.Msg == WM_MBUTTONDBLCLK;
    if (button == mbLeft) {
        if (controlStyle_.Contains(csCaptureMouse))
            SetMouseCapture(true);
        if (controlStyle_.Contains(csClickEvents) && !dbl)
            controlState_.Include(csClicked);
        if (dbl && controlStyle_.Contains(csDoubleClicks))
            DblClick();
        if (alive.expired())
            return;
    }
    TShiftState shift = KeysToShiftState(message.WParam);
    if (dbl)
        shift.Include(ssDouble);
    if (!controlStyle_.Contains(csNoStdEvents))
        MouseDown(button, shift, SignedLow(message.LParam), SignedHigh(message.LParam));
}

void TControl::MouseButtonUp(TMessage& message, TMouseButton button)
{
    // The window's own handling (a button's click) and the handlers below may free the control.
    const std::weak_ptr<const void> alive = Liveness();
    DefaultHandler(message);
    if (alive.expired())
        return;
    int x = SignedLow(message.LParam), y = SignedHigh(message.LParam);
    if (button == mbLeft) {
        if (controlStyle_.Contains(csCaptureMouse))
            SetMouseCapture(false);
        if (controlState_.Contains(csClicked)) {
            controlState_.Exclude(csClicked);
            TRect r = ClientRect();
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                Click();
            if (alive.expired())
                return;
        }
    }
    if (!controlStyle_.Contains(csNoStdEvents))
        MouseUp(button, KeysToShiftState(message.WParam), x, y);
    if (alive.expired())
        return;
    if (button == mbRight && popupMenu_ && popupMenu_->AutoPopup()) {
        TPoint at = ClientToScreen(Point(x, y));
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(at.x, at.y);
    }
}

void TControl::MouseMoved(TMessage& message)
{
    DefaultHandler(message);
    if (!controlStyle_.Contains(csNoStdEvents))
        MouseMove(KeysToShiftState(message.WParam), SignedLow(message.LParam), SignedHigh(message.LParam));
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { onMouseDown_(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { onMouseMove_(this, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { onMouseUp_(this, button, shift, x, y); }

void TControl::Click()
{
    // A handler of its own (not the action's) runs instead of the action.
    if (onClick_.Assigned() && (!action_ || !(onClick_ == action_->OnExecute())))
        onClick_(this);
    else if (action_)
        action_->Execute();
    else
        onClick_(this);
}
void TControl::DblClick() { onDblClick_(this); }

void TControl::InvalidateControl(bool isVisible, bool isOpaque)
{
    if (!isVisible || !parent_ || !parent_->HandleAllocated())
        return;
    TRect r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, !isOpaque);
}

void TControl::Invalidate() { InvalidateControl(visible_, controlStyle_.Contains(csOpaque)); }

void TControl::Update()
{
    if (parent_)
        parent_->Update();
}

void TControl::Repaint()
{
    if (!visible_ || !parent_ || !parent_->HandleAllocated())
        return;
    Invalidate();
    parent_->Update();
}

void TControl::BringToFront()
{
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack()
{
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    Invalidate();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

TCustomForm* TControl::GetParentForm() const
{
    const TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* w = dynamic_cast<TWinControl*>(parent))
        SetParent(w);
}

void TControl::ReadState(TReader* reader)
{
    controlState_.Include(csReadingState);
    if (auto* w = dynamic_cast<TWinControl*>(reader->Parent()))
        SetParent(w);
    inherited::ReadState(reader);
    controlState_.Exclude(csReadingState);
    // Properties left to the parent follow it now that the control's own are read.
    if (parent_) {
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    }
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
    if (operation == opRemove && component == action_) {
        action_->UnRegisterClient(this);
        action_ = nullptr;
    }
}

void TControl::Publish(TClassBuilder<TControl>& c)
{
    c.Property("Left", &TControl::Left, &TControl::SetLeft);
    c.Property("Top", &TControl::Top, &TControl::SetTop);
    c.Property("Width", &TControl::Width, &TControl::SetWidth).ReadRange(0);
    c.Property("Height", &TControl::Height, &TControl::SetHeight).ReadRange(0);
    c.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    c.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
    c.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Default(bdLeftToRight);
    c.Property("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
    c.Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored);
    c.Property("Color", &TControl::Color, &TControl::SetColor)
        .Type(ColorTypeInfo())
        .Default(clWindow)
        .Stored(&TControl::IsColorStored);
    c.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Stored(&TControl::IsParentColorStored);
    c.Property("Constraints", &TControl::Constraints, &TControl::SetConstraints);
    c.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
    c.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    c.Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
    c.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    c.Property("Hint", &TControl::Hint, &TControl::SetHint);
    c.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    c.Property("Action", &TControl::Action, &TControl::SetAction);
    c.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
    c.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    c.Property("Visible", &TControl::Visible, &TControl::SetVisible).Stored(&TControl::IsVisibleStored);
    c.Property("OnClick", &TControl::OnClick, &TControl::SetOnClick);
    c.Property("OnDblClick", &TControl::OnDblClick, &TControl::SetOnDblClick);
    c.Property("OnMouseDown", &TControl::OnMouseDown, &TControl::SetOnMouseDown);
    c.Property("OnMouseMove", &TControl::OnMouseMove, &TControl::SetOnMouseMove);
    c.Property("OnMouseUp", &TControl::OnMouseUp, &TControl::SetOnMouseUp);
    c.Property("OnResize", &TControl::OnResize, &TControl::SetOnResize);
}

// ---------------------------------------------------------------------------------------
// Mouse enter and leave

TControl* FindDragTarget(TPoint pos, bool allowDisabled)
{
    HWND window = WindowFromPoint(pos);
    TWinControl* w = nullptr;
    while (window && !(w = TWinControl::FindControl(window)))
        window = GetParent(window);
    if (!w)
        return nullptr;
    TControl* inner = w->ControlAtPos(w->ScreenToClient(pos), allowDisabled);
    return inner ? inner : w;
}

void UpdateMouseControl()
{
    TPoint pos{};
    GetCursorPos(&pos);
    TControl* now = FindDragTarget(pos, true);
    ControlsState& s = State();
    if (now == s.mouseControl)
        return;
    TControl* old = s.mouseControl;
    s.mouseControl = now;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    // The handlers may free the control entered; its destructor then forgets it here.
    if (now && s.mouseControl == now) {
        if (auto* w = dynamic_cast<TWinControl*>(now); w && w->HandleAllocated()) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, w->Handle(), 0};
            TrackMouseEvent(&track);
        } else if (now->Parent() && now->Parent()->HandleAllocated()) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, now->Parent()->Handle(), 0};
            TrackMouseEvent(&track);
        }
        now->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(now));
    }
    if (Application)
        Application->MouseControlChanged(s.mouseControl);
}
