// One open database of a driver: runs statements of the driver's dialect and keeps the
// transaction state. Statements outside a transaction commit on their own.
#pragma once

#include "platform/dbengine/DbiResult.h"
#include "platform/dbengine/SqlDialect.h"
#include "platform/dbengine/StatementCache.h"
#include "platform/dbengine/TranslationCache.h"

#include <memory>
#include <span>
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

class DbiConnection;

// Rows of an open statement read as they are visited, so a long walk holds one row at a
// time. The rows are those the statement would have given at once: before anything on the
// connection writes, ends a transaction or reopens, every open cursor reads the rest of its
// rows, so what it gives is never touched by what runs after it opened. A cursor whose
// columns take their type from their values, or whose connection closed, holds its rows.
class DbiCursor {
public:
    // A cursor over rows already read.
    explicit DbiCursor(DbiResult result);
    ~DbiCursor();
    DbiCursor(const DbiCursor&) = delete;
    DbiCursor& operator=(const DbiCursor&) = delete;

    const std::vector<DbiColumn>& Columns() const { return columns_; }
    // The next row; false after the last. Raises EDbiError when the engine fails on it.
    bool Fetch(DbiRow& row);

private:
    friend class DbiConnection;
    DbiCursor() = default;
    // Reads every remaining row and gives the statement back.
    void ReadRest();
    bool Step(DbiRow& row);
    void Finish();

    std::vector<DbiColumn> columns_;
    std::vector<DbiRow> held_; // rows read ahead, from heldNext_ on
    std::size_t heldNext_ = 0;
    DbiConnection* connection_ = nullptr;
    StatementCache::Lease lease_;
    bool failed_ = false;
    AnsiString failure_;
    int failureCode_ = 0;
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
    // As Open, with the rows read as the cursor is walked. The cursor must not outlive the
    // connection's use; when the connection closes first, the cursor keeps its rows.
    std::unique_ptr<DbiCursor> OpenCursor(const AnsiString& sql);

    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // Opens a second engine file in this connection under the schema name, so that one
    // transaction covers both and commits all or nothing (both files get a rollback journal,
    // which the engine commits atomically across files). Statements name the attached file's
    // tables through the schema ("report.[DDT-Intestazione]"): a name without it finds this
    // connection's own table first, so the two files may hold tables of the same name.
    // Raises EDbiError when the file is missing, is a genuine Access file (only ever read),
    // is not a database or cannot take a rollback journal; nothing stays attached then.
    // Detach closes it again.
    void Attach(const std::string& posixFile, const std::string& schema);
    void Detach(const std::string& schema);

    bool ReadOnly() const { return readOnly_; }
    SqlDialect Dialect() const { return dialect_; }

    // How long a statement waits for a lock that another program holds on the file.
    static constexpr int kLockWaitMilliseconds = 5000;

private:
    friend class DbiCursor;
    // Open cursors read their remaining rows before the connection changes anything.
    void SettleCursors();
    void OpenFile(bool create);
    void Configure();
    const char* BeginStatement() const;
    // Makes the missing file when one of the statements (engine text, literals lifted)
    // would change something.
    void CreateFileIfChanging(std::span<const std::string> engineSql, bool rowsRequired = false);
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
    std::vector<DbiCursor*> cursors_; // open cursors still stepping their statement
};
