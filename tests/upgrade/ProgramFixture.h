// Runs a program's dialog headless on a fresh copy of the sample databases: the units start,
// the working directory is the samples' folder, the main form is created and shown, message
// boxes are answered OK and recorded, input is injected and the messages pumped the way
// the application's loop does (an escaping exception is shown by the application).
#pragma once

#include "platform/classlib/Forms.h"
#include "platform/dbengine/DbiDrivers.h"
#include "platform/win/gdi/Surface.h"
#include "platform/rtl/Files.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/UserTesting.h"
#include "tests/platform/dbengine/TempFolder.h"
#include "tests/support/TestDisplay.h"
#include "tools/samples/SampleData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ShownBox {
    AnsiString text;
    AnsiString caption;
    bool operator==(const ShownBox&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const ShownBox& box)
{
    return out << '"' << box.text.c_str() << "\" / \"" << box.caption.c_str() << '"';
}

// Every value of a statement's rows as text (NULL as "NULL").
inline std::vector<std::vector<AnsiString>> Rows(DbiConnection& db, const AnsiString& sql)
{
    std::vector<std::vector<AnsiString>> rows;
    for (const DbiRow& row : db.Execute(sql).rows) {
        std::vector<AnsiString> values;
        for (const DbiValue& v : row) {
            switch (v.kind) {
            case DbiValue::Kind::Null: values.push_back("NULL"); break;
            case DbiValue::Kind::Integer: values.push_back(AnsiString(std::to_string(v.integer))); break;
            case DbiValue::Kind::Float: values.push_back(AnsiString(std::to_string(v.real))); break;
            default: values.push_back(v.text); break;
            }
        }
        rows.push_back(values);
    }
    return rows;
}

class ProgramFixture : public ::testing::Test {
protected:
    // The program's own start-up and close-down of its units.
    using UnitsFunction = void (*)();

    ProgramFixture(UnitsFunction initialize, UnitsFunction finalize) : initialize_(initialize), finalize_(finalize)
    {
        previousDir_ = GetCurrentDir();
        MakeSamples(root_.Path().string(), {}, false);
        UseFolder(root_.Path().string());
    }

    ~ProgramFixture() override
    {
        StopProgram();
        UserSetMessageBoxResponder(nullptr);
        UserSetOpenFileResponder(nullptr);
        SetCurrentDir(previousDir_);
    }

    // The folder the program runs in (its working directory).
    void UseFolder(const std::string& folder)
    {
        folder_ = folder;
        ASSERT_TRUE(SetCurrentDir(AnsiString(folder)));
    }
    const std::string& Folder() const { return folder_; }
    std::string InFolder(const std::string& name) const { return folder_ + "/" + name; }

    // Starts the units, creates the form and shows it; the caller stores the form.
    template <class Form>
    Form* StartProgram(Form*& global, const AnsiString& title)
    {
        UserResetWindowSystem();
        ResetControlsState();
        AnswerBoxes();
        initialize_();
        running_ = true;
        Application->SetTitle(title);
        Application->CreateForm(global);
        Application->MainForm()->Show();
        Pump();
        return global;
    }

    // Boxes are answered OK and recorded (the window system forgets responders on reset).
    void AnswerBoxes()
    {
        UserSetMessageBoxResponder([this](const MessageBoxRequest& box) {
            boxes.push_back({box.text, box.caption});
            flags.push_back(box.type);
            return IDOK;
        });
    }

    void StopProgram()
    {
        if (!running_)
            return;
        running_ = false;
        finalize_();
        UserResetWindowSystem();
    }

    void Pump()
    {
        for (;;) {
            try {
                Application->ProcessMessages();
                return;
            } catch (const Exception&) {
                Application->HandleException(Application);
            }
        }
    }

    // Pumps the program's messages until the X server shows what the window painted.
    int ReadBackWhenShown(HWND window, Surface& shown)
    {
        return TestDisplay::ReadBackWhenShown(window, shown, [this] { Pump(); });
    }

    // Clicks the middle of a control and lets the messages run.
    void Click(TControl* control)
    {
        const TPoint p = control->ClientToScreen(Point(control->Width() / 2, control->Height() / 2));
        UserInjectClick(p.x, p.y);
        Pump();
    }

    std::unique_ptr<DbiConnection> OpenData() const
    {
        return DbiOpenDatabase("STANDARD", {AnsiString("PATH=" + InFolder("Dati"))}, false);
    }
    std::unique_ptr<DbiConnection> OpenReport() const
    {
        return DbiOpenDatabase("MSACCESS", {AnsiString("DATABASE NAME=" + InFolder("ComponenteStampa/RPTDATA.mdb"))},
                               false);
    }
    std::unique_ptr<DbiConnection> OpenSource() const
    {
        return DbiOpenDatabase("MSACCESS", {AnsiString("DATABASE NAME=" + InFolder("dbVendaroBase4.mdb"))}, false);
    }

    std::vector<ShownBox> boxes;
    std::vector<UINT> flags; // of each box shown
    TempFolder root_;

private:
    UnitsFunction initialize_;
    UnitsFunction finalize_;
    AnsiString previousDir_;
    std::string folder_;
    bool running_ = false;
};
