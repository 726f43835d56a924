// Import benchmark: Importa's dialog imports a generated source (N rows in each registry
// category and N articles, against three warehouses and two price lists) into an empty
// sample target; the same target rows are then written again into a second empty target
// with one prepared statement per table inside one transaction, the floor any import of
// those rows could reach. Prints both rates and their ratio.
//
//   import-benchmark [N]      (default 10000)
//   import-benchmark --memory [N]
//                             peak resident memory of the import alone (in a child
//                             process, after the source is made) at N/10 and at N rows:
//                             the import reads its source row by row, so the two match.
#include "bench/BenchTiming.h"
#include "importa/Unit1.h"
#include "importa/UnitInitialization.h"
#include "platform/rtl/Files.h"
#include "platform/win/user/Dialogs.h"
#include "tools/samples/SampleData.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const kTargetTables[] = {"clienti",    "fornitori", "collaboratori", "vettori",     "rappresentanti",
                                     "consulenti", "articoli",  "giacenze",      "righelistino"};

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

void Check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

sqlite3* OpenFile(const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    return db;
}

// Runs the import through the dialog; answers every box OK and counts them.
double ImportThroughTheDialog(const std::string& folder, int& boxes)
{
    SetCurrentDir(AnsiString(folder));
    UserSetMessageBoxResponder([&boxes](const MessageBoxRequest&) {
        ++boxes;
        return IDOK;
    });
    InitializeUnits();
    Application->SetTitle("ProceduraImportazione");
    Application->CreateForm(Form1);
    Form1->Show();
    Form1->Edit1->SetTextProperty(AnsiString(folder + "/dbVendaroBase4.mdb"));
    Form1->OBLButton3Click(Form1->OBLButton3);
    if (!Form1->Database2->Connected())
        throw std::runtime_error("the source does not connect");
    for (TCheckBox* box : {Form1->CheckBox1, Form1->CheckBox2, Form1->CheckBox3, Form1->CheckBox6, Form1->CheckBox7,
                           Form1->CheckBox8, Form1->CheckBox4})
        box->SetChecked(true);
    const Clock::time_point start = Clock::now();
    Form1->OBLButton1Click(Form1->OBLButton1);
    const double seconds = Seconds(start);
    const bool finished = Form1->ListBox1->Items()->Count() > 0 &&
                          Form1->ListBox1->Items()->Strings(Form1->ListBox1->Items()->Count() - 1) == "Terminato";
    FinalizeUnits();
    if (!finished)
        throw std::runtime_error("the import did not finish");
    return seconds;
}

// Copies every row of the imported tables into the empty target with prepared
// statements in one transaction; answers the seconds and adds the rows.
double BulkInsert(const std::string& imported, const std::string& empty, long long& rows)
{
    sqlite3* from = OpenFile(imported);
    sqlite3* to = OpenFile(empty);
    std::vector<std::vector<std::vector<std::string>>> data; // per table, per row, values as text (NULL as "\1")
    for (const char* table : kTargetTables) {
        sqlite3_stmt* select = nullptr;
        Check(sqlite3_prepare_v2(from, (std::string("select * from ") + table).c_str(), -1, &select, nullptr), from,
              table);
        auto& tableRows = data.emplace_back();
        while (sqlite3_step(select) == SQLITE_ROW) {
            auto& row = tableRows.emplace_back();
            for (int c = 0; c < sqlite3_column_count(select); ++c) {
                const auto* text = sqlite3_column_text(select, c);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "\1");
            }
        }
        sqlite3_finalize(select);
    }
    const Clock::time_point start = Clock::now();
    Check(sqlite3_exec(to, "BEGIN", nullptr, nullptr, nullptr), to, "begin");
    for (std::size_t t = 0; t < data.size(); ++t) {
        if (data[t].empty())
            continue;
        std::string sql = std::string("insert into ") + kTargetTables[t] + " values(";
        for (std::size_t c = 0; c < data[t][0].size(); ++c)
            sql += c ? ",?" : "?";
        sql += ")";
        sqlite3_stmt* insert = nullptr;
        Check(sqlite3_prepare_v2(to, sql.c_str(), -1, &insert, nullptr), to, kTargetTables[t]);
        for (const auto& row : data[t]) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                const int index = static_cast<int>(c) + 1;
                if (row[c] == "\1")
                    sqlite3_bind_null(insert, index);
                else
                    sqlite3_bind_text(insert, index, row[c].c_str(), -1, SQLITE_TRANSIENT);
            }
            Check(sqlite3_step(insert), to, kTargetTables[t]);
            sqlite3_reset(insert);
            ++rows;
        }
        sqlite3_finalize(insert);
    }
    Check(sqlite3_exec(to, "COMMIT", nullptr, nullptr, nullptr), to, "commit");
    const double seconds = Seconds(start);
    sqlite3_close(from);
    sqlite3_close(to);
    return seconds;
}

