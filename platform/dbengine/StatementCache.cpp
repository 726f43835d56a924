#include "platform/dbengine/StatementCache.h"

#include "platform/dbengine/DbiError.h"
#include "platform/rtl/CodePage.h"

#include <sqlite3.h>

namespace {

bool OnlyBlanks(const char* tail, const char* end)
{
    for (; tail < end; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';')
            return false;
    return true;
}

sqlite3_stmt* Compile(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt, &tail);
    if (rc != SQLITE_OK)
        throw EDbiError(Utf8ToAnsi(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
    if (stmt == nullptr || !OnlyBlanks(tail, sql.data() + sql.size())) {
        sqlite3_finalize(stmt);
        throw EDbiError(stmt ? "Only one statement can be run at a time: text follows the first statement"
                             : "The statement is empty");
    }
    return stmt;
}

} // namespace

StatementCache::~StatementCache() { Clear(); }

sqlite3_stmt* StatementCache::Prepare(sqlite3* db, const std::string& sql)
{
    auto found = index_.find(sql);
    if (found != index_.end()) {
        entries_.splice(entries_.begin(), entries_, found->second);
        return found->second->stmt;
    }
    sqlite3_stmt* stmt = Compile(db, sql);
    if (entries_.size() >= capacity_) {
        // A statement out on lease stays until it comes back.
        for (auto it = entries_.end(); it != entries_.begin();) {
            --it;
            if (!it->busy) {
                index_.erase(it->sql);
                sqlite3_finalize(it->stmt);
                entries_.erase(it);
                break;
            }
        }
    }
    entries_.emplace_front();
    entries_.front().sql = sql;
    entries_.front().stmt = stmt;
    index_[sql] = entries_.begin();
    return stmt;
}

StatementCache::Lease StatementCache::Acquire(sqlite3* db, const std::string& sql)
{
    if (auto found = index_.find(sql); found != index_.end()) {
        Entry& entry = *found->second;
        if (entry.busy)
            return {Compile(db, sql), true, nullptr};
        entries_.splice(entries_.begin(), entries_, found->second);
        entry.busy = true;
        return {entry.stmt, false, &entry};
    }
    sqlite3_stmt* stmt = Prepare(db, sql);
    // A new statement stands first; entries never move in memory while they are out.
    Entry& entry = entries_.front();
    entry.busy = true;
    return {stmt, false, &entry};
}

std::vector<DbiColumn> StatementCache::Columns(const Lease& lease,
                                               const std::function<std::vector<DbiColumn>()>& describe)
{
    if (!lease.entry)
        return describe();
    Entry& entry = *lease.entry;
    const int compiled = sqlite3_stmt_status(lease.stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    if (!entry.described || entry.describedAt != compiled) {
        entry.columns = describe();
        entry.described = true;
        entry.describedAt = compiled;
    }
    return entry.columns;
}

void StatementCache::Release(const Lease& lease)
{
    if (!lease.stmt)
        return;
    if (lease.owned) {
        sqlite3_finalize(lease.stmt);
        return;
    }
    if (lease.entry->stale) {
        sqlite3_finalize(lease.stmt);
        entries_.remove_if([&](const Entry& e) { return &e == lease.entry; });
        return;
    }
    sqlite3_reset(lease.stmt);
    sqlite3_clear_bindings(lease.stmt);
    lease.entry->busy = false;
}

void StatementCache::Invalidate()
{
    index_.clear();
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->busy) {
            it->stale = true;
            ++it;
        } else {
            sqlite3_finalize(it->stmt);
            it = entries_.erase(it);
        }
    }
}

void StatementCache::Clear()
{
    for (Entry& e : entries_)
        sqlite3_finalize(e.stmt);
    entries_.clear();
    index_.clear();
}
