// A clean window system, application and class registry for each test, and a dialog form
// read from a form description with the controls of the programs' dialogs.
#pragma once

#include "platform/classlib/Dialogs.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The event log every handler of the test form writes to.
inline std::vector<std::string>& EventLog()
{
    static std::vector<std::string> log;
    return log;
}

class TTestDialog : public TForm {
    VENDARO_CLASS(TTestDialog, TForm)
public:
    explicit TTestDialog(TComponent* owner) : TForm(owner) {}

    TGroupBox* GroupBox1() const { return Find<TGroupBox>("GroupBox1"); }
    TLabel* Label1() const { return Find<TLabel>("Label1"); }
    TEdit* Edit1() const { return Find<TEdit>("Edit1"); }
    TButton* OkButton() const { return Find<TButton>("OkButton"); }
    TButton* CancelButton() const { return Find<TButton>("CancelButton"); }
    TButton* SearchButton() const { return Find<TButton>("SearchButton"); }
    TCheckBox* CheckBox1() const { return Find<TCheckBox>("CheckBox1"); }
    TCheckBox* CheckBox2() const { return Find<TCheckBox>("CheckBox2"); }
    TListBox* ListBox1() const { return Find<TListBox>("ListBox1"); }
    TOpenDialog* OpenDialog1() const { return Find<TOpenDialog>("OpenDialog1"); }

    void FormShow(TObject*) { EventLog().push_back("FormShow"); }
    void FormCreate(TObject*) { EventLog().push_back("FormCreate"); }
    void OkButtonClick(TObject*) { EventLog().push_back("OkClick modal=" + std::to_string(ModalResult())); }
    void CancelButtonClick(TObject*) { EventLog().push_back("CancelClick"); }
    void SearchButtonClick(TObject*) { EventLog().push_back("SearchClick"); }
    void CheckBoxClick(TObject* sender)
    {
        auto* box = static_cast<TCheckBox*>(sender);
        EventLog().push_back(std::string(box->Name().c_str()) + (box->Checked() ? " on" : " off"));
    }
    void ControlEnter(TObject* sender) { EventLog().push_back(std::string("enter ") + static_cast<TComponent*>(sender)->Name().c_str()); }
    void ControlExit(TObject* sender) { EventLog().push_back(std::string("exit ") + static_cast<TComponent*>(sender)->Name().c_str()); }
    void Edit1Change(TObject*) { EventLog().push_back("change " + std::string(Edit1()->Text().c_str())); }
    void Label1Click(TObject*) { EventLog().push_back("label click"); }

    static void Publish(TClassBuilder<TTestDialog>& c)
    {
        c.Method("FormShow", &TTestDialog::FormShow);
        c.Method("FormCreate", &TTestDialog::FormCreate);
        c.Method("OkButtonClick", &TTestDialog::OkButtonClick);
        c.Method("CancelButtonClick", &TTestDialog::CancelButtonClick);
        c.Method("SearchButtonClick", &TTestDialog::SearchButtonClick);
        c.Method("CheckBoxClick", &TTestDialog::CheckBoxClick);
        c.Method("ControlEnter", &TTestDialog::ControlEnter);
        c.Method("ControlExit", &TTestDialog::ControlExit);
        c.Method("Edit1Change", &TTestDialog::Edit1Change);
        c.Method("Label1Click", &TTestDialog::Label1Click);
    }

private:
    template <class T>
    T* Find(const char* name) const { return dynamic_cast<T*>(FindComponent(name)); }
};

inline const char* const kTestDialogDescription = R"(object TestDialog: TTestDialog
  Left = 100
  Top = 80
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Caption = 'Procedura di importazione'
  ClientHeight = 300
  ClientWidth = 425
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  OnCreate = FormCreate
  OnShow = FormShow
  object GroupBox1: TGroupBox
    Left = 8
    Top = 8
    Width = 409
    Height = 113
    Caption = 'Percorso della base dati'
    TabOrder = 0
    object Label1: TLabel
      Left = 8
      Top = 24
      Width = 241
      Height = 13
      Caption = 'Specificare il percorso del file'
      OnClick = Label1Click
    end
    object Edit1: TEdit
      Left = 8
      Top = 48
      Width = 385
      Height = 21
      TabOrder = 0
      OnChange = Edit1Change
      OnEnter = ControlEnter
      OnExit = ControlExit
    end
    object SearchButton: TButton
      Left = 8
      Top = 80
      Width = 89
      Height = 25
      Caption = '&Cerca database'
      TabOrder = 1
      OnClick = SearchButtonClick
      OnEnter = ControlEnter
      OnExit = ControlExit
    end
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 136
    Width = 137
    Height = 17
    Caption = 'Anagrafica Clienti'
    TabOrder = 1
    OnClick = CheckBoxClick
  end
  object CheckBox2: TCheckBox
    Left = 8
    Top = 160
    Width = 137
    Height = 17
    Caption = 'Anagrafica Fornitori'
    TabOrder = 2
    OnClick = CheckBoxClick
  end
  object ListBox1: TListBox
    Left = 176
    Top = 136
    Width = 217
    Height = 113
    ItemHeight = 13
    Items.Strings = (
      'primo'
      'secondo')
    TabOrder = 3
  end
  object OkButton: TButton
    Left = 8
    Top = 264
    Width = 137
    Height = 25
    Caption = '&Inizia'
    Default = True
    ModalResult = 1
    TabOrder = 4
    OnClick = OkButtonClick
    OnEnter = ControlEnter
    OnExit = ControlExit
  end
  object CancelButton: TButton
    Left = 344
    Top = 264
    Width = 73
    Height = 25
    Cancel = True
    Caption = '&Chiudi'
    ModalResult = 2
    TabOrder = 5
    OnClick = CancelButtonClick
  end
  object OpenDialog1: TOpenDialog
    FileName = '*.mdb'
    Filter = 'mdb|*.mdb'
  end
end
)";

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        RemoveModuleResources(nullptr);
        UserSetScreenSize(800, 600);
        ResetControlsState();
        FormsInitialization();
        RegisterStdControls();
        RegisterDialogClasses();
        RegisterClass(TTestDialog::StaticClass());
        RegisterFormDescription("TTestDialog", kTestDialogDescription);
        EventLog().clear();
    }
    void TearDown() override
    {
        SetMessageResponder(nullptr);
        UserSetOpenFileResponder(nullptr);
        UserSetMessageBoxResponder(nullptr);
        FormsFinalization();
        ResetControlsState();
        UserResetWindowSystem();
    }

    TTestDialog* CreateDialog()
    {
        TTestDialog* form = nullptr;
        Application->CreateForm(form);
        return form;
    }
    TTestDialog* ShowDialog()
    {
        TTestDialog* form = CreateDialog();
        form->Show();
        Application->ProcessMessages();
        return form;
    }
    static TPoint CenterOf(TControl* control)
    {
        return control->ClientToScreen(Point(control->Width() / 2, control->Height() / 2));
    }
    static void Click(TControl* control)
    {
        TPoint p = CenterOf(control);
        UserInjectClick(p.x, p.y);
        Application->ProcessMessages();
    }
    static void Stroke(BYTE key, bool shift = false)
    {
        UserInjectKeyStroke(key, shift);
        Application->ProcessMessages();
    }
    static std::vector<std::string> TakeLog()
    {
        std::vector<std::string> log = EventLog();
        EventLog().clear();
        return log;
    }
};
