#include "obl/controls/edits/OBLBrowseEdit.h"

#include "obl/core/draw/OBLButtonBase.h"
#include "platform/classlib/FileCtrl.h"

TOBLBrowseEdit::TOBLBrowseEdit(TComponent* AOwner) : TOBLCustomBrowseEdit(AOwner)
{
    TBitmap folder;
    OBLGetGlyphKind(&folder, gkFolder);
    CustomButtons()->GetItem(0)->SetGlyph(&folder);
}

void TOBLBrowseEdit::Publish(TClassBuilder<TOBLBrowseEdit>& c)
{
    using C = TOBLBrowseEdit;
    c.Property("Options", &C::Options, &C::SetOptions).Default(TOBLBrowseDlgOptions{doReturnFileSysDirs, doShowPath});
    c.Property("Path", &C::Path, &C::SetPath);
    c.Property("StartFolder", &C::StartFolder, &C::SetStartFolder).Default(bfoDesktopExpanded);
    c.Property("StartWithLast", &C::StartWithLast, &C::SetStartWithLast).Default(false);
    c.Property("MinimizeName", &C::MinimizeName, &C::SetMinimizeName).Default(false);
    c.Property("ReadOnly", &C::ReadOnly, &C::SetReadOnly).Default(false);
    c.Property("OnExecute", &C::OnExecute, &C::SetOnExecute);
}

// ---- The shown text --------------------------------------------------------------------

void TOBLBrowseEdit::SetPath(const AnsiString& S)
{
    SetText(S);
    if (!Focused()) UpdateText();
}

void TOBLBrowseEdit::UpdateText()
{
    // Measuring needs the window and the final layout; the first WM_SIZE comes back here.
    if (!minimizeName_ || !HandleAllocated() || Loading()) return;
    Canvas()->Font()->Assign(Font());
    const TRect& r = TextRect();
    const AnsiString shortPath = ::MinimizeName(Text(), Canvas(), r.right - r.left);
    const bool shortened = shortPath != Text();
    if (shortened == shortened_ && shortPath == shortPath_) return;
    shortPath_ = shortPath;
    shortened_ = shortened;
    DisplayChanged();
}

void TOBLBrowseEdit::RestoreFullPath()
{
    if (!shortened_) return;
    shortened_ = false;
    DisplayChanged();
}

void TOBLBrowseEdit::CreateSpecialText(AnsiString& S)
{
    if (shortened_)
        S = shortPath_;
    else
        inherited::CreateSpecialText(S);
}

void TOBLBrowseEdit::ChangedText(int At)
{
    shortened_ = false;
    inherited::ChangedText(At);
}

bool TOBLBrowseEdit::AllowedOperation(const AnsiString& S) { return !shortened_ && inherited::AllowedOperation(S); }

void TOBLBrowseEdit::SetMinimizeName(bool Value)
{
    if (Value == minimizeName_) return;
    minimizeName_ = Value;
    if (Loading() || Focused()) return;
    if (minimizeName_)
        UpdateText();
    else
        RestoreFullPath();
}

void TOBLBrowseEdit::WndProc(TMessage& Message)
{
    inherited::WndProc(Message);
    // A new width fits another form of the path.
    if (Message.Msg == WM_SIZE && minimizeName_ && !Focused()) UpdateText();
}

void TOBLBrowseEdit::DoEnter()
{
    inherited::DoEnter();
    if (minimizeName_) RestoreFullPath();
}

void TOBLBrowseEdit::DoExit()
{
    scrollOffset_ = 0;
    SetCursorPos(1);
    UpdateText();
    inherited::DoExit();
}

// ---- Browsing --------------------------------------------------------------------------

void TOBLBrowseEdit::DoBrowse()
{
    // A hidden or disabled edit cannot take the focus; it browses all the same.
    if (!Focused() && CanFocus()) SetFocus();
    // Owned here, so that it goes also when the dialog or a handler raises.
    TOwned<TOBLBrowseDlg> dialog(new TOBLBrowseDlg(Owner()));
    dialog->SetStartFolder(startFolder_);
    dialog->SetOptions(options_);
    if (startWithLast_ && !Path().IsEmpty()) dialog->SetPath(Path());
    if (Assigned(onExecute_)) onExecute_(this, dialog.get());
    if (dialog->Execute()) SetPath(dialog->SelectedFolder());
}
