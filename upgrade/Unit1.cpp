#include "upgrade/Unit1.h"
#include "upgrade/UnitInitialization.h"

#include "platform/classlib/Dialogs.h"
#include "platform/dbengine/DbiConnection.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/ErrorOutput.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/StrUtils.h"

#include <string>
#include <string_view>

TForm1* Form1 = nullptr;

namespace {

struct TUpgradeStatement {
    bool onReportDatabase; // alters the report database (attached to the data connection as "report")
    const char* text;      // a report statement begins "ALTER TABLE " and its table's name
};

// The newer schema, in the order it is applied.
const TUpgradeStatement kUpgradeStatements[] = {
    {false, "ALTER TABLE 'clienti.db' ADD CheckA SMALLINT"},
    {false, "ALTER TABLE 'documenti.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "ALTER TABLE 'DDT.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "ALTER TABLE 'ordini.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "ALTER TABLE 'ordinicli.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "ALTER TABLE 'preventivi.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "ALTER TABLE 'ricfisc.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "ALTER TABLE 'notecredito.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "ALTER TABLE 'fattpf.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY"},
    {false, "update clienti set CheckA = 0"},
    {false, "update documenti set CheckA = 0, ritenuta = 0"},
    {false, "update fattpf set CheckA = 0, ritenuta = 0"},
    {false, "update ordini set CheckA = 0, ritenuta = 0"},
    {false, "update ordinicli set CheckA = 0, ritenuta = 0"},
    {false, "update preventivi set CheckA = 0, ritenuta = 0"},
    {false, "update ricfisc set CheckA = 0, ritenuta = 0"},
    {false, "update notecredito set CheckA = 0, ritenuta = 0"},
    {false, "update ddt set CheckA = 0, ritenuta = 0"},
    {true, "ALTER TABLE [DDT-Intestazione] ADD COLUMN Ritenuta TEXT (255)"},
    {true, "ALTER TABLE [Fattura-Intestazione] ADD COLUMN Ritenuta TEXT (255)"},
    {true, "ALTER TABLE [Nota di credito-Intestazione] ADD COLUMN Ritenuta TEXT (255)"},
    {true, "ALTER TABLE [Ordine Cliente-Intestazione] ADD COLUMN Ritenuta TEXT (255)"},
    {true, "ALTER TABLE [Ordine Fornitore-Intestazione] ADD COLUMN Ritenuta TEXT (255)"},
    {true, "ALTER TABLE [Preventivo-Intestazione] ADD COLUMN Ritenuta TEXT (255)"},
    {true, "ALTER TABLE [Ricevuta Fiscale-Intestazione] ADD COLUMN Ritenuta TEXT (255)"},
};

const char* const kUpgradeDone = "Il database \xE8 stato aggiornato";
const char* const kUpgradeFailed = "Errore nell'aggiornamento del database";
const char* const kReportDatabaseMissing = "Non trovo il database dei reports: RPTDATA.mdb";
const char* const kReportDatabaseCaption = "Upgrade databse";
// Name of the report file inside the data's connection during the upgrade.
const char* const kReportSchema = "report";

// The statement as sent. A report statement names its table through the report's schema:
// in the data's connection a data table of the same name (ignoring case) would be found
// first.
AnsiString StatementText(const TUpgradeStatement& statement)
{
    static constexpr std::string_view kAlterTable = "ALTER TABLE ";
    if (!statement.onReportDatabase)
        return statement.text;
    return AnsiString(std::string(kAlterTable) + kReportSchema + "." +
                      std::string(std::string_view(statement.text).substr(kAlterTable.size())));
}

void RunStatement(TQuery* query, const AnsiString& text)
{
    query->SQL()->Clear();
    query->SQL()->Add(text);
    query->ExecSQL();
}

void RollbackQuietly(TDatabase* database)
{
    try {
        if (database->InTransaction())
            database->Rollback();
    } catch (const Exception&) {
        // The connection is already unusable; closing it drops what it did not commit.
        database->Close();
    }
}

template <class T>
T* BindComponent(TComponent* form, const char* name)
{
    auto* component = dynamic_cast<T*>(form->FindComponent(name));
    if (!component)
        throw EComponentError(AnsiString("The form description lacks ") + name);
    return component;
}

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {}

void TForm1::Loaded()
{
    inherited::Loaded();
    Label1 = BindComponent<TLabel>(this, "Label1");
    Button1 = BindComponent<TButton>(this, "Button1");
    Label2 = BindComponent<TLabel>(this, "Label2");
    Database1 = BindComponent<TDatabase>(this, "Database1");
    Query1 = BindComponent<TQuery>(this, "Query1");
    Database2 = BindComponent<TDatabase>(this, "Database2");
    Query2 = BindComponent<TQuery>(this, "Query2");
}

void TForm1::FormShow(TObject*)
{
    // The data lie under the working directory, however long its path.
    appPath_ = GetCurrentDir() + "\\";
    if (Database1->Connected())
        Database1->SetConnected(false);
    Database1->Params()->Clear();
    Database1->Params()->Add("PATH=" + appPath_ + "Dati");
    Database1->SetConnected(true);
    Database2->Params()->Clear();
    Database2->Params()->Add("DATABASE NAME=" + appPath_ + "ComponenteStampa\\RPTDATA.mdb");
    Database2->Params()->Add("OPEN MODE=READ/WRITE");
}

void TForm1::Button1Click(TObject*)
{
    // A report database that cannot be opened ends the click here: the engine's message is
    // shown by the application, nothing runs and the button stays usable for another try.
    try {
        Database2->Open();
    } catch (...) {
        WriteErrorLine(kProgramName, "the upgrade failed: " + HandledExceptionMessage());
        runFailed_ = true;
        throw;
    }
    if (!Database2->Connected())
        Application->MessageBox(kReportDatabaseMissing, kReportDatabaseCaption, 0);
    UpgradeDatabase();
    Button1->SetEnabled(false);
}

// The report file joins the data's engine connection for the upgrade, so that one commit
// covers both databases: a failure anywhere, the commit included, leaves both unchanged.
void TForm1::StartTransactions()
{
    const AnsiString reportFile = Trim(Database2->Params()->Values("DATABASE NAME"));
    // Its own connection goes, so the file can change its journal for the joint commit.
    Database2->Close();
    Database1->Connection().Attach(FileSystem::ToPosixPath(reportFile), kReportSchema);
    reportAttached_ = true;
    Database1->StartTransaction();
}

void TForm1::CommitTransactions()
{
    Database1->Commit();
    DetachReport();
}

void TForm1::RollbackTransactions()
{
    RollbackQuietly(Database1);
    DetachReport();
}

void TForm1::DetachReport()
{
    if (!reportAttached_)
        return;
    reportAttached_ = false;
    try {
        if (Database1->Connected())
            Database1->Connection().Detach(kReportSchema);
    } catch (const Exception&) {
        // Closing the connection lets go of the file as well.
        Database1->Close();
    }
}

bool TForm1::UpgradeDatabase()
{
    // All or nothing: a half-applied upgrade could never be completed, since its first
    // statement would fail on every later run. The report statements run on the data's
    // connection, where the report file is attached.
    try {
        StartTransactions();
        for (const TUpgradeStatement& statement : kUpgradeStatements)
            RunStatement(Query1, StatementText(statement));
        CommitTransactions();
    } catch (...) {
        // The label says only that it failed; the reason goes to standard error.
        WriteErrorLine(kProgramName, "the upgrade failed: " + HandledExceptionMessage());
        RollbackTransactions();
        Label2->SetCaption(kUpgradeFailed);
        runFailed_ = true;
        return false;
    }
    Label2->SetCaption(kUpgradeDone);
    runFailed_ = false;
    return true;
}

void TForm1::Publish(TClassBuilder<TForm1>& c)
{
    c.Method("FormShow", &TForm1::FormShow);
    c.Method("Button1Click", &TForm1::Button1Click);
}
