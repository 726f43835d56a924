// libmdb (mdbtools), loaded when the first genuine Access file is opened: a program that
// never reads one does not load it, nor glib and pcre2 behind it, at every start.
#pragma once

// libmdb's header includes these inside its C block; C++ needs them outside first.
#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

#include "platform/dbengine/DbiError.h"

#include <string>

struct MdbLibrary {
    decltype(&mdb_open_buffer) open_buffer;
    decltype(&mdb_close) close;
    decltype(&mdb_read_catalog) read_catalog;
    decltype(&mdb_is_user_table) is_user_table;
    decltype(&mdb_read_table) read_table;
    decltype(&mdb_read_columns) read_columns;
    decltype(&mdb_free_tabledef) free_tabledef;
    decltype(&mdb_bind_column) bind_column;
    decltype(&mdb_rewind_table) rewind_table;
    decltype(&mdb_fetch_row) fetch_row;
    decltype(&mdb_numeric_to_string) numeric_to_string;
    decltype(&mdb_col_to_string) col_to_string;
    decltype(&mdb_uuid_to_string) uuid_to_string;
    decltype(&mdb_ole_read_full) ole_read_full;
    decltype(&g_free) free;  // for the strings the library hands out
};

// The library, loaded on the first call; null when it cannot be loaded, with `problem` saying why.
const MdbLibrary* MdbLoad(std::string& problem);

// What libmdb writes on standard error while one of these lives is kept off the terminal
// (libmdb reports a page it cannot read there, and goes on); the engine adds it to the
// error it raises. They nest: the outermost one collects.
class MdbMessages {
public:
    MdbMessages();
    ~MdbMessages();
    MdbMessages(const MdbMessages&) = delete;
    MdbMessages& operator=(const MdbMessages&) = delete;

    // The error with what libmdb wrote added to its text, when it wrote anything.
    EDbiError Added(const EDbiError& error) const;

private:
    std::string Text() const;
};
