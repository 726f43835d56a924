// Browse edits on a shown form of a clean window system, typed into as a user would, with a
// second edit to take the focus away, the folder browser answered by a scripted responder
// and real folders under drive C.
#pragma once

#include "obl/controls/edits/OBLBrowseEdit.h"
#include "platform/rtl/Files.h"
#include "platform/win/user/ShellBrowse.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/support/KeyboardInput.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// A long folder path that exists under drive C.
inline const char* const kLongPath = "C:\\Vendaro\\Archivio\\Anagrafiche\\Clienti\\2026";

// Records the browse edit's events.
class TBrowseLog : public TObject {
    VENDARO_CLASS(TBrowseLog, TObject)
public:
    void Before(TObject*) { events.push_back("before"); }
    void Browse(TObject* sender) { events.push_back("browse:" + static_cast<TOBLBrowseEdit*>(sender)->Path().str()); }
    void Execute(TObject*, TOBLBrowseDlg* dialog)
    {
        events.push_back("execute");
        if (onExecute) onExecute(dialog);
    }
    std::vector<std::string> events;
    std::function<void(TOBLBrowseDlg*)> onExecute;
};

class BrowseEditFixture : public GraphicFixture, protected KeyboardUser {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        ForceDirectories(kLongPath);
        ForceDirectories("C:\\Dati");
        edit_ = NewEdit(10, 10, 200);
        other_ = NewEdit(10, 40, 200);
        edit_->SetOnBeforeBrowse(TNotifyEvent(&log_, &TBrowseLog::Before));
        edit_->SetOnBrowse(TNotifyEvent(&log_, &TBrowseLog::Browse));
        edit_->SetOnExecute(TOBLBrowseExecuteEvent(&log_, &TBrowseLog::Execute));
    }
    void TearDown() override
    {
        UserSetFolderBrowseResponder(nullptr);
        GraphicFixture::TearDown();
    }

    TOBLBrowseEdit* NewEdit(int left, int top, int width)
    {
        auto* edit = Add<TOBLBrowseEdit>(left, top);
        edit->SetBounds(left, top, width, 21);
        edit->HandleNeeded();
        Pump();
        return edit;
    }
    void Focus(TWinControl* control)
    {
        control->SetFocus();
        Pump();
    }
    // The browser picks `choice` (none: Cancel); `selection` receives what it opened on.
    void Answer(std::optional<AnsiString> choice)
    {
        UserSetFolderBrowseResponder([this, choice](HWND browser) {
            opened_.push_back(UserFolderBrowseSelection(browser).str());
            return choice;
        });
    }
    // A click in the middle of the browse button.
    void ClickButton()
    {
        TOBLSpeedButton* button = edit_->CustomButtons()->GetItem(0)->Btn();
        ClickAt(button, button->Width() / 2, button->Height() / 2);
        Pump();
    }
    // The width of Text in the edit's font.
    int TextWidth(TOBLBrowseEdit* edit, const AnsiString& text)
    {
        edit->Canvas()->Font()->Assign(edit->Font());
        return edit->Canvas()->TextWidth(text);
    }

    TOBLBrowseEdit* edit_ = nullptr;
    TOBLBrowseEdit* other_ = nullptr;
    TBrowseLog log_;
    std::vector<std::string> opened_;
};
