#include "obl/core/dialogs/OBLBrowseDlg.h"

#include "obl/core/base/Oblprocs.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Files.h"
#include "platform/win/kernel/Com.h"

#include <memory>
#include <string>

namespace {

// Item lists of the shell, freed with its allocator.
struct ItemListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

AnsiString PathOfList(LPCITEMIDLIST list)
{
    char path[MAX_PATH + 1] = "";
    if (!list || !SHGetPathFromIDListA(list, path))
        return AnsiString();
    return path;
}

int BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data)
{
    auto* dialog = dynamic_cast<TOBLBrowseDlg*>(reinterpret_cast<TObject*>(data));
    if (!dialog)
        return 0;
    switch (message) {
    case BFFM_INITIALIZED:
        dialog->SetDialogHandle(window);
        dialog->DoInit();
        return 0;
    case BFFM_SELCHANGED: dialog->DoSelectionChange(reinterpret_cast<LPITEMIDLIST>(lParam)); return 0;
    case BFFM_VALIDATEFAILEDA:
        return dialog->DoValidateFailed(lParam ? AnsiString(reinterpret_cast<LPCSTR>(lParam)) : AnsiString());
    default: return 0;
    }
}

}  // namespace

int OBLSystemFolderCSIDL(TOBLSystemFolders Folder)
{
    static constexpr int csidl[] = {0x00, 0xFEFE, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
                                    0x0B, 0x10, 0x11, 0x12, 0x13, 0x01, 0x14, 0x15, 0x16, 0x17, 0x18,
                                    0x19, 0x1A, 0x1B, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22};
    static_assert(std::size(csidl) == static_cast<size_t>(bfoHistory) + 1);
    return csidl[static_cast<int>(Folder)];
}

UINT OBLBrowseDlgFlags(TOBLBrowseDlgOptions Options)
{
    static constexpr UINT flags[] = {BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER, BIF_DONTGOBELOWDOMAIN,
                                     BIF_RETURNFSANCESTORS, BIF_RETURNONLYFSDIRS, BIF_STATUSTEXT,
                                     BIF_BROWSEINCLUDEFILES, BIF_EDITBOX | BIF_VALIDATE, BIF_STATUSTEXT, 0};
    static_assert(std::size(flags) == static_cast<size_t>(doEnableOK) + 1);
    UINT result = 0;
    for (int option = 0; option <= static_cast<int>(doEnableOK); ++option)
        if (Options.Contains(static_cast<TOBLBrowseDlgOption>(option)))
            result |= flags[option];
    return result;
}

TOBLBrowseDlg::TOBLBrowseDlg(TComponent* AOwner) : TOBLCustomComponent(AOwner) {}

bool TOBLBrowseDlg::Execute()
{
    TCustomForm* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form)
        form = GetParentForm(dynamic_cast<TControl*>(Owner()));
    if (!form && Application)
        form = Application->MainForm();
    return ExecuteEnh(form);
}

bool TOBLBrowseDlg::ExecuteEnh(TCustomForm* Form)
{
    // Taken before the browser opens: once it runs, it is the active window itself.
    const bool designing = ComponentState().Contains(csDesigning);
    targetRect_ = OBLDlgGetTargetRect(designing ? brScreenWorkArea : relatePos_);
    LPITEMIDLIST rootList = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, OBLSystemFolderCSIDL(startFolder_), &rootList)))
        rootList = nullptr;
    const ItemList root(rootList);
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = Form ? Form->Handle() : nullptr;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = caption_.c_str();
    info.ulFlags = OBLBrowseDlgFlags(options_);
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(static_cast<TObject*>(this));
    ItemList chosen;
    try {
        chosen.reset(SHBrowseForFolderA(&info));
    } catch (...) {
        dialogHandle_ = nullptr;
        throw;
    }
    dialogHandle_ = nullptr;
    if (!chosen)
        return false;
    selectedFolder_ = PathOfList(chosen.get());
    displayName_ = displayName;
    return true;
}

void TOBLBrowseDlg::SetStatusText(const AnsiString& S)
{
    if (S == statusText_)
        return;
    statusText_ = S;
    if (dialogHandle_)
        SendMessageA(dialogHandle_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(statusText_.c_str()));
}

