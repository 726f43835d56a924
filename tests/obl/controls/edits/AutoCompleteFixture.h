// Auto-completion on a shown form: a string-list container with one word list, the
// completion component, and two single-line edits linked to it, typed into through the
// window system as a user would.
#pragma once

#include "obl/controls/edits/OBLCustomEdit.h"
#include "obl/controls/edits/OBLEditAutoComplete.h"
#include "platform/win/user/Input.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/support/KeyboardInput.h"

#include <initializer_list>
#include <string>
#include <vector>

// Records what OnAdd is asked and answers as told.
class TAddLog : public TObject {
    VENDARO_CLASS(TAddLog, TObject)
public:
    void Asked(TObject*, TOBLBaseEdit* edit, AnsiString& text, bool& add, TOBLAutoCompleteSource&)
    {
        asked.push_back(text.str());
        add = accept;
        if (!rename.empty()) text = rename.c_str();
    }
    std::vector<std::string> asked;
    bool accept = true;
    std::string rename;
};

class AutoCompleteFixture : public GraphicFixture, protected KeyboardUser {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        lists_ = new TOBLStringList(form_);
        lists_->Add(nullptr);
        completion_ = new TOBLEditAutoComplete(form_);
        completion_->SetStringList(lists_);
        edit_ = NewEdit(10, 10);
        other_ = NewEdit(10, 120);
    }

    TOBLCustomEdit* NewEdit(int left, int top)
    {
        auto* edit = Add<TOBLCustomEdit>(left, top);
        edit->SetBounds(left, top, 150, 21);
        edit->SetAutoComplete(completion_);
        edit->HandleNeeded();
        Pump();
        return edit;
    }
    TStrings* Words() { return lists_->Items(0)->GetList(); }
    void SetWords(std::initializer_list<const char*> words)
    {
        Words()->Clear();
        for (const char* w : words) Words()->Add(w);
    }
    std::vector<std::string> Lines(TStrings* strings)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < strings->Count(); ++i) lines.push_back(strings->Strings(i).str());
        return lines;
    }
    std::vector<std::string> Shown() { return completion_->ListBox() ? Lines(completion_->ListBox()->Items()) : std::vector<std::string>{}; }
    void Focus(TWinControl* control)
    {
        control->SetFocus();
        Pump();
    }
    static LONG_PTR WindowProcedure(TWinControl* control) { return GetWindowLongA(control->Handle(), GWL_WNDPROC); }
    std::string Text(TOBLBaseEdit* edit = nullptr) const { return (edit ? edit : edit_)->Text().str(); }
    std::string Selected(TOBLBaseEdit* edit = nullptr) const { return (edit ? edit : edit_)->GetSelText().str(); }

    TOBLStringList* lists_ = nullptr;
    TOBLEditAutoComplete* completion_ = nullptr;
    TOBLCustomEdit* edit_ = nullptr;
    TOBLCustomEdit* other_ = nullptr;
    TAddLog adds_;
};
