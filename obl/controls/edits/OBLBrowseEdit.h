// Unit OBLBrowseEdit: the folder-path edit. Its button shows a folder and opens the folder
// browse dialog, whose choice becomes the text. While unfocused it can show the path
// shortened with "..." to fit its width; the full path comes back on entry and is what
// Path answers and what the form description stores.
#pragma once

#include "obl/controls/edits/OBLCustomBrowseEdit.h"
#include "obl/core/dialogs/OBLBrowseDlg.h"

// (Sender: the edit, bDlg: the dialog about to run).
using TOBLBrowseExecuteEvent = TEvent<TObject*, TOBLBrowseDlg*>;

class TOBLBrowseEdit : public TOBLCustomBrowseEdit {
    VENDARO_CLASS(TOBLBrowseEdit, TOBLCustomBrowseEdit)
public:
    explicit TOBLBrowseEdit(TComponent* AOwner);

    TOBLBrowseDlgOptions Options() const { return options_; }
    void SetOptions(TOBLBrowseDlgOptions Value) { options_ = Value; }
    TOBLSystemFolders StartFolder() const { return startFolder_; }
    void SetStartFolder(TOBLSystemFolders Value) { startFolder_ = Value; }
    bool MinimizeName() const { return minimizeName_; }
    // Switched while unfocused, the shown text follows at once.
    void SetMinimizeName(bool Value);
    bool StartWithLast() const { return startWithLast_; }
    void SetStartWithLast(bool Value) { startWithLast_ = Value; }
    TOBLBrowseExecuteEvent OnExecute() const { return onExecute_; }
    void SetOnExecute(TOBLBrowseExecuteEvent Value) { onExecute_ = Value; }

    // The full path, also while the shortened form is shown.
    AnsiString Path() const { return shortened_ ? fullPath_ : Text(); }
    // The control's Text and Caption are the full path too: the shortened form is for the
    // eye, and a form description stores the path.
    using TOBLCustomBrowseEdit::GetText;
    AnsiString GetText() const override { return Path(); }
    // The new text; unfocused, shown shortened at once.
    void SetPath(const AnsiString& S);
    // Remembers the full path and, with MinimizeName, shows it shortened to TextRect.
    void UpdateText();

    void Loaded() override;
    void WndProc(TMessage& Message) override;
    // Opens the folder browse dialog; its choice becomes the text.
    void DoBrowse() override;
    // Any change of the text makes the shown text the full path again.
    void ChangedText(int At) override;
    // The shortened form is for the eye: it takes no change (the history's records name
    // places in the full path).
    bool AllowedOperation(const AnsiString& S) override;

    static void Publish(TClassBuilder<TOBLBrowseEdit>& c);

protected:
    void DoEnter() override;
    void DoExit() override;

private:
    // The full path shown again.
    void RestoreFullPath();

    TOBLBrowseDlgOptions options_{doReturnFileSysDirs, doShowPath};
    TOBLSystemFolders startFolder_ = bfoDesktopExpanded;
    bool minimizeName_ = false;
    bool startWithLast_ = false;
    TOBLBrowseExecuteEvent onExecute_;
    AnsiString fullPath_;
    bool shortened_ = false; // the text shown is fullPath_ shortened
};
