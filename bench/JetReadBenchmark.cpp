// Genuine Access benchmark: opens a Jet file through the "MSACCESS" driver and reads every
// row and field of one table (as the import reads them, as text), against mdb-export of the
// same table to /dev/null, the floor of reading that table through libmdb. Each side runs
// the given number of times; prints both times and their ratio.
//
//   jet-read-benchmark [file [table [runs]]]
//   (default: the shared Northwind sample and its largest table, "Order Details", 20 runs)
#include "platform/classlib/DBTables.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string ShellQuoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

long ReadTable(const std::string& file, const std::string& table)
{
    TDatabase db(nullptr);
    db.SetDatabaseName("JetBench");
    db.SetDriverName("MSACCESS");
    db.SetReadOnly(true);
    db.Params()->Add(AnsiString("DATABASE NAME=" + file));
    TQuery query(nullptr);
    query.SetDatabaseName("JetBench");
    query.SQL()->Add(AnsiString("select * from [" + table + "]"));
    query.Open();
    long bytes = 0;
    for (query.First(); !query.Eof(); query.Next())
        for (int f = 0; f < query.FieldCount(); ++f)
            bytes += query.Fields(f)->AsString().Length();
    query.Close();
    db.Close();
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string file =
        argc > 1 ? argv[1] : (std::filesystem::path(VENDARO_SOURCE_DIR) / ".." / "shared" / "jet" / "nwind.mdb").string();
    const std::string table = argc > 2 ? argv[2] : "Order Details";
    const int runs = argc > 3 ? std::atoi(argv[3]) : 20;
    if (!std::filesystem::is_regular_file(file)) {
        std::fprintf(stderr, "no such file: %s\n", file.c_str());
        return 1;
    }
    try {
        long bytes = 0;
        const auto engineStart = Clock::now();
        for (int i = 0; i < runs; ++i)
            bytes = ReadTable(file, table);
        const double engine = Seconds(engineStart);

        const std::string command = "mdb-export " + ShellQuoted(file) + " " + ShellQuoted(table) + " > /dev/null";
        const auto exportStart = Clock::now();
        for (int i = 0; i < runs; ++i)
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "mdb-export failed: %s\n", command.c_str());
                return 1;
            }
        const double floor = Seconds(exportStart);

        std::printf("table %s of %s, %d runs, %ld bytes of text per run\n", table.c_str(), file.c_str(), runs, bytes);
        std::printf("engine open + read: %.2f ms per run\n", engine * 1000 / runs);
        std::printf("mdb-export:         %.2f ms per run\n", floor * 1000 / runs);
        std::printf("ratio: %.2f\n", engine / floor);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
