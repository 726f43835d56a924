// Unit1: the import dialog. The operator picks the older edition's Access file, tests it,
// ticks what to import and starts; each ticked import copies its rows from the source
// ("PVenDar4") into the current edition's Paradox tables ("PVenDar5") and logs one line.
#pragma once

#include "obl/controls/buttons/OBLButton.h"
#include "platform/classlib/DBTables.h"
#include "platform/classlib/Dialogs.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TForm1 : public TForm {
    VENDARO_CLASS(TForm1, TForm)
public:
    explicit TForm1(TComponent* owner);

    // Components of the form description, bound by name once it is read.
    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TOBLButton* OBLButton4 = nullptr;
    TOBLButton* OBLButton3 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    TCheckBox* CheckBox3 = nullptr;
    TCheckBox* CheckBox4 = nullptr;
    TCheckBox* CheckBox5 = nullptr;
    TCheckBox* CheckBox6 = nullptr;
    TCheckBox* CheckBox7 = nullptr;
    TCheckBox* CheckBox8 = nullptr;
    TListBox* ListBox1 = nullptr;
    TOBLButton* OBLButton1 = nullptr;
    TOBLButton* OBLButton2 = nullptr;
    TDatabase* Database1 = nullptr;
    TDatabase* Database2 = nullptr;
    TQuery* Query1 = nullptr;
    TQuery* Query2 = nullptr;
    TQuery* Query3 = nullptr;
    TQuery* Query4 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;

    // Published handlers.
    void FormShow(TObject* sender);
    void OBLButton4Click(TObject* sender);
    void OBLButton3Click(TObject* sender);
    void OBLButton1Click(TObject* sender);
    void OBLButton2Click(TObject* sender);

    // The import workers; each counts itself and logs one line when it finishes, and
    // lets every failure pass to the start handler.
    void ImportRegistry(int kind);
    void ImportArticles();
    void ImportCompanyData();

    const AnsiString& AppPath() const { return appPath_; }
    std::int32_t ImportCount() const { return importCount_; }
    // The last run ended with the error box; the program then ends with a failure status.
    bool RunFailed() const { return runFailed_; }

    static void Publish(TClassBuilder<TForm1>& c);

protected:
    void Loaded() override;

private:
    void TestConnection();
    void RunTickedImports();
    void WorkerDone(const char* logLine);
    void ImportRegistryRows(const struct TRegistryKind& kind, bool& duplicate);
    void ImportArticleRows(bool& duplicate);
    void ImportArticle(bool& duplicate);
    void WriteArticle(const struct TArticle& article);
    // The target's warehouse and price-list ids, read once per article import.
    const std::vector<AnsiString>& Warehouses();
    const std::vector<AnsiString>& PriceLists();

    // The source row being written: the table it goes to and its code as the source holds it.
    struct TRowInWork {
        const char* table;
        std::string code;
    };
    // Writes one source row: a failure on the way names the row, so the user can find it
    // in the source.
    template <class Work>
    void WriteRow(const char* table, std::string code, Work work)
    {
        rowInWork_ = TRowInWork{table, std::move(code)};
        work();
        rowInWork_.reset();
    }

    AnsiString appPath_;
    std::optional<TRowInWork> rowInWork_;
    std::int32_t importCount_ = 0;
    bool runFailed_ = false;
    std::optional<std::vector<AnsiString>> warehouses_, priceLists_;
};

extern TForm1* Form1;
