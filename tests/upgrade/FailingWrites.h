// Makes one write of the SQL engine fail, as a full disk or a failing device would: the
// first write to a file whose name ends in `fileSuffix` (or in that plus "-wal") that
// carries `marker` in its bytes. The engine's default file layer is wrapped while the
// object lives.
#pragma once

#include <sqlite3.h>

#include <cstring>
#include <map>
#include <string>
#include <string_view>

class FailingWrites {
public:
    FailingWrites(std::string fileSuffix, std::string marker)
    {
        self_ = this;
        suffix_ = std::move(fileSuffix);
        marker_ = std::move(marker);
        real_ = sqlite3_vfs_find(nullptr);
        shim_ = *real_;
        shim_.zName = "vendaro-failing-writes";
        shim_.xOpen = &Open;
        sqlite3_vfs_register(&shim_, 1);
    }
    ~FailingWrites()
    {
        sqlite3_vfs_unregister(&shim_);
        sqlite3_vfs_register(real_, 1);
        self_ = nullptr;
    }
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    // Whether the write has failed.
    bool Failed() const { return failed_; }

private:
    static bool EndsWith(const std::string& s, const std::string& tail)
    {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    }

    static int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
    {
        FailingWrites& me = *self_;
        const int rc = me.real_->xOpen(me.real_, name, file, flags, outFlags);
        if (rc != SQLITE_OK || !file->pMethods || !name)
            return rc;
        // Database files and journals may use different method tables: each gets a copy
        // with the write and close hooks.
        const sqlite3_io_methods* original = file->pMethods;
        auto [copy, added] = me.copies_.try_emplace(original, *original);
        if (added) {
            copy->second.xWrite = &Write;
            copy->second.xClose = &Close;
        }
        file->pMethods = &copy->second;
        const std::string path = name;
        me.files_[file] = {original, EndsWith(path, me.suffix_) || EndsWith(path, me.suffix_ + "-wal")};
        return rc;
    }

    static int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
    {
        FailingWrites& me = *self_;
        const Watched& watched = me.files_.at(file);
        if (!me.failed_ && watched.failing) {
            const char* bytes = static_cast<const char*>(data);
            const std::string_view view(bytes, static_cast<std::size_t>(amount));
            if (view.find(me.marker_) != std::string_view::npos) {
                me.failed_ = true;
                return SQLITE_IOERR_WRITE;
            }
        }
        return watched.methods->xWrite(file, data, amount, offset);
    }

    static int Close(sqlite3_file* file)
    {
        FailingWrites& me = *self_;
        const sqlite3_io_methods* original = me.files_.at(file).methods;
        me.files_.erase(file);
        return original->xClose(file);
    }

    static inline FailingWrites* self_ = nullptr;
    sqlite3_vfs* real_ = nullptr;
    sqlite3_vfs shim_{};
    struct Watched {
        const sqlite3_io_methods* methods; // the engine's own
        bool failing;                      // a file of the database whose write may fail
    };
    std::map<const sqlite3_io_methods*, sqlite3_io_methods> copies_;
    std::map<sqlite3_file*, Watched> files_;
    std::string suffix_;
    std::string marker_;
    bool failed_ = false;
};
