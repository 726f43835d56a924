// Message boxes, message dialogs and the open-file dialog as small modal forms.
#include "platform/classlib/Dialogs.h"

#include "platform/classlib/StdCtrls.h"
#include "platform/win/kernel/Folders.h"
#include "platform/win/user/CommonDialogs.h"

#include <algorithm>

namespace {

TMessageResponder& Responder()
{
    static TMessageResponder responder;
    return responder;
}

struct ButtonSpec {
    const char* caption;
    int result;
};

std::vector<ButtonSpec> DialogButtons(TMsgDlgButtons buttons)
{
    static const ButtonSpec specs[] = {{"&Yes", mrYes},   {"&No", mrNo},         {"OK", mrOk},
                                       {"Cancel", mrCancel}, {"&Abort", mrAbort}, {"&Retry", mrRetry},
                                       {"&Ignore", mrIgnore}, {"&All", mrAll},     {"N&o to All", mrNoToAll},
                                       {"Yes to &All", mrYesToAll}, {"&Help", mrNone}};
    std::vector<ButtonSpec> list;
    for (int i = 0; i <= static_cast<int>(mbHelp); ++i)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(i)))
            list.push_back(specs[i]);
    return list;
}

// The answer when the box is closed without a button: Cancel when there is one, else the
// only button's.
int CloseAnswer(const std::vector<ButtonSpec>& buttons)
{
    for (const ButtonSpec& b : buttons)
        if (b.result == mrCancel)
            return mrCancel;
    return buttons.size() == 1 ? buttons.front().result : mrCancel;
}

int RunMessageForm(const AnsiString& text, const AnsiString& caption, const std::vector<ButtonSpec>& buttons)
{
    std::vector<int> results;
    for (const ButtonSpec& b : buttons)
        results.push_back(b.result);
    if (Responder())
        return Responder()(text, caption, results);

    TOwned<TForm> form(new TForm(nullptr));
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons({biSystemMenu});
    form->SetPosition(poScreenCenter);
    form->SetCaption(caption);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetBounds(16, 16, 10, 13);
    label->SetCaption(text);
    label->SetAutoSize(true);
    constexpr int buttonWidth = 75, gap = 8;
    int total = static_cast<int>(buttons.size()) * (buttonWidth + gap) - gap;
    int width = std::max(label->Width() + 32, total + 32);
    int top = label->Top() + label->Height() + 16;
    int x = (width - total) / 2;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(x, top, buttonWidth, 25);
        button->SetCaption(buttons[i].caption);
        button->SetModalResult(buttons[i].result);
        button->SetDefault(i == 0);
        button->SetCancel(buttons[i].result == mrCancel || buttons.size() == 1);
        x += buttonWidth + gap;
    }
    form->SetFormClientWidth(width);
    form->SetFormClientHeight(top + 25 + 16);
    int result = form->ShowModal();
    bool fromButton = std::any_of(buttons.begin(), buttons.end(), [&](const ButtonSpec& b) { return b.result == result; });
    return fromButton ? result : CloseAnswer(buttons);
}

} // namespace

void SetMessageResponder(TMessageResponder responder) { Responder() = std::move(responder); }

int MessageDlg(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    static const char* const captions[] = {"Warning", "Error", "Information", "Confirm"};
    AnsiString caption = type == mtCustom ? (Application ? Application->Title() : AnsiString())
                                          : AnsiString(captions[static_cast<int>(type)]);
    return RunMessageForm(message, caption, DialogButtons(buttons));
}

void ShowMessage(const AnsiString& message)
{
    RunMessageForm(message, Application ? Application->Title() : AnsiString(), {{"OK", mrOk}});
}

// ---------------------------------------------------------------------------------------
// TOpenDialog

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

namespace {

// "name|masks|name|masks" becomes the window system's form: entries ended by NUL, the
// list by a second NUL.
std::string NulSeparatedFilter(const AnsiString& filter)
{
    std::string list = filter.str();
    std::replace(list.begin(), list.end(), '|', '\0');
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

DWORD OpenFlags(TOpenOptions options)
{
    static const std::pair<TOpenOption, DWORD> map[] = {
        {ofReadOnly, OFN_READONLY},           {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},   {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofShowHelp, OFN_SHOWHELP},           {ofNoValidate, OFN_NOVALIDATE},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT}, {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST}, {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofShareAware, OFN_SHAREAWARE},       {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE}, {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS}, {ofEnableSizing, OFN_ENABLESIZING},
    };
    DWORD flags = OFN_EXPLORER;
    for (const auto& [option, flag] : map)
        if (options.Contains(option))
            flags |= flag;
    return flags;
}

} // namespace

bool TOpenDialog::Execute()
{
    std::string filter = NulSeparatedFilter(filter_);
    std::vector<char> file(MAX_PATH + 1, '\0');
    std::copy_n(fileName_.c_str(), std::min<std::size_t>(static_cast<std::size_t>(fileName_.Length()), MAX_PATH),
                file.begin());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    TCustomForm* owner = Screen ? Screen->ActiveForm() : nullptr;
    ofn.hwndOwner = owner ? owner->Handle() : (Application ? Application->Handle() : nullptr);
    ofn.lpstrFilter = filter_.IsEmpty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = initialDir_.IsEmpty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.IsEmpty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt_.IsEmpty() ? nullptr : defaultExt_.c_str();
    ofn.Flags = OpenFlags(options_);
    if (!GetOpenFileNameA(&ofn))
        return false;
    fileName_ = AnsiString(file.data());
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

void TOpenDialog::Publish(TClassBuilder<TOpenDialog>& c)
{
    c.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
    c.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
    c.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
    c.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
    c.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
    c.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions).Default(TOpenOptions{ofHideReadOnly});
    c.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}

void RegisterDialogClasses() { RegisterClass(TOpenDialog::StaticClass()); }
