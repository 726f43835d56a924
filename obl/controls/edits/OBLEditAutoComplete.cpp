#include "obl/controls/edits/OBLEditAutoComplete.h"

#include "platform/classlib/Forms.h"
#include "platform/win/user/User.h"

#include <algorithm>

TOBLEditAutoComplete::TOBLEditAutoComplete(TComponent* AOwner) : TOBLComponent(AOwner) {}

TOBLEditAutoComplete::~TOBLEditAutoComplete()
{
    CancelPopup();
    if (listBox_) listBox_->Free();
    if (instance_) FreeObjectInstance(instance_);
    SetStringList(nullptr);
}

void TOBLEditAutoComplete::Publish(TClassBuilder<TOBLEditAutoComplete>& c)
{
    using C = TOBLEditAutoComplete;
    c.Property("StringList", &C::StringList, &C::SetStringList);
    c.Property("StringListIndex", &C::StringListIndex, &C::SetStrListIndex);
    c.Property("Mode", &C::Mode, &C::SetMode);
    c.Property("AddUnknownOn", &C::AddUnknownOn, &C::SetAddUnknownOn);
    c.Property("Enabled", &C::Enabled, &C::SetEnabled).Default(true);
    c.Property("OnAdd", &C::OnAdd, &C::SetOnAdd);
    c.Property("About", &C::About, &C::SetAbout);
}

// ---- The strings -----------------------------------------------------------------------

void TOBLEditAutoComplete::SetStringList(TOBLStringList* L)
{
    if (L == stringList_) return;
    if (stringList_) stringList_->RemoveFreeNotification(this);
    stringList_ = L;
    if (stringList_) stringList_->FreeNotification(this);
}

void TOBLEditAutoComplete::SetStrListIndex(int I)
{
    if (ComponentState().Contains(csLoading)) {
        stringListIndex_ = I;
        return;
    }
    if (!stringList_) return;
    stringListIndex_ = std::min(I, stringList_->GetCount() - 1);
}

TStrings* TOBLEditAutoComplete::Strings() const
{
    if (!stringList_ || stringListIndex_ < 0 || stringListIndex_ >= stringList_->GetCount()) return nullptr;
    return stringList_->Items(stringListIndex_)->GetList();
}

bool TOBLEditAutoComplete::Matches(const AnsiString& S, const AnsiString& Prefix)
{
    return !Prefix.IsEmpty() && S.Length() >= Prefix.Length() && ::Copy(S, 1, Prefix.Length()) == Prefix;
}

void TOBLEditAutoComplete::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == stringList_) stringList_ = nullptr;
    if (AComponent == control_) {
        CancelPopup();
        // The edit frees the controls inside it; the drop-down is the component's.
        if (listBox_) listBox_->SetParent(nullptr);
    }
    if (AComponent == listBox_) {
        listBox_ = nullptr;
        popupShown_ = false;
    }
}

// ---- Completion ------------------------------------------------------------------------

void TOBLEditAutoComplete::AutoCompleteText(TOBLBaseEdit* Edit, const AnsiString& Text)
{
    if (!enabled_) return;
    // A copy: the edit passes its own text, which the completion replaces.
    const AnsiString typed = Text;
    AnsiString completed;
    CompleteText(Edit, typed, completed);
    if (completed == typed) return;
    // One change of the text, which the user can undo like the typing before it.
    Edit->ChangeTextTo(completed);
    // The tail is what the edit took: the word cut to its MaxLength, or nothing in a
    // read-only edit.
    const int tail = Edit->Text().Length() - typed.Length();
    if (tail <= 0) return;
    Edit->SetCursorPos(typed.Length() + 1);
    // The completed tail is the selection, also when Shift is held while typing (the
    // cursor move above would then have extended a selection of its own).
    Edit->SetSelLength(0);
    Edit->SetSelStart(typed.Length() + 1);
    Edit->SetSelLength(tail);
}

void TOBLEditAutoComplete::CompleteText(TOBLBaseEdit* Edit, const AnsiString& Text, AnsiString& Result)
{
    Result = Text;
    typedText_ = Text;
    if (mode_.Contains(amText)) {
        if (TStrings* strings = Strings()) {
            for (int i = 0; i < strings->Count(); ++i) {
                if (!Matches(strings->Strings(i), Text)) continue;
                Result = strings->Strings(i);
                break;
            }
        }
    }
    // The drop-down lists what matches the typed text, not the in-place completion (which
    // would leave only the first match).
    if (mode_.Contains(amPopup)) Popup(Edit, Text);
}

void TOBLEditAutoComplete::Popup(TOBLBaseEdit* Edit, const AnsiString& Prefix)
{
    // Every match, wherever the sorting (which ignores case) puts it.
    TStringList matches;
    if (sources_.Contains(asStringList)) {
        if (TStrings* strings = Strings()) {
            for (int i = 0; i < strings->Count(); ++i)
                if (Matches(strings->Strings(i), Prefix)) matches.Add(strings->Strings(i));
        }
    }
    matches.Sort();
    CreatePopup(Edit, &matches);
}

// ---- The drop-down ---------------------------------------------------------------------

