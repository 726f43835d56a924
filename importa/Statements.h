// How the import sends its statements: the text is set whole on the query, values are
// read as text, text values are pasted between single quotes and numbers without.
#pragma once

#include "platform/classlib/DBTables.h"

#include <initializer_list>

// SQL Clear, SQL Add(text), then ExecSQL or Open.
void RunStatement(TQuery* query, const AnsiString& text);
void OpenStatement(TQuery* query, const AnsiString& text);
// The named field of the current row as text.
AnsiString FieldText(TQuery* query, const char* name);

// Every occurrence, case-sensitive, left to right.
AnsiString ReplaceAll(const AnsiString& value, const AnsiString& oldText, const AnsiString& newText);
// The value between single quotes; a quote inside is doubled, so the value is stored as read.
AnsiString Quoted(const AnsiString& value);
// The quoted values separated by commas: "'a','b'".
AnsiString QuotedList(std::initializer_list<AnsiString> values);
// The value itself when it is a plain number (sign, digits, a point and an exponent
// allowed); anything else raises, so it never becomes part of a statement.
const AnsiString& Number(const AnsiString& value);

// Runs the work in one transaction on the database (opened when needed): committed when
// the work succeeds, rolled back when it raises, and the exception goes on.
template <class Work>
void InOneTransaction(TDatabase* database, Work work)
{
    database->Open();
    database->StartTransaction();
    try {
        work();
    } catch (...) {
        try {
            database->Rollback();
        } catch (...) {
            // A connection that cannot roll back is closed, which drops the changes.
            database->Close();
        }
        throw;
    }
    database->Commit();
}
