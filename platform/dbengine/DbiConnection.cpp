#include "platform/dbengine/DbiConnection.h"
#include "platform/dbengine/AccessFileKind.h"
#include "platform/dbengine/LiteralParameters.h"

#include "platform/dbengine/DbiError.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/StrUtils.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace {

constexpr const char* kNoRowsMessage = "The statement returns no rows: it cannot be opened as a query";
constexpr const char* kGenuineAccessFile = "the file is a genuine Access file, which this engine reads but never writes";

// Up to this size the journal of a savepoint (one article inside a batch) lives in one block
// of memory, so writing an article costs neither file writes nor an allocation per page; a
// larger one goes to a temporary file, so memory stays bounded.
constexpr int kSavepointJournalInMemory = 256 * 1024;

// Opens an engine database for one thread's use. The engine keeps no count of its memory:
// nothing here asks for it, and the count takes a lock shared by the whole process on every
// allocation. The engine's settings are made before it starts; once started by another user
// in the process, it stays as that user left it.
int OpenEngineDatabase(const char* file, int flags, sqlite3** db)
{
    static const int configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) |
                                  sqlite3_config(SQLITE_CONFIG_STMTJRNL_SPILL, kSavepointJournalInMemory);
    (void)configured;
    return sqlite3_open_v2(file, db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
}

// After a statement that may change the tables, however it ends, the kept statements are
// forgotten: they would be described as the tables were when they were compiled.
struct ForgetStatementsAfter {
    StatementCache& cache;
    bool changes;
    ~ForgetStatementsAfter()
    {
        if (changes)
            cache.Invalidate();
    }
};

// Gives a statement back to the cache however its run ends, so it is ready for the next one.
struct LeaseGuard {
    StatementCache& cache;
    StatementCache::Lease lease;
    ~LeaseGuard() { cache.Release(lease); }
};

// How long the engine may read a bound text: only while the caller's values live (a
// statement run to its end before they go), or from a copy of its own.
enum class BoundText { Borrowed, Copied };

void BindLiterals(sqlite3_stmt* stmt, const std::vector<SqlLiteral>& values, BoundText bound)
{
    const sqlite3_destructor_type keep = bound == BoundText::Borrowed ? SQLITE_STATIC : SQLITE_TRANSIENT;
    int index = 1;
    for (const SqlLiteral& v : values) {
        switch (v.kind) {
        case SqlLiteral::Kind::Text:
            // Text without a NUL is bound by its terminator, so the engine keeps it
            // terminated and never copies it again when a check reads it as text.
            sqlite3_bind_text(stmt, index, v.text.c_str(),
                              v.text.find('\0') == std::string::npos ? -1 : static_cast<int>(v.text.size()), keep);
            break;
        case SqlLiteral::Kind::Integer: sqlite3_bind_int64(stmt, index, v.integer); break;
        case SqlLiteral::Kind::Real: sqlite3_bind_double(stmt, index, v.real); break;
        }
        ++index;
    }
}

// Reads the column's value into v, over whatever v held: a text keeps the storage of the
// text before it, so a walk that reads row after row into one row allocates little.
void ReadValue(sqlite3_stmt* stmt, int col, DbiValue& v)
{
    v.integer = 0;
    v.real = 0;
    std::string& text = v.text.str();
    text.clear();
    v.changedText.clear();
    switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_INTEGER:
        v.kind = DbiValue::Kind::Integer;
        v.integer = sqlite3_column_int64(stmt, col);
        break;
    case SQLITE_FLOAT:
        v.kind = DbiValue::Kind::Float;
        v.real = sqlite3_column_double(stmt, col);
        break;
    case SQLITE_TEXT: {
        v.kind = DbiValue::Kind::Text;
        const std::string_view utf8{reinterpret_cast<const char*>(sqlite3_column_text(stmt, col)),
                                    static_cast<std::size_t>(sqlite3_column_bytes(stmt, col))};
        // The caller learns what the code page could not hold, and has it still.
        if (!AppendUtf8AsAnsi(text, utf8))
            v.changedText.assign(utf8);
        break;
    }
    case SQLITE_BLOB: {
        v.kind = DbiValue::Kind::Blob;
        const void* bytes = sqlite3_column_blob(stmt, col);
        if (bytes)
            text.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)));
        break;
    }
    default:
        v.kind = DbiValue::Kind::Null;
        break;
    }
}