void TOBLBrowseDlg::SetPath(const AnsiString& S)
{
    if (S == selectedFolder_)
        return;
    selectedFolder_ = S;
    if (dialogHandle_)
        SendMessageA(dialogHandle_, BFFM_SETSELECTIONA, 1, reinterpret_cast<LPARAM>(selectedFolder_.c_str()));
}

void TOBLBrowseDlg::SetSelected(LPITEMIDLIST Item)
{
    if (dialogHandle_)
        SendMessageA(dialogHandle_, BFFM_SETSELECTIONA, 0, reinterpret_cast<LPARAM>(Item));
}

void TOBLBrowseDlg::EnableOKButton(bool B)
{
    if (dialogHandle_)
        SendMessageA(dialogHandle_, BFFM_ENABLEOK, 0, B ? 1 : 0);
}

bool TOBLBrowseDlg::ConvertPathToItemIDList(const AnsiString& Path, LPITEMIDLIST& Item)
{
    Item = nullptr;
    if (Path.IsEmpty() || !DirectoryExists(Path))
        return false;
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop)
        return false;
    std::u16string wide;
    wide.reserve(static_cast<size_t>(Path.Length()));
    for (int i = 1; i <= Path.Length(); ++i)
        wide.push_back(static_cast<char16_t>(AnsiCharToUnicode(static_cast<unsigned char>(Path[i]))));
    ULONG eaten = 0;
    const HRESULT result = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &Item, nullptr);
    desktop->Release();
    if (FAILED(result)) {
        Item = nullptr;
        return false;
    }
    return Item != nullptr;
}

void TOBLBrowseDlg::DoInit()
{
    OBLPositionWindow(dialogHandle_, targetRect_, position_, false);
    if (!captionTitle_.IsEmpty())
        SendMessageA(dialogHandle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(captionTitle_.c_str()));
    if (!statusText_.IsEmpty())
        SendMessageA(dialogHandle_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(statusText_.c_str()));
    if (!selectedFolder_.IsEmpty())
        SendMessageA(dialogHandle_, BFFM_SETSELECTIONA, 1, reinterpret_cast<LPARAM>(selectedFolder_.c_str()));
    EnableOKButton(options_.Contains(doEnableOK));
    onInit_(this);
}

void TOBLBrowseDlg::DoSelectionChange(LPITEMIDLIST Item)
{
    const bool showPath = options_.Contains(doShowPath);
    if (!showPath && !onSelectionChanged_)
        return;
    const AnsiString path = PathOfList(Item);
    // The shown path goes to the status line only: StatusText keeps the caller's text.
    if (showPath && dialogHandle_) {
        const AnsiString shown = OBLShrunkFileName(path, 40);
        SendMessageA(dialogHandle_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    onSelectionChanged_(this, dialogHandle_, path, Item);
}

int TOBLBrowseDlg::DoValidateFailed(const AnsiString& Typed)
{
    bool cancel = false;
    onValidate_(this, Typed, cancel);
    return cancel ? 1 : 0;
}

void TOBLBrowseDlg::Publish(TClassBuilder<TOBLBrowseDlg>& c)
{
    using C = TOBLBrowseDlg;
    c.Property("CaptionTitle", &C::CaptionTitle, &C::SetCaptionTitle);
    c.Property("Caption", &C::Caption, &C::SetCaption);
    c.Property("StartFolder", &C::StartFolder, &C::SetStartFolder).Default(bfoDesktopExpanded);
    c.Property("Options", &C::Options, &C::SetOptions).Default(TOBLBrowseDlgOptions{doReturnFileSysDirs, doShowPath});
    c.Property("SelectedFolder", &C::SelectedFolder, &C::SetPath);
    c.Property("Position", &C::Position, &C::SetPosition).Default(bpCenter);
    c.Property("RelatePos", &C::RelatePos, &C::SetRelatePos).Default(brActiveWindow);
    c.Property("StatusText", &C::StatusText, &C::SetStatusText);
    c.Property("OnInit", &C::OnInit, &C::SetOnInit);
    c.Property("OnSelectionChanged", &C::OnSelectionChanged, &C::SetOnSelectionChanged);
    c.Property("OnValidate", &C::OnValidate, &C::SetOnValidate);
    c.Property("About", &C::About, &C::SetAbout);
}
