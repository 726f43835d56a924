// Prepared statements of one connection, kept by their text so a statement that runs again
// (a look-up in a loop, a warehouse walk) is not compiled again. The least recently used
// statement leaves when the cache is full.
#pragma once

#include "platform/dbengine/DbiResult.h"

#include <cstddef>
#include <functional>
#include <list>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

class StatementCache {
    struct Entry;

public:
    explicit StatementCache(std::size_t capacity = 64) : capacity_(capacity) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The prepared, reset statement for the text; raises EDbiError when it does not compile
    // or when text follows the statement.
    sqlite3_stmt* Prepare(sqlite3* db, const std::string& sql);
    // The statement for the text, reserved for one run until Release: a cached one that is
    // free, else (its text is busy in an open cursor) a fresh one of the caller's own, so
    // a walk never has its statement reset under it.
    struct Lease {
        sqlite3_stmt* stmt = nullptr;
        bool owned = false;
        Entry* entry = nullptr;  // the cached statement's entry, marked busy while out
    };
    Lease Acquire(sqlite3* db, const std::string& sql);
    // The statement's column descriptions: those kept with a cached statement, made again
    // by `describe` when it is new or the engine has compiled it again since (a schema
    // change); a fresh statement of the caller's own is always described.
    std::vector<DbiColumn> Columns(const Lease& lease, const std::function<std::vector<DbiColumn>()>& describe);
    // Resets the statement for its next run (a fresh one is finalised).
    void Release(const Lease& lease);
    // Forgets every statement, after the schema changed under them: those out on lease are
    // finalised when they come back, so no later run describes a table as it was.
    void Invalidate();
    // Finalises every statement (before the connection closes; no lease may be out).
    void Clear();
    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        std::string sql;
        sqlite3_stmt* stmt = nullptr;
        bool busy = false;
        bool stale = false;  // forgotten while out on lease: finalised when it comes back
        bool described = false;
        int describedAt = 0;  // the engine's count of recompilations when it was described
        std::vector<DbiColumn> columns;
    };
    std::size_t capacity_;
    std::list<Entry> entries_; // most recent first
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};