// An integer key declared with autoincrement reports its driver type.
bool IsAutoIncrement(sqlite3* db, sqlite3_stmt* stmt, int col)
{
    const char* table = sqlite3_column_table_name(stmt, col);
    const char* origin = sqlite3_column_origin_name(stmt, col);
    int autoinc = 0;
    return table && origin &&
           sqlite3_table_column_metadata(db, sqlite3_column_database_name(stmt, col), table, origin, nullptr,
                                         nullptr, nullptr, nullptr, &autoinc) == SQLITE_OK &&
           autoinc != 0;
}

// Reads the current row into `row`, reusing the values it held.
void ReadRow(sqlite3_stmt* stmt, int columns, DbiRow& row)
{
    row.resize(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c)
        ReadValue(stmt, c, row[static_cast<std::size_t>(c)]);
}

DbiRow ReadRow(sqlite3_stmt* stmt, int columns)
{
    DbiRow row;
    ReadRow(stmt, columns, row);
    return row;
}

DbiColumn DescribeColumn(sqlite3* db, sqlite3_stmt* stmt, int col)
{
    const char* declared = sqlite3_column_decltype(stmt, col);
    DbiColumn column = DescribeDeclaredType(Utf8ToAnsi(sqlite3_column_name(stmt, col)), declared ? declared : "");
    if (column.type == DbiFieldType::Integer && IsAutoIncrement(db, stmt, col))
        column.type = DbiFieldType::AutoInc;
    return column;
}

// The word is the upper-case keyword, in any case.
bool IsWord(std::string_view word, std::string_view keyword)
{
    if (word.size() != keyword.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(word[i])) != keyword[i])
            return false;
    return true;
}

// Statements after which the tables may not be what the kept statements were compiled for:
// those that define or drop tables, and the rollbacks that can take such a change back.
bool MayChangeTables(const std::string& engineSql)
{
    std::size_t at = 0;
    while (at < engineSql.size() && (engineSql[at] == ' ' || engineSql[at] == '\t' || engineSql[at] == '\r' ||
                                     engineSql[at] == '\n'))
        ++at;
    std::size_t end = at;
    while (end < engineSql.size() && std::isalpha(static_cast<unsigned char>(engineSql[end])))
        ++end;
    const std::string_view word = std::string_view(engineSql).substr(at, end - at);
    return IsWord(word, "CREATE") || IsWord(word, "ALTER") || IsWord(word, "DROP") || IsWord(word, "ROLLBACK");
}

std::vector<DbiColumn> DescribeColumns(sqlite3* db, sqlite3_stmt* stmt)
{
    std::vector<DbiColumn> columns;
    const int count = sqlite3_column_count(stmt);
    columns.reserve(static_cast<std::size_t>(count));
    for (int c = 0; c < count; ++c)
        columns.push_back(DescribeColumn(db, stmt, c));
    return columns;
}

// A computed column takes its type from its first value that is not null.
void TypeComputedColumns(DbiResult& result)
{
    for (std::size_t c = 0; c < result.columns.size(); ++c) {
        if (result.columns[c].type != DbiFieldType::Unknown)
            continue;
        for (const DbiRow& row : result.rows) {
            const DbiValue::Kind kind = row[c].kind;
            if (kind == DbiValue::Kind::Null)
                continue;
            result.columns[c].type = kind == DbiValue::Kind::Integer ? DbiFieldType::Integer
                                     : kind == DbiValue::Kind::Float ? DbiFieldType::Float
                                     : kind == DbiValue::Kind::Text  ? DbiFieldType::String
                                                                     : DbiFieldType::Blob;
            break;
        }
    }
}

} // namespace

DbiConnection::DbiConnection(const std::string& posixFile, SqlDialect dialect, bool readOnly, bool create,
                             const AnsiString& name)
    : file_(posixFile), name_(name.IsEmpty() ? Utf8ToAnsi(posixFile) : name), dialect_(dialect), readOnly_(readOnly)
{
    std::error_code ec;
    if (create && !std::filesystem::exists(posixFile, ec) && !ec) {
        // Nothing is made behind the caller's back: an empty stand-in answers until a
        // statement changes something.
        fileMissing_ = true;
        if (OpenEngineDatabase(":memory:", SQLITE_OPEN_READWRITE, &db_) != SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
            throw EDbiError("Cannot open database " + name_ + ": out of memory");
        }
        Configure();
        return;
    }
    OpenFile(false);
}

