// A Paradox folder and an Access file in a temporary folder, with the database and query
// components set up the way the programs set theirs.
#pragma once

#include "platform/classlib/DBTables.h"
#include "tests/platform/dbengine/TempFolder.h"

#include <gtest/gtest.h>

// SQL Clear, SQL Add(text), then ExecSQL or Open, as the programs set every statement.
inline void Exec(TQuery& query, const AnsiString& text)
{
    query.SQL()->Clear();
    query.SQL()->Add(text);
    query.ExecSQL();
}

inline void OpenQuery(TQuery& query, const AnsiString& text)
{
    query.SQL()->Clear();
    query.SQL()->Add(text);
    query.Open();
}

// The message of the database error the action raises, or "(no error)".
template <class Action>
AnsiString DatabaseErrorOf(Action action)
{
    try {
        action();
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return "(no error)";
}

class DbFixture : public ::testing::Test {
protected:
    DbFixture()
    {
        paradox.SetDatabaseName("PVenDar5");
        paradox.SetDriverName("STANDARD");
        paradox.Params()->Add("PATH=" + folder.Path().string());
        query.SetDatabaseName("PVenDar5");
        Exec(query, "CREATE TABLE 'clienti.db' (id AUTOINC, codice CHAR(20) UNIQUE, nome CHAR(40), "
                    "citt\xE0 CHAR(30), fido MONEY, sconto FLOAT, attivo LOGICAL, giorni SMALLINT)");
    }

    TempFolder folder;
    TDatabase paradox{nullptr};
    TQuery query{nullptr};
};
