// One open database of a driver: runs statements of the driver's dialect and keeps the
// transaction state. Statements outside a transaction commit on their own.
#pragma once

#include "platform/dbengine/DbiResult.h"
#include "platform/dbengine/SqlDialect.h"
#include "platform/dbengine/StatementCache.h"

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// Tables an in-memory engine database takes from a file of another format (a genuine
// Access file): the connection asks the source before each statement compiles, so the
// tables the statement names are there, and again once it compiled, so a statement that
// would write is refused.
class DbiTableSource {
public:
    virtual ~DbiTableSource() = default;
    // 'sql' is the engine's statement (UTF-8). Raises EDbiError to refuse it.
    virtual void BeforeStatement(sqlite3* db, const std::string& sql) = 0;
    virtual void CheckCompiled(sqlite3_stmt* stmt) = 0;
};

class DbiConnection {
public:
    // Opens the engine file; 'create' makes it when missing (never for a read-only opening).
    // Raises EDbiError with the engine's message when the file cannot be opened or is not
    // a database.
    DbiConnection(const std::string& posixFile, SqlDialect dialect, bool readOnly, bool create);
    // A read-only connection to an engine database in memory whose tables come from the
    // source, on first use.
    DbiConnection(std::unique_ptr<DbiTableSource> source, SqlDialect dialect);
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
    std::unique_ptr<DbiTableSource> source_;
};
