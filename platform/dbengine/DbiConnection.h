// One open database of a driver: runs statements of the driver's dialect and keeps the
// transaction state. Statements outside a transaction commit on their own.
#pragma once

#include "platform/dbengine/DbiResult.h"
#include "platform/dbengine/SqlDialect.h"
#include "platform/dbengine/StatementCache.h"

#include <memory>
#include <string>

struct sqlite3;

class DbiConnection {
public:
    // Opens the engine file; 'create' makes it when missing (never for a read-only opening).
    // Raises EDbiError with the engine's message when the file cannot be opened or is not
    // a database.
    DbiConnection(const std::string& posixFile, SqlDialect dialect, bool readOnly, bool create);
    ~DbiConnection();
    DbiConnection(const DbiConnection&) = delete;
    DbiConnection& operator=(const DbiConnection&) = delete;

    // Runs one statement; a statement that returns rows gives them all. A statement the
    // dialect turns into several runs all of them or, on the first failure, none.
    DbiResult Execute(const AnsiString& sql);
    // Runs one statement that returns rows; one that returns none is refused before it
    // runs, so opening an UPDATE by mistake changes nothing.
    DbiResult Open(const AnsiString& sql);

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // Opens a second engine file in this connection under the schema name, so that one
    // transaction covers both and commits all or nothing (both files get a rollback journal,
    // which the engine commits atomically across files). Statements name the attached file's
    // tables without the schema, so no table name may be in both files. Raises EDbiError
    // when the file is missing, is not a database, shares a table name or cannot take a
    // rollback journal; nothing stays attached then. Detach closes it again.
    void Attach(const std::string& posixFile, const std::string& schema);
    void Detach(const std::string& schema);

    bool ReadOnly() const { return readOnly_; }
    SqlDialect Dialect() const { return dialect_; }

private:
    void Run(const std::string& sql, DbiResult& result, bool rowsRequired = false);
    void RunPlain(const char* sql);
    [[noreturn]] void Fail(const AnsiString& context) const;

    sqlite3* db_ = nullptr;
    SqlDialect dialect_;
    bool readOnly_;
    StatementCache cache_;
};
