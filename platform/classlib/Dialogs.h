// Standard dialogs: message dialogs built as small modal forms (with a scripted responder
// for tests), and the open-file dialog over the window system's (whose responder tests set
// through the window system).
#pragma once

#include "platform/classlib/Forms.h"

#include <functional>

VENDARO_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
VENDARO_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll,
             mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// A modal dialog with a caption from the type ("Warning", "Error", "Information",
// "Confirm"), the message and the buttons; answers the modal result of the button chosen.
int MessageDlg(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
// A dialog with the message and an OK button, captioned with the application's title.
void ShowMessage(const AnsiString& message);

// Scripted answers to message dialogs: gets the text, the caption and the buttons' modal
// results in order, and answers the result.
using TMessageResponder = std::function<int(const AnsiString& text, const AnsiString& caption,
                                            const std::vector<int>& results)>;
void SetMessageResponder(TMessageResponder responder);

// ---------------------------------------------------------------------------------------
// TOpenDialog

VENDARO_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
             ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
             ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
             ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing)
using TOpenOptions = TSet<TOpenOption>;

class TCommonDialog : public TComponent {
    VENDARO_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
    virtual bool Execute() = 0;
};

class TOpenDialog : public TCommonDialog {
    VENDARO_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* owner);

    // Modal: true when the user chose a file (FileName holds it), false when cancelled.
    bool Execute() override;

    const AnsiString& FileName() const { return fileName_; }
    void SetFileName(const AnsiString& v) { fileName_ = v; }
    // "name|pattern|name|pattern..."; a pattern may list several masks separated by ";".
    const AnsiString& Filter() const { return filter_; }
    void SetFilter(const AnsiString& v) { filter_ = v; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int v) { filterIndex_ = v; }
    const AnsiString& InitialDir() const { return initialDir_; }
    void SetInitialDir(const AnsiString& v) { initialDir_ = v; }
    const AnsiString& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const AnsiString& v) { defaultExt_ = v; }
    const AnsiString& Title() const { return title_; }
    void SetTitle(const AnsiString& v) { title_ = v; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions v) { options_ = v; }

    static void Publish(TClassBuilder<TOpenDialog>& c);

private:
    AnsiString fileName_, filter_, initialDir_, defaultExt_, title_;
    int filterIndex_ = 1;
    TOpenOptions options_{ofHideReadOnly};
};

// Registers the dialog classes with the class registry.
void RegisterDialogClasses();
