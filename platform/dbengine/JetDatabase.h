// Genuine Access (Jet 3 and Jet 4) files, read through mdbtools' libmdb, never written.
//
// Why the tables are copied into the SQL engine: both programs send the engine's SQL to an
// Access database (selects with where and order by, counts, look-ups in a loop), and libmdb
// only reads rows; it runs no such statements. So a Jet file opens as an engine database in
// memory, and each table a statement names is copied into it on first use (one transaction,
// one prepared insert for all its rows); the statement then runs there unchanged, with the
// same types, ordering, errors and field descriptions as on an engine file. The copy lives as
// long as the connection: a later change of the file is seen at the next open.
//
// The file is read once, whole, into memory when it opens, checked as far as its format
// allows before libmdb sees a page of it, and closed again: nothing is ever written to it.
// Every statement that would change data is refused with "database opened read-only".
#pragma once

#include "platform/dbengine/DbiConnection.h"
#include "platform/rtl/AnsiString.h"

#include <memory>
#include <string>

// Opens a genuine Jet file read-only; 'displayName' names it in messages. Raises EDbiError
// when the file cannot be read, is of a version other than Jet 3 or Jet 4, or is damaged (a
// file cut short is: every page its catalog and table definitions name must be in it); a
// damage found only when a table is read raises EDbiError at the statement that names it.
// What libmdb reports on the way goes into that error's text, never onto the terminal.
std::unique_ptr<DbiConnection> OpenJetDatabase(const std::string& posixFile, const AnsiString& displayName);
