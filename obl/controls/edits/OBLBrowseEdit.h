// Unit OBLBrowseEdit: the folder-path edit. Its button shows a folder and opens the folder
// browse dialog, whose choice becomes the text. While unfocused it can show the path
// shortened with "..." to fit its width; the full path comes back on entry. The shortened
// form is only drawn: the text stays the full path, so Path, Text, the window text, the
// edit messages, copying and the form description all give the full path.
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
    AnsiString Path() const { return Text(); }
    // The new text; unfocused, shown shortened at once. The path it holds is no change.
    void SetPath(const AnsiString& S);
    // With MinimizeName, shows the path shortened to TextRect.
    void UpdateText();

    void WndProc(TMessage& Message) override;
    // Opens the folder browse dialog; its choice becomes the text.
    void DoBrowse() override;
    // Any change of the text makes the shown text the full path again.
    void ChangedText(int At) override;
    // While shortened, the shortened path is what is drawn.
    void CreateSpecialText(AnsiString& S) override;
    // While the shortened form is shown the text takes no change: what would be changed is
    // not what the user sees.
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
    AnsiString shortPath_;   // the path shortened to the edit's width
    bool shortened_ = false; // shortPath_ is what is drawn
};
