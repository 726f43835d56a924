#include "platform/dbengine/MdbLibrary.h"

#include "platform/rtl/CodePage.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sstream>
#include <vector>

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

namespace {

// The capture of the outermost MdbMessages: libmdb writes through the C library's stderr
// stream, which points at a stream in memory meanwhile.
struct Capture {
    int depth = 0;
    FILE* saved = nullptr;
    FILE* stream = nullptr;
    char* buffer = nullptr;
    std::size_t size = 0;
};

Capture& TheCapture() {
    static Capture capture;
    return capture;
}

constexpr std::size_t kMessagesShown = 3;

} // namespace

MdbMessages::MdbMessages() {
    Capture& c = TheCapture();
    if (c.depth++ > 0)
        return;
    std::fflush(stderr);
    c.stream = open_memstream(&c.buffer, &c.size);
    if (c.stream) {
        c.saved = stderr;
        stderr = c.stream;
    }
}

MdbMessages::~MdbMessages() {
    Capture& c = TheCapture();
    if (--c.depth > 0 || !c.stream)
        return;
    stderr = c.saved;
    std::fclose(c.stream);
    std::free(c.buffer);
    c = Capture{};
}

std::string MdbMessages::Text() const {
    const Capture& c = TheCapture();
    if (!c.stream)
        return std::string();
    std::fflush(c.stream);
    return std::string(c.buffer, c.size);
}

EDbiError MdbMessages::Added(const EDbiError& error) const {
    std::vector<std::string> lines;
    std::size_t count = 0;
    std::istringstream in(Text());
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '.'))
            line.pop_back();
        if (line.empty())
            continue;
        ++count;
        if (lines.size() < kMessagesShown && std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(line);
    }
    if (lines.empty())
        return error;
    std::string said;
    for (const std::string& line : lines)
        said += (said.empty() ? "" : "; ") + line;
    if (count > lines.size())
        said += "; and " + std::to_string(count - lines.size()) + " more";
    return EDbiError(error.Message() + " (the Access library reported: " + Utf8ToAnsi(said) + ")", error.NativeCode());
}
