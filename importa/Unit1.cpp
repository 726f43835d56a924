// The dialog: start-up of the form, the operator's path through it and the dispatch of the
// ticked imports.
#include "importa/Unit1.h"

#include "importa/UnitInitialization.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/ErrorOutput.h"
#include "platform/rtl/Files.h"

TForm1* Form1 = nullptr;

namespace {

const char* const kDialogCaption = "Procedura di importazione";
const char* const kSourceName = "dbVendaroBase4.mdb";
const char* const kWrongSource = "Il database impostato non \xE8 il database di Progetto Vendaro 4";
const char* const kNoConnection = "Impossibile collegarsi alla base dati";
const char* const kCompleted = "Procedura completa";
const char* const kFailed = "Errore o duplicazione dati, importazione interrotta";
const char* const kFailedCaption = "Importazione dati";

template <class T>
T* BindComponent(TComponent* form, const char* name)
{
    auto* component = dynamic_cast<T*>(form->FindComponent(name));
    if (!component)
        throw EComponentError(AnsiString("The form description lacks ") + name);
    return component;
}

// The last 18 characters of the path; empty when it is shorter.
AnsiString SourceTail(const AnsiString& path)
{
    const int length = static_cast<int>(std::char_traits<char>::length(kSourceName));
    const int start = path.Length() - length + 1;
    return start < 1 ? AnsiString() : Copy(path, start, length);
}

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {}

void TForm1::Loaded()
{
    inherited::Loaded();
    GroupBox1 = BindComponent<TGroupBox>(this, "GroupBox1");
    Label1 = BindComponent<TLabel>(this, "Label1");
    Edit1 = BindComponent<TEdit>(this, "Edit1");
    OBLButton4 = BindComponent<TOBLButton>(this, "OBLButton4");
    OBLButton3 = BindComponent<TOBLButton>(this, "OBLButton3");
    GroupBox2 = BindComponent<TGroupBox>(this, "GroupBox2");
    CheckBox1 = BindComponent<TCheckBox>(this, "CheckBox1");
    CheckBox2 = BindComponent<TCheckBox>(this, "CheckBox2");
    CheckBox3 = BindComponent<TCheckBox>(this, "CheckBox3");
    CheckBox4 = BindComponent<TCheckBox>(this, "CheckBox4");
    CheckBox5 = BindComponent<TCheckBox>(this, "CheckBox5");
    CheckBox6 = BindComponent<TCheckBox>(this, "CheckBox6");
    CheckBox7 = BindComponent<TCheckBox>(this, "CheckBox7");
    CheckBox8 = BindComponent<TCheckBox>(this, "CheckBox8");
    ListBox1 = BindComponent<TListBox>(this, "ListBox1");
    OBLButton1 = BindComponent<TOBLButton>(this, "OBLButton1");
    OBLButton2 = BindComponent<TOBLButton>(this, "OBLButton2");
    Database1 = BindComponent<TDatabase>(this, "Database1");
    Database2 = BindComponent<TDatabase>(this, "Database2");
    Query1 = BindComponent<TQuery>(this, "Query1");
    Query2 = BindComponent<TQuery>(this, "Query2");
    // Query2 walks the source tables once, front to back: read that way, an import of any
    // size holds one source row at a time.
    Query2->SetUniDirectional(true);
    Query3 = BindComponent<TQuery>(this, "Query3");
    Query4 = BindComponent<TQuery>(this, "Query4");
    OpenDialog1 = BindComponent<TOpenDialog>(this, "OpenDialog1");
}

void TForm1::FormShow(TObject*)
{
    // The data lie under the working directory, however long its path.
    appPath_ = GetCurrentDir() + "\\";
    const AnsiString dataFolder = appPath_ + "Dati";
    if (Database1->Connected())
        Database1->SetConnected(false);
    Database1->Params()->Clear();
    Database1->Params()->Add("PATH=" + dataFolder);
    importCount_ = 0;
}

void TForm1::OBLButton4Click(TObject*)
{
    if (!OpenDialog1->Execute())
        return;
    if (Database2->Connected())
        Database2->Close();
    Edit1->SetTextProperty(OpenDialog1->FileName());
    OBLButton3->SetEnabled(true);
    OBLButton1->SetEnabled(false);
}

void TForm1::OBLButton3Click(TObject*) { TestConnection(); }

void TForm1::TestConnection()
{
    const AnsiString path = Edit1->Text();
    Database2->Params()->Clear();
    Database2->Params()->Add("DATABASE NAME=" + path);
    Database2->Params()->Add("OPEN MODE=READ/WRITE");
    if (SourceTail(path) != kSourceName) {
        Application->MessageBox(kWrongSource, kDialogCaption, 0);
        return;
    }
    Database2->Open();
    if (Database2->Connected()) {
        OBLButton1->SetEnabled(true);
        OBLButton3->SetEnabled(false);
    } else {
        Application->MessageBox(kNoConnection, kDialogCaption, 0);
    }
}

void TForm1::OBLButton1Click(TObject*)
{
    try {
        RunTickedImports();
        if (importCount_ > 0) {
            Application->MessageBox(kCompleted, kDialogCaption, 0);
            ListBox1->Items()->Add("Terminato");
        }
        runFailed_ = false;
    } catch (...) {
        runFailed_ = true;
        // The walk over the source holds the source file open for reading; a failed run
        // lets go of it, so another program may change the source before a retry.
        Query2->Close();
        // The box says only that the run stopped; the reason goes to standard error, with
        // the row that was being written.
        std::string reason = "the import stopped: ";
        if (rowInWork_)
            reason += std::string(rowInWork_->table) + ", row " + rowInWork_->code + ": ";
        rowInWork_.reset();
        WriteErrorLineUtf8(kProgramName, reason + AnsiToUtf8(HandledExceptionMessage()));
        Application->MessageBox(kFailed, kFailedCaption, 0);
    }
}

void TForm1::RunTickedImports()
{
    if (CheckBox5->Checked())
        ImportCompanyData();
    if (CheckBox1->Checked())
        ImportRegistry(1);
    if (CheckBox2->Checked())
        ImportRegistry(2);
    if (CheckBox3->Checked())
        ImportRegistry(3);
    if (CheckBox6->Checked())
        ImportRegistry(4);
    if (CheckBox7->Checked())
        ImportRegistry(5);
    if (CheckBox8->Checked())
        ImportRegistry(6);
    if (CheckBox4->Checked())
        ImportArticles();
}

void TForm1::OBLButton2Click(TObject*) { Close(); }

void TForm1::WorkerDone(const char* logLine)
{
    ++importCount_;
    ListBox1->Items()->Add(logLine);
}

void TForm1::Publish(TClassBuilder<TForm1>& c)
{
    c.Method("FormShow", &TForm1::FormShow);
    c.Method("OBLButton4Click", &TForm1::OBLButton4Click);
    c.Method("OBLButton3Click", &TForm1::OBLButton3Click);
    c.Method("OBLButton1Click", &TForm1::OBLButton1Click);
    c.Method("OBLButton2Click", &TForm1::OBLButton2Click);
}
