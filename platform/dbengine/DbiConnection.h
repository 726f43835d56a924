// One open database of a driver: runs statements of the driver's dialect and keeps the
// transaction state. Statements outside a transaction commit on their own.
#pragma once

#include "platform/dbengine/DbiResult.h"
#include "platform/dbengine/SqlDialect.h"
#include "platform/dbengine/StatementCache.h"
#include "platform/dbengine/TranslationCache.h"

#include <memory>
#include <string>
#include <vector>

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
    // Opens the engine file. With 'create', a missing file is not made at once: the
    // connection starts with no tables (a statement on a table gets the engine's
    // table-not-found error) and the file is made by the first statement that changes
    // something (refused on a read-only connection). Raises EDbiError with the engine's
    // message when the file cannot be opened or is not a database; messages name the file
    // by 'name' (the caller's own form of the path), or by the host path when it is empty.
    // Changes go through a rollback journal, so every committed change is in the file
    // itself and no side file stays beside it; opening writes nothing.
    DbiConnection(const std::string& posixFile, SqlDialect dialect, bool readOnly, bool create,
                  const AnsiString& name = AnsiString());
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
    void OpenFile(bool create);
    void Configure();
    // Makes the missing file when one of the statements (engine text, literals lifted)
    // would change something.
    void CreateFileIfChanging(const std::vector<std::string>& engineSql, bool rowsRequired = false);
    void Run(const ParameterizedSql& statement, DbiResult& result, bool rowsRequired = false);
    void RunPlain(const char* sql);
    [[noreturn]] void Fail(const AnsiString& context) const;

    sqlite3* db_ = nullptr;
    std::string file_;
    AnsiString name_;
    bool fileMissing_ = false; // db_ is an empty in-memory stand-in until the file is made
    SqlDialect dialect_;
    bool readOnly_;
    StatementCache cache_;
    TranslationCache translations_;
    std::unique_ptr<DbiTableSource> source_;
};