void DbiConnection::OpenFile(bool create)
{
    const int flags = readOnly_ ? SQLITE_OPEN_READONLY
                                : SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (OpenEngineDatabase(file_.c_str(), flags, &db_) != SQLITE_OK) {
        const AnsiString message = Utf8ToAnsi(sqlite3_errmsg(db_));
        const int code = sqlite3_extended_errcode(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDbiError("Cannot open database " + name_ + ": " + message, code);
    }
    try {
        Configure();
        RunPlain("SELECT count(*) FROM sqlite_master");
        // A file an earlier build left in write-ahead-log mode goes back to the rollback
        // journal, which folds the log into the file and removes it.
        if (!readOnly_) {
            DbiResult mode;
            Run(ParameterizedSql{"PRAGMA journal_mode", {}}, mode);
            if (!mode.rows.empty() && mode.rows[0][0].kind == DbiValue::Kind::Text &&
                SameText(mode.rows[0][0].text, "wal"))
                RunPlain("PRAGMA journal_mode=DELETE");
        }
    } catch (const EDbiError& e) {
        cache_.Clear();
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDbiError("Cannot open database " + name_ + ": " + e.Message(), e.NativeCode());
    }
}

void DbiConnection::Configure()
{
    // Double-quoted text is always a name: a misspelt column is an error, not a string.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // A lock another program holds on the file (a short write of another tool) is waited
    // for this long before the engine's error.
    sqlite3_busy_timeout(db_, kLockWaitMilliseconds);
}

// A transaction on a file that can be written takes the write lock at its start, waiting
// for it as long as for any lock; begun later, at its first write after a read, a lock
// held elsewhere would fail at once.
const char* DbiConnection::BeginStatement() const { return readOnly_ || source_ ? "BEGIN" : "BEGIN IMMEDIATE"; }

void DbiConnection::CreateFileIfChanging(std::span<const std::string> engineSql, bool rowsRequired)
{
    if (!fileMissing_)
        return;
    for (const std::string& sql : engineSql) {
        // Preparing on the empty stand-in raises the engine's own error for a missing table.
        sqlite3_stmt* stmt = cache_.Prepare(db_, sql);
        if (sqlite3_stmt_readonly(stmt))
            continue;
        if (rowsRequired && sqlite3_column_count(stmt) == 0)
            throw EDbiError(kNoRowsMessage);
        if (readOnly_)
            throw EDbiError("attempt to write a readonly database", SQLITE_READONLY);
        SettleCursors();
        const bool inTransaction = InTransaction();
        cache_.Clear();
        sqlite3_close(db_);
        db_ = nullptr;
        fileMissing_ = false;
        OpenFile(true);
        if (inTransaction)
            RunPlain(BeginStatement());
        return;
    }
}

DbiConnection::DbiConnection(std::unique_ptr<DbiTableSource> source, SqlDialect dialect)
    : dialect_(dialect), readOnly_(true), source_(std::move(source))
{
    if (OpenEngineDatabase(":memory:", SQLITE_OPEN_READWRITE, &db_) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw EDbiError("Cannot open an engine database in memory");
    }
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // Nothing may reach a file from here: no attached databases.
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
}

DbiConnection::~DbiConnection()
{
    SettleCursors();
    cache_.Clear();
    sqlite3_close(db_);
}

void DbiConnection::Fail(const AnsiString& context) const
{
    const AnsiString message = Utf8ToAnsi(sqlite3_errmsg(db_));
    throw EDbiError(context.IsEmpty() ? message : context + ": " + message, sqlite3_extended_errcode(db_));
}

void DbiConnection::RunPlain(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("");
}

void DbiConnection::Run(const ParameterizedSql& statement, DbiResult& result, bool rowsRequired)
{
    if (source_)
        source_->BeforeStatement(db_, statement.sql);
    LeaseGuard guard{cache_, cache_.Acquire(db_, statement.sql)};
    sqlite3_stmt* stmt = guard.lease.stmt;
    if (source_)
        source_->CheckCompiled(stmt);
    if (!sqlite3_stmt_readonly(stmt))
        SettleCursors();
    // The statement runs to its end here and is reset before the values go.
    BindLiterals(stmt, statement.values, BoundText::Borrowed);
    const int columns = sqlite3_column_count(stmt);
    if (rowsRequired && columns == 0)
        throw EDbiError(kNoRowsMessage);
    result.columns = cache_.Columns(guard.lease, [&] { return DescribeColumns(db_, stmt); });
    const sqlite3_int64 changesBefore = sqlite3_total_changes64(db_);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        result.rows.push_back(ReadRow(stmt, columns));
    if (rc != SQLITE_DONE)
        Fail("");
    // Counted from the connection's running total, so a table change after a row change
    // reports no rows.
    result.rowsAffected += static_cast<int>(sqlite3_total_changes64(db_) - changesBefore);
    TypeComputedColumns(result);
}

DbiResult DbiConnection::Execute(const AnsiString& sql)
{
    SettleCursors();
    std::vector<std::string> statements;
    const ParameterizedSql single = translations_.Translate(sql, dialect_, statements);
    DbiResult result;
    if (statements.empty()) {
        CreateFileIfChanging({&single.sql, 1});
        ForgetStatementsAfter forget{cache_, MayChangeTables(single.sql)};
        Run(single, result);
        return result;
    }
    std::vector<ParameterizedSql> parts;
    std::vector<std::string> engineSql;
    for (const std::string& s : statements) {
        parts.push_back(ParameterizeLiterals(s));
        engineSql.push_back(parts.back().sql);
    }
    CreateFileIfChanging(engineSql);
    ForgetStatementsAfter forget{cache_, std::any_of(engineSql.begin(), engineSql.end(), MayChangeTables)};
    RunPlain("SAVEPOINT dbi_statement");
    try {
        for (const ParameterizedSql& part : parts)
            Run(part, result);
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK TO dbi_statement; RELEASE dbi_statement", nullptr, nullptr, nullptr);
        throw;
    }
    RunPlain("RELEASE dbi_statement");
    return result;
}

DbiResult DbiConnection::Open(const AnsiString& sql)
{
    std::vector<std::string> statements;
    const ParameterizedSql single = translations_.Translate(sql, dialect_, statements);
    if (!statements.empty())
        throw EDbiError(kNoRowsMessage);
    CreateFileIfChanging({&single.sql, 1}, true);
    DbiResult result;
    Run(single, result, true);
    return result;
}

void DbiConnection::StartTransaction()
{
    SettleCursors();
    if (InTransaction())
        throw EDbiError("A transaction is already active");
    RunPlain(BeginStatement());
}

void DbiConnection::Commit()
{
    SettleCursors();
    if (!InTransaction())
        throw EDbiError("No transaction is active");
    RunPlain("COMMIT");
}

void DbiConnection::Rollback()
{
    SettleCursors();
    if (!InTransaction())
        throw EDbiError("No transaction is active");
    ForgetStatementsAfter forget{cache_, true};
    RunPlain("ROLLBACK");
}

namespace {

std::string QuotedSchema(const std::string& schema)
{
    std::string out = "\"";
    for (char c : schema) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

} // namespace

void DbiConnection::Attach(const std::string& posixFile, const std::string& schema)
{
    const AnsiString context = "Cannot attach database " + Utf8ToAnsi(posixFile);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(posixFile, ec))
        throw EDbiError(context + ": the file does not exist");
    if (AccessFileKindOf(posixFile) == AccessFileKind::Jet)
        throw EDbiError(context + ": " + kGenuineAccessFile);
    if (InTransaction())
        throw EDbiError(context + ": a transaction is active");
    // A connection still waiting for its first change has no file that one commit could
    // cover, and making it now would write behind the caller's back.
    if (fileMissing_)
        throw EDbiError(context + ": the database " + name_ + " does not exist");
    const std::string name = QuotedSchema(schema);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, ("ATTACH DATABASE ? AS " + name).c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        Fail(context);
    sqlite3_bind_text(stmt, 1, posixFile.c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        Fail(context);
    auto refuse = [&](const AnsiString& why) {
        sqlite3_exec(db_, ("DETACH DATABASE " + name).c_str(), nullptr, nullptr, nullptr);
        throw EDbiError(context + ": " + why);
    };
    try {
        // Reading its schema tells a database from any other file.
        Execute(AnsiString(("SELECT count(*) FROM " + name + ".sqlite_master").c_str()));
    } catch (const EDbiError& e) {
        refuse(e.Message());
    }
    // A write-ahead log commits each file on its own; a rollback journal lets the engine
    // commit both at once.
    for (const std::string& s : {std::string("main"), name}) {
        AnsiString value;
        try {
            DbiResult mode = Execute(AnsiString(("PRAGMA " + s + ".journal_mode").c_str()));
            value = mode.rows.empty() ? AnsiString() : mode.rows.front().front().text;
            if (SameText(value, "wal")) {
                mode = Execute(AnsiString(("PRAGMA " + s + ".journal_mode=DELETE").c_str()));
                value = mode.rows.empty() ? AnsiString() : mode.rows.front().front().text;
            }
        } catch (const EDbiError& e) {
            refuse(e.Message());
        }
        if (!SameText(value, "delete") && !SameText(value, "truncate") && !SameText(value, "persist"))
            refuse("one commit cannot cover both files with the journal mode " + value);
    }
}

void DbiConnection::Detach(const std::string& schema)
{
    cache_.Clear();
    RunPlain(("DETACH DATABASE " + QuotedSchema(schema)).c_str());
}

bool DbiConnection::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

std::unique_ptr<DbiCursor> DbiConnection::OpenCursor(const AnsiString& sql)
{
    std::vector<std::string> statements;
    const ParameterizedSql single = translations_.Translate(sql, dialect_, statements);
    if (!statements.empty())
        throw EDbiError(kNoRowsMessage);
    CreateFileIfChanging({&single.sql, 1}, true);
    if (source_)
        source_->BeforeStatement(db_, single.sql);
    LeaseGuard guard{cache_, cache_.Acquire(db_, single.sql)};
    sqlite3_stmt* stmt = guard.lease.stmt;
    if (source_)
        source_->CheckCompiled(stmt);
    const int columns = sqlite3_column_count(stmt);
    if (columns == 0)
        throw EDbiError(kNoRowsMessage);
    BindLiterals(stmt, single.values, BoundText::Copied); // the cursor outlives 'single'
    std::unique_ptr<DbiCursor> cursor(new DbiCursor);
    cursor->columns_ = cache_.Columns(guard.lease, [&] { return DescribeColumns(db_, stmt); });
    bool computed = false;
    for (const DbiColumn& column : cursor->columns_)
        computed = computed || column.type == DbiFieldType::Unknown;
    if (!sqlite3_stmt_readonly(stmt) || computed) {
        // A statement that writes runs through at once, as one that returns no rows does;
        // a computed column needs every value to find its type.
        if (!sqlite3_stmt_readonly(stmt))
            SettleCursors();
        DbiResult result;
        result.columns = std::move(cursor->columns_);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            result.rows.push_back(ReadRow(stmt, columns));
        if (rc != SQLITE_DONE)
            Fail("");
        TypeComputedColumns(result);
        return std::make_unique<DbiCursor>(std::move(result));
    }
    cursor->lease_ = guard.lease;
    guard.lease = {};
    cursor->connection_ = this;
    cursors_.push_back(cursor.get());
    return cursor;
}

void DbiConnection::SettleCursors()
{
    while (!cursors_.empty())
        cursors_.back()->ReadRest();
}

// ---------------------------------------------------------------------------------------
// DbiCursor

DbiCursor::DbiCursor(DbiResult result) : columns_(std::move(result.columns)), held_(std::move(result.rows)) {}

DbiCursor::~DbiCursor() { Finish(); }

void DbiCursor::Finish()
{
    if (!connection_)
        return;
    DbiConnection* connection = connection_;
    connection_ = nullptr;
    connection->cache_.Release(lease_);
    lease_ = {};
    auto& open = connection->cursors_;
    for (auto it = open.begin(); it != open.end(); ++it)
        if (*it == this) {
            open.erase(it);
            break;
        }
}

bool DbiCursor::Step(DbiRow& row)
{
    sqlite3_stmt* stmt = lease_.stmt;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        ReadRow(stmt, static_cast<int>(columns_.size()), row);
        return true;
    }
    if (rc != SQLITE_DONE) {
        sqlite3* db = sqlite3_db_handle(stmt);
        failed_ = true;
        failure_ = Utf8ToAnsi(sqlite3_errmsg(db));
        failureCode_ = sqlite3_extended_errcode(db);
    }
    Finish();
    return false;
}

void DbiCursor::ReadRest()
{
    if (heldNext_ > 0) {
        held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(heldNext_));
        heldNext_ = 0;
    }
    DbiRow row;
    while (connection_ && Step(row))
        held_.push_back(std::move(row));
}

bool DbiCursor::Fetch(DbiRow& row)
{
    if (heldNext_ < held_.size()) {
        row = std::move(held_[heldNext_++]);
        if (heldNext_ == held_.size()) {
            held_.clear();
            heldNext_ = 0;
        }
        return true;
    }
    if (connection_ && Step(row))
        return true;
    if (failed_) {
        failed_ = false;
        throw EDbiError(failure_, failureCode_);
    }
    return false;
}
