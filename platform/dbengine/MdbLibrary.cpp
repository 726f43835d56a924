#include "platform/dbengine/MdbLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace {

// The name the build found the library by (libmdb.so.3).
constexpr const char* kMdbLibraryName = VENDARO_MDB_LIBRARY;

struct Loaded {
    MdbLibrary library{};
    std::string problem;  // empty once every function was found
};

template <typename Function>
bool Resolve(void* handle, const char* name, Function& into, std::string& problem) {
    into = reinterpret_cast<Function>(dlsym(handle, name));
    if (!into && problem.empty())
        problem = std::string(kMdbLibraryName) + " has no " + name;
    return into != nullptr;
}

Loaded Load() {
    Loaded loaded;
    // Kept loaded for the rest of the program: its functions are held in the table.
    void* handle = dlopen(kMdbLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        loaded.problem = why ? why : std::string("cannot load ") + kMdbLibraryName;
        return loaded;
    }
    MdbLibrary& l = loaded.library;
    std::string& p = loaded.problem;
    Resolve(handle, "mdb_open_buffer", l.open_buffer, p);
    Resolve(handle, "mdb_close", l.close, p);
    Resolve(handle, "mdb_read_catalog", l.read_catalog, p);
    Resolve(handle, "mdb_is_user_table", l.is_user_table, p);
    Resolve(handle, "mdb_read_table", l.read_table, p);
    Resolve(handle, "mdb_read_columns", l.read_columns, p);
    Resolve(handle, "mdb_free_tabledef", l.free_tabledef, p);
    Resolve(handle, "mdb_bind_column", l.bind_column, p);
    Resolve(handle, "mdb_rewind_table", l.rewind_table, p);
    Resolve(handle, "mdb_fetch_row", l.fetch_row, p);
    Resolve(handle, "mdb_numeric_to_string", l.numeric_to_string, p);
    Resolve(handle, "mdb_col_to_string", l.col_to_string, p);
    Resolve(handle, "mdb_uuid_to_string", l.uuid_to_string, p);
    Resolve(handle, "mdb_ole_read_full", l.ole_read_full, p);
    // glib comes with libmdb: its g_free is found through the library's own dependencies.
    Resolve(handle, "g_free", l.free, p);
    return loaded;
}

} // namespace

const MdbLibrary* MdbLoad(std::string& problem) {
    static const Loaded loaded = Load();
    problem = loaded.problem;
    return loaded.problem.empty() ? &loaded.library : nullptr;
}
