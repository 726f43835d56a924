// Unit OBLBrowseDlg: the shell's folder browser as a component: a root chosen from the
// system folders, options mapped onto the browser's flags, a title, a window caption, a
// status line, an initial selection, its own placement on the screen, and events for
// initialisation, selection changes and the validation of a typed path.
#pragma once

#include "obl/core/app/oblclass.h"
#include "obl/core/base/OBLCustomComponent.h"
#include "platform/classlib/Forms.h"
#include "platform/win/user/ShellBrowse.h"

VENDARO_ENUM(TOBLSystemFolders, bfoDesktop, bfoDesktopExpanded, bfoPrograms, bfoControlPanel, bfoPrinters,
             bfoPersonal, bfoFavorites, bfoStartup, bfoRecent, bfoSendto, bfoRecycleBin, bfoStartMenu,
             bfoDesktopDirectory, bfoMyComputer, bfoNetwork, bfoNetworkNeighborhood, bfoInternet, bfoFonts,
             bfoTemplates, bfoCommonStartMenu, bfoCommonPrograms, bfoCommonStartup, bfoCommonDesktopDirectory,
             bfoAppData, bfoPrintHood, bfoAltStartup, bfoCommonAltstartup, bfoCommonFavorites,
             bfoInternetChache, bfoCookies, bfoHistory)
VENDARO_ENUM(TOBLBrowseDlgOption, doBrowseForComputer, doBrowseForPrinter, doDontGoBelowDomain,
             doReturnFileSysAncestors, doReturnFileSysDirs, doStatusText, doShowFiles, doAllowEdit, doShowPath,
             doEnableOK)
using TOBLBrowseDlgOptions = TSet<TOBLBrowseDlgOption>;

using TOBLBrowseDlgEditValidateEvent = TEvent<TObject*, AnsiString, bool&>;
using TOBLBrowseDlgSelectionChangeEvent = TEvent<TObject*, HWND, AnsiString, LPITEMIDLIST>;

// The folder number a root stands for; bfoDesktopExpanded is 0xFEFE, which the shell does
// not know, so the browser shows the whole namespace.
int OBLSystemFolderCSIDL(TOBLSystemFolders Folder);
// The browser flags of a set of options (doShowPath asks for the status line it fills).
UINT OBLBrowseDlgFlags(TOBLBrowseDlgOptions Options);

class TOBLBrowseDlg : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLBrowseDlg, TOBLCustomComponent)
public:
    explicit TOBLBrowseDlg(TComponent* AOwner);

    // Runs the browser over the owner's form (the owner itself, or the form of an owner
    // control), else over the application's main form. True when a folder was chosen.
    bool Execute();
    // Runs the browser over the form (none: no owner window).
    bool ExecuteEnh(TCustomForm* Form);

    const AnsiString& SelectedFolder() const { return selectedFolder_; }
    // Also selects the path in the running browser.
    void SetPath(const AnsiString& S);
    const AnsiString& DisplayName() const { return displayName_; }
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& S) { caption_ = S; }
    const AnsiString& CaptionTitle() const { return captionTitle_; }
    void SetCaptionTitle(const AnsiString& S) { captionTitle_ = S; }
    const AnsiString& StatusText() const { return statusText_; }
    // Also shows the text in the running browser's status line.
    void SetStatusText(const AnsiString& S);
    HWND DialogHandle() const { return dialogHandle_; }
    TOBLDlgPosRel RelatePos() const { return relatePos_; }
    void SetRelatePos(TOBLDlgPosRel Value) { relatePos_ = Value; }
    TOBLBrowseDlgOptions Options() const { return options_; }
    void SetOptions(TOBLBrowseDlgOptions Value) { options_ = Value; }
    TOBLDlgPosition Position() const { return position_; }
    void SetPosition(TOBLDlgPosition Value) { position_ = Value; }
    TOBLSystemFolders StartFolder() const { return startFolder_; }
    void SetStartFolder(TOBLSystemFolders Value) { startFolder_ = Value; }

    TNotifyEvent OnInit() const { return onInit_; }
    void SetOnInit(TNotifyEvent Value) { onInit_ = Value; }
    TOBLBrowseDlgEditValidateEvent OnValidate() const { return onValidate_; }
    void SetOnValidate(TOBLBrowseDlgEditValidateEvent Value) { onValidate_ = Value; }
    TOBLBrowseDlgSelectionChangeEvent OnSelectionChanged() const { return onSelectionChanged_; }
    void SetOnSelectionChanged(TOBLBrowseDlgSelectionChangeEvent Value) { onSelectionChanged_ = Value; }

    // Selects an item in the running browser.
    void SetSelected(LPITEMIDLIST Item);
    void EnableOKButton(bool B);
    // The item list of an existing folder (the caller frees it with ILFree); false for a
    // path that is no folder.
    bool ConvertPathToItemIDList(const AnsiString& Path, LPITEMIDLIST& Item);

    // From the browser's callback.
    void DoInit();
    void DoSelectionChange(LPITEMIDLIST Item);
    int DoValidateFailed(const AnsiString& Typed);
    void SetDialogHandle(HWND Window) { dialogHandle_ = Window; }

    static void Publish(TClassBuilder<TOBLBrowseDlg>& c);

private:
    AnsiString selectedFolder_;
    AnsiString displayName_;
    AnsiString caption_;
    AnsiString captionTitle_;
    AnsiString statusText_;
    HWND dialogHandle_ = nullptr;
    TRect targetRect_{};  // what the running browser is placed in
    TNotifyEvent onInit_;
    TOBLBrowseDlgEditValidateEvent onValidate_;
    TOBLBrowseDlgSelectionChangeEvent onSelectionChanged_;
    TOBLDlgPosRel relatePos_ = brActiveWindow;
    TOBLBrowseDlgOptions options_{doReturnFileSysDirs, doShowPath};
    TOBLDlgPosition position_ = bpCenter;
    TOBLSystemFolders startFolder_ = bfoDesktopExpanded;
};
