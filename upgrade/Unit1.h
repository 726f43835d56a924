// Unit1: the upgrade dialog. One click runs the fixed list of schema statements on the
// current edition's Paradox data ("VenDar5") and on the report database ("SVenDar5"), and
// the status label tells the outcome.
#pragma once

#include "platform/classlib/DBTables.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"

class TForm1 : public TForm {
    VENDARO_CLASS(TForm1, TForm)
public:
    explicit TForm1(TComponent* owner);

    // Components of the form description, bound by name once it is read.
    TLabel* Label1 = nullptr;
    TButton* Button1 = nullptr;
    TLabel* Label2 = nullptr;
    TDatabase* Database1 = nullptr;
    TQuery* Query1 = nullptr;
    TDatabase* Database2 = nullptr;
    TQuery* Query2 = nullptr;

    // Published handlers.
    void FormShow(TObject* sender);
    void Button1Click(TObject* sender);

    // Runs the statement list; true when every statement succeeded (both databases then
    // hold the whole upgrade), false when one failed (neither database is changed).
    bool UpgradeDatabase();

    const AnsiString& AppPath() const { return appPath_; }
    // The last click failed to upgrade (the report database did not open, or a statement
    // failed); the program then ends with a failure status.
    bool RunFailed() const { return runFailed_; }

    static void Publish(TClassBuilder<TForm1>& c);

protected:
    void Loaded() override;

private:
    void StartTransactions();
    void CommitTransactions();
    void RollbackTransactions();
    void DetachReport();

    AnsiString appPath_;
    bool reportAttached_ = false;
    bool runFailed_ = false;
};

extern TForm1* Form1;