void TOBLEditAutoComplete::CreatePopup(TOBLBaseEdit* Edit, TStrings* Strings)
{
    // Only the edit the user types into gets a drop-down: a change made from code to an
    // edit that is hidden, unfocused or has no window shows no list on the desktop.
    if (!Edit->Showing() || !Edit->Focused()) {
        if (control_ == Edit) CancelPopup();
        return;
    }
    // Nothing matches any more: an open drop-down goes, so that no arrow key can put a
    // word that no longer matches into the edit.
    if (Strings->Count() == 0) {
        if (control_ == Edit) CancelPopup();
        return;
    }
    if (Strings->Count() == 1 && Strings->Strings(0) == Edit->Text()) {
        CancelPopup();
        return;
    }
    // One drop-down at a time: another edit's closes first and gets its own window
    // procedure back.
    if (control_ && control_ != Edit) CancelPopup();
    if (!listBox_) listBox_ = new TListBox(this);
    if (!instance_) instance_ = MakeObjectInstance(TWndMethod(this, &TOBLEditAutoComplete::ControlWndProc));
    listBox_->SetParent(Edit);
    control_ = Edit;
    Edit->FreeNotification(this);
    Subclass(Edit);
    listBox_->Items()->Assign(Strings);
    listBox_->SetItemIndex(-1);
    // Rows as tall as the text, as a standard list box makes them for its font.
    TBitmap measure;
    measure.Canvas()->Font()->Assign(listBox_->Font());
    const int row = measure.Canvas()->TextHeight(Strings->Strings(0));
    listBox_->SetItemHeight(row);
    PlacePopup(Edit, row * std::min(Strings->Count(), maxPopupRows_) + 5);
    popupShown_ = true;
}

void TOBLEditAutoComplete::Subclass(TOBLBaseEdit* Edit)
{
    HWND window = Edit->Handle();
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC));
    if (current == instance_) return;
    previousWndProc_ = current;
    SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(instance_));
}

void TOBLEditAutoComplete::PlacePopup(TOBLBaseEdit* Edit, int Height)
{
    HWND box = listBox_->Handle();
    SetParent(box, GetDesktopWindow());
    SetWindowLongA(box, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    SetWindowLongA(box, GWL_STYLE, GetWindowLongA(box, GWL_STYLE) | WS_BORDER);
    RECT edit{};
    GetWindowRect(Edit->Handle(), &edit);
    SetWindowPos(box, HWND_TOPMOST, edit.left, edit.bottom, edit.right - edit.left, Height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TOBLEditAutoComplete::CancelPopup()
{
    if (!control_) return;
    TOBLBaseEdit* edit = control_;
    control_ = nullptr;
    if (previousWndProc_ && edit->HandleAllocated())
        SetWindowLongA(edit->Handle(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previousWndProc_));
    previousWndProc_ = nullptr;
    popupShown_ = false;
    if (!listBox_) return;
    if (listBox_->HandleAllocated()) ShowWindow(listBox_->Handle(), SW_HIDE);
    listBox_->Items()->Clear();
}

// ---- The edit's messages while the drop-down is open -------------------------------------

void TOBLEditAutoComplete::ControlWndProc(TMessage& Message)
{
    TOBLBaseEdit* edit = control_;
    WNDPROC previous = previousWndProc_;
    if (!edit || !previous) return;
    HWND window = edit->Handle();
    Message.Result = CallWindowProcA(previous, window, Message.Msg, Message.WParam, Message.LParam);
    // The edit's own handling may have closed the drop-down, or given it to another edit.
    if (control_ != edit) return;
    switch (Message.Msg) {
    case WM_KILLFOCUS:
        PutText(edit, typedText_);
        CancelPopup();
        break;
    case WM_DESTROY: CancelPopup(); break;
    case WM_KEYUP: PopupKeyUp(edit, Message.WParam); break;
    case WM_CHAR: PopupChar(edit, Message.WParam); break;
    default: break;
    }
}

void TOBLEditAutoComplete::PopupKeyUp(TOBLBaseEdit* Edit, WPARAM Key)
{
    const int index = listBox_->ItemIndex();
    if (Key == VK_UP && index >= 0) {
        ItemToEdit(Edit, std::max(index - 1, 0));
    } else if (Key == VK_DOWN && index + 1 < listBox_->Items()->Count()) {
        ItemToEdit(Edit, index + 1);
    }
}

void TOBLEditAutoComplete::PopupChar(TOBLBaseEdit* Edit, WPARAM Key)
{
    if (Key == VK_RETURN) {
        const int index = listBox_->ItemIndex();
        PutText(Edit, index >= 0 ? listBox_->Items()->Strings(index) : Edit->Text());
        CancelPopup();
    } else if (Key == VK_ESCAPE) {
        PutText(Edit, typedText_);
        CancelPopup();
    }
}

void TOBLEditAutoComplete::ItemToEdit(TOBLBaseEdit* Edit, int Index)
{
    listBox_->SetItemIndex(Index);
    PutText(Edit, listBox_->Items()->Strings(Index));
}

void TOBLEditAutoComplete::PutText(TOBLBaseEdit* Edit, const AnsiString& S)
{
    // A change like any other: undoable, the history kept.
    Edit->ChangeTextTo(S);
    Edit->SetCursorPos(S.Length() + 1);
    Edit->SelectAll();
}

// ---- Adding ----------------------------------------------------------------------------

void TOBLEditAutoComplete::Add(TOBLBaseEdit* Edit, const AnsiString& Text)
{
    // An empty edit has no word to offer.
    if (!enabled_ || Text.IsEmpty()) return;
    if (TStrings* strings = Strings(); strings && strings->IndexOf(Text) >= 0) return;
    AnsiString addText = Text;
    bool add = true;
    TOBLAutoCompleteSource addTo = asStringList;
    if (Assigned(onAdd_)) onAdd_(this, Edit, addText, add, addTo);
    if (!add || addTo != asStringList) return;
    // The handler may have changed the list.
    if (TStrings* strings = Strings()) strings->Add(addText);
}
