// How the import sends its statements: the text is set whole on the query, values are
// read as text, text values are pasted between single quotes and numbers without.
#pragma once

#include "platform/classlib/DBTables.h"
#include "platform/dbengine/DbiConnection.h"

#include <initializer_list>
#include <span>
#include <string>

// SQL Clear, SQL Add(text), then ExecSQL or Open.
void RunStatement(TQuery* query, const AnsiString& text);
void OpenStatement(TQuery* query, const AnsiString& text);
// The named field of the current row as text.
AnsiString FieldText(TQuery* query, const char* name);
// The same in UTF-8, as the source holds it, whatever the code page can hold.
std::string FieldUtf8(TQuery* query, const char* name);

// The stored tables hold 8-bit text: a character of the source that the code page cannot
// hold is stored as '?'. That is said, one line on standard error for the source's current
// row when any of the fields changed: the table the row goes to, its code as the source
// holds it (none when `codeField` is null) and the fields.
void ReportChangedText(TQuery* source, const char* table, const char* codeField,
                       std::span<const char* const> fields);

// Every occurrence, case-sensitive, left to right.
AnsiString ReplaceAll(const AnsiString& value, const AnsiString& oldText, const AnsiString& newText);
// ReplaceAll of one character by another, or by nothing, done in place.
void ReplaceChar(AnsiString& value, char oldChar, char newChar);
void DropChar(AnsiString& value, char oldChar);
// The value between single quotes; a quote inside is doubled, so the value is stored as read.
AnsiString Quoted(const AnsiString& value);
// The quoted values separated by commas: "'a','b'".
AnsiString QuotedList(std::initializer_list<AnsiString> values);
// The value itself when it is a plain number (sign, digits, a point and an exponent
// allowed); anything else raises, so it never becomes part of a statement.
const AnsiString& Number(const AnsiString& value);

// Runs the work as one unit on the database (opened when needed): kept when the work
// succeeds, undone when it raises, and the exception goes on. Outside a transaction the
// unit is a transaction of its own; inside one (a worker's batch) it is a savepoint, so
// undoing it leaves the batch's earlier rows in place.
template <class Work>
void InOneTransaction(TDatabase* database, Work work)
{
    database->Open();
    if (database->InTransaction()) {
        DbiConnection& connection = database->Connection();
        connection.Execute("SAVEPOINT import_unit");
        try {
            work();
        } catch (...) {
            try {
                connection.Execute("ROLLBACK TO import_unit");
                connection.Execute("RELEASE import_unit");
            } catch (...) {
                // The batch cannot take the unit back: it is dropped whole instead.
                database->Rollback();
            }
            throw;
        }
        connection.Execute("RELEASE import_unit");
        return;
    }
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

// Runs a worker's writes in one batch on the database (opened when needed): one
// transaction, committed at the end. When the work raises, what it wrote before the
// failure is committed first (rows written stay written), then the exception goes on.
// Inside a batch already running, the work simply joins it.
template <class Work>
void InOneBatch(TDatabase* database, Work work)
{
    database->Open();
    if (database->InTransaction()) {
        work();
        return;
    }
    database->StartTransaction();
    try {
        work();
    } catch (...) {
        try {
            if (database->InTransaction())
                database->Commit();
        } catch (...) {
            // The failure that ended the work is the one reported.
        }
        throw;
    }
    database->Commit();
}