std::string MakeRoot()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vendaro-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

// Peak resident memory, in MB, of a child process that only runs the import of a source
// of n rows made beforehand.
double ImportPeakMegabytes(int n)
{
    const std::string root = MakeRoot();
    MakeSamples(root, {n, n}, false);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot start the import process");
    if (child == 0) {
        int status = 0;
        try {
            int boxes = 0;
            ImportThroughTheDialog(root, boxes);
        } catch (...) {
            status = 1;
        }
        std::fflush(stdout);
        _exit(status);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the import process failed");
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KB on Linux
}

int MeasureMemory(int n)
{
    const int small = n / 10 > 0 ? n / 10 : 1;
    const double smallPeak = ImportPeakMegabytes(small);
    const double peak = ImportPeakMegabytes(n);
    std::printf("Peak memory of the import, %d rows: %.1f MB\n", small, smallPeak);
    std::printf("Peak memory of the import, %d rows: %.1f MB (goal: under 40 MB)\n", n, peak);
    bench::Report(("Peak memory of an import of " + std::to_string(n) + " rows (floor: same at " +
                   std::to_string(small) + " rows)").c_str(),
                  peak, smallPeak, "MB", 1.2);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--memory") {
        try {
            return MeasureMemory(argc > 2 ? std::atoi(argv[2]) : 100000);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "import-benchmark: %s\n", e.what());
            return 1;
        }
    }
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (n <= 0) {
        std::fprintf(stderr, "usage: import-benchmark [rows per category and articles]\n");
        return 2;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "vendaro-bench-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    const AnsiString previousDir = GetCurrentDir();
    int status = 0;
    try {
        std::printf("Generating the source: %d rows per registry category, %d articles...\n", n, n);
        MakeSamples(root, {n, n}, false);
        const std::string target = root + "/Dati/tables.sqlite3";
        const std::string floorTarget = root + "/floor.sqlite3";
        std::filesystem::copy_file(target, floorTarget);
        int boxes = 0;
        const double importSeconds = ImportThroughTheDialog(root, boxes);
        long long rows = 0;
        const double floorSeconds = BulkInsert(target, floorTarget, rows);
        std::printf("Target rows written: %lld (message boxes: %d)\n", rows, boxes);
        std::printf("Import through the dialog: %.2f s, %.0f rows/s\n", importSeconds, rows / importSeconds);
        std::printf("Bulk insert floor:         %.3f s, %.0f rows/s\n", floorSeconds, rows / floorSeconds);
        std::printf("Ratio import / floor:      %.1f\n", importSeconds / floorSeconds);
        bench::Report(("Import of " + std::to_string(n) + " rows per category and articles (floor: bulk insert)").c_str(),
                      importSeconds, floorSeconds, "s", 3.0);
    } catch (const Exception& e) {
        std::fprintf(stderr, "import-benchmark: %s\n", e.Message().c_str());
        status = 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "import-benchmark: %s\n", e.what());
        status = 1;
    }
    SetCurrentDir(previousDir);
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
