#include "platform/dbengine/DbiDrivers.h"
#include "platform/dbengine/DbiError.h"
#include "platform/rtl/FileSystem.h"
#include "tests/platform/dbengine/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EDbiError& e) {
        return e.Message().str();
    }
    return "(no error)";
}

void MakeAccessFile(const std::string& path)
{
    DbiConnection db(path, SqlDialect::Access, false, true);
    db.Execute("CREATE TABLE [DDT-Intestazione] (ID COUNTER, Numero LONG)");
    db.Execute("insert into [DDT-Intestazione] (Numero) values(1)");
}

TEST(DbiDrivers, ParadoxFolderHoldsItsTablesInOneEngineFile)
{
    TempFolder folder;
    FileSystem::SetDriveRoot('X', folder.Path().string());
    std::filesystem::create_directory(folder.Path() / "Dati");
    {
        auto db = DbiOpenDatabase("standard", {"PATH=X:\\Dati"}, false);
        EXPECT_EQ(db->Dialect(), SqlDialect::Paradox);
        db->Execute("create table clienti (codice CHAR(20))");
        db->Execute("create table fornitori (codice CHAR(20))");
    }
    FileSystem::Reset();
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path() / "Dati" / kParadoxTablesFile));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path() / "Dati"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(DbiDrivers, ConnectionsFailWithAClearMessage)
{
    TempFolder folder;
    std::ofstream(folder / "notadb.mdb") << "This is not a database file, only text that fills the header.\n"
                                            "Long enough to be read as a header by the engine.";
    const struct {
        const char* driver;
        std::vector<AnsiString> params;
        const char* fragment;
    } cases[] = {
        {"STANDARD", {"PATH=" + folder / "missing"}, "does not exist"},
        {"STANDARD", {}, "PATH"},
        {"MSACCESS", {"DATABASE NAME=" + folder / "missing.mdb", "OPEN MODE=READ/WRITE"}, "does not exist"},
        {"MSACCESS", {"DATABASE NAME=" + folder / "notadb.mdb"}, "not a database"},
        {"MSACCESS", {"OPEN MODE=READ/WRITE"}, "DATABASE NAME"},
        {"INTRBASE", {}, "Unknown database driver"},
    };
    for (const auto& c : cases) {
        const std::string message = MessageOf([&] { DbiOpenDatabase(c.driver, c.params, false); });
        EXPECT_NE(message.find(c.fragment), std::string::npos) << c.driver << ": " << message;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.mdb"));
}

TEST(DbiDrivers, AccessDatabaseIsTheNamedFile)
{
    TempFolder folder;
    MakeAccessFile(folder / "RPTDATA.mdb");
    auto db = DbiOpenDatabase("MSACCESS", {"DATABASE NAME=" + folder / "RPTDATA.mdb", "OPEN MODE=READ/WRITE"}, false);
    EXPECT_EQ(db->Dialect(), SqlDialect::Access);
    db->Execute("ALTER TABLE [DDT-Intestazione] ADD COLUMN Ritenuta TEXT (255)");
    DbiResult r = db->Execute("select Numero, Ritenuta from [DDT-Intestazione]");
    EXPECT_EQ(r.rows.at(0).at(0).integer, 1);
    EXPECT_EQ(r.columns.at(1).type, DbiFieldType::String);
    EXPECT_EQ(r.columns.at(1).size, 255);
}

TEST(DbiDrivers, ReadOnlyAccessConnectionRefusesWrites)
{
    TempFolder folder;
    MakeAccessFile(folder / "dbVendaroBase4.mdb");
    const std::vector<AnsiString> params = {"DATABASE NAME=" + folder / "dbVendaroBase4.mdb"};
    const std::pair<std::vector<AnsiString>, bool> openings[] = {{params, true},
                                                                 {{params[0], "OPEN MODE=READ ONLY"}, false}};
    for (const auto& [openParams, readOnly] : openings) {
        auto db = DbiOpenDatabase("MSACCESS", openParams, readOnly);
        EXPECT_TRUE(db->ReadOnly());
        EXPECT_EQ(db->Execute("select Numero from [DDT-Intestazione]").rows.size(), 1u);
        EXPECT_NE(MessageOf([&] { db->Execute("insert into [DDT-Intestazione] (Numero) values(2)"); }).find("readonly"),
                  std::string::npos);
    }
}

TEST(DbiDrivers, ParamValuesAreFoundByNameIgnoringCase)
{
    const std::vector<AnsiString> params = {"PATH=C:\\a", "open mode = READ ONLY", "DATABASE NAME=C:\\x=y.mdb"};
    EXPECT_EQ(DbiParamValue(params, "path"), "C:\\a");
    EXPECT_EQ(DbiParamValue(params, "OPEN MODE"), " READ ONLY");
    EXPECT_EQ(DbiParamValue(params, "DATABASE NAME"), "C:\\x=y.mdb");
    EXPECT_EQ(DbiParamValue(params, "USER NAME"), "");
}

} // namespace

#include <algorithm>
#include <iterator>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Names(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DbiDrivers, OpeningAndRollingBackLeavesTheFileByteIdentical)
{
    TempFolder folder;
    MakeAccessFile(folder / "RPTDATA.mdb");
    const std::string before = Bytes(folder / "RPTDATA.mdb");
    {
        auto db = DbiOpenDatabase("MSACCESS", {"DATABASE NAME=" + folder / "RPTDATA.mdb", "OPEN MODE=READ/WRITE"},
                                  false);
        EXPECT_EQ(db->Execute("select Numero from [DDT-Intestazione]").rows.size(), 1u);
        db->StartTransaction();
        db->Execute("ALTER TABLE [DDT-Intestazione] ADD COLUMN Ritenuta TEXT (255)");
        db->Execute("insert into [DDT-Intestazione] (Numero) values(2)");
        db->Rollback();
        EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"RPTDATA.mdb"});
    }
    EXPECT_EQ(Bytes(folder / "RPTDATA.mdb"), before);
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"RPTDATA.mdb"});
}

TEST(DbiDrivers, FileLeftInWriteAheadLogModeComesBackWhole)
{
    TempFolder folder;
    MakeAccessFile(folder / "RPTDATA.mdb");
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(( folder / "RPTDATA.mdb").c_str(), &raw), SQLITE_OK);
        sqlite3_exec(raw, "PRAGMA journal_mode=WAL; insert into [DDT-Intestazione] (Numero) values(2)", nullptr,
                     nullptr, nullptr);
        sqlite3_close(raw);
    }
    {
        auto db = DbiOpenDatabase("MSACCESS", {"DATABASE NAME=" + folder / "RPTDATA.mdb"}, false);
        EXPECT_EQ(db->Execute("PRAGMA journal_mode").rows.at(0).at(0).text, "delete");
        db->Execute("insert into [DDT-Intestazione] (Numero) values(3)");
        EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"RPTDATA.mdb"});
    }
    TempFolder copy;
    std::filesystem::copy_file(folder / "RPTDATA.mdb", copy / "RPTDATA.mdb");
    auto copied = DbiOpenDatabase("MSACCESS", {"DATABASE NAME=" + copy / "RPTDATA.mdb"}, true);
    EXPECT_EQ(copied->Execute("select count(*) from [DDT-Intestazione]").rows.at(0).at(0).integer, 3);
}

TEST(DbiDrivers, AttachingToAFolderWithoutItsTablesFileIsRefusedAndMakesNoFile)
{
    TempFolder folder;
    TempFolder reports;
    MakeAccessFile(reports / "RPTDATA.mdb");
    auto db = DbiOpenDatabase("STANDARD", {"PATH=" + folder.Path().string()}, false);
    EXPECT_NE(MessageOf([&] { db->Attach(reports / "RPTDATA.mdb", "report"); }).find("does not exist"),
              std::string::npos);
    EXPECT_TRUE(Names(folder.Path()).empty());
}

TEST(DbiDrivers, ParadoxFolderWithoutItsTablesFileGetsNoFileBehindTheUsersBack)
{
    TempFolder folder;
    const AnsiString path = "PATH=" + folder.Path().string();
    for (bool readOnly : {false, true}) {
        auto db = DbiOpenDatabase("STANDARD", {path}, readOnly);
        const struct {
            const char* statement;
            const char* fragment;
        } statements[] = {
            {"select * from clienti", "no such table: clienti"},
            {"insert into 'clienti.db' (codice) values('A')", "no such table: clienti"},
            {"ALTER TABLE 'clienti.db' ADD CheckA SMALLINT", "no such table: clienti"},
            {"update clienti set CheckA = 0", "no such table: clienti"},
        };
        for (const auto& s : statements)
            EXPECT_NE(MessageOf([&] { db->Execute(s.statement); }).find(s.fragment), std::string::npos)
                << s.statement;
        EXPECT_NE(MessageOf([&] { db->Open("select codice from clienti"); }).find("no such table"), std::string::npos);
        EXPECT_EQ(db->Execute("select 1 + 1").rows.at(0).at(0).integer, 2);
        if (readOnly) {
            EXPECT_NE(MessageOf([&] { db->Execute("create table clienti (codice CHAR(20))"); }).find("readonly"),
                      std::string::npos);
        }
        EXPECT_TRUE(Names(folder.Path()).empty()) << (readOnly ? "read-only" : "read/write");
    }
    // A statement that makes something makes the file, inside the transaction it runs in.
    {
        auto db = DbiOpenDatabase("STANDARD", {path}, false);
        db->StartTransaction();
        db->Execute("create table clienti (codice CHAR(20))");
        db->Execute("insert into clienti (codice) values('A')");
        db->Rollback();
        EXPECT_NE(MessageOf([&] { db->Execute("select * from clienti"); }).find("no such table"), std::string::npos);
        db->Execute("create table clienti (codice CHAR(20))");
        db->Execute("insert into clienti (codice) values('B')");
    }
    EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{kParadoxTablesFile});
    auto again = DbiOpenDatabase("STANDARD", {path}, true);
    EXPECT_EQ(again->Execute("select codice from clienti").rows.at(0).at(0).text, "B");
}

TEST(DbiDrivers, MessagesNameTheFileAsTheCallerNamedIt)
{
    TempFolder folder;
    FileSystem::SetDriveRoot('X', folder.Path().string());
    std::filesystem::create_directory(folder.Path() / "Dati");
    std::ofstream(folder / "Dati/tables.sqlite3") << "Not a database at all: only text long enough to fill a header.";
    std::ofstream(folder / "notadb.mdb") << "Not a database at all: only text long enough to fill a header.";
    const struct {
        const char* driver;
        AnsiString param;
        const char* name;
    } cases[] = {
        {"MSACCESS", "DATABASE NAME=X:\\notadb.mdb", "Cannot open database X:\\notadb.mdb: "},
        {"MSACCESS", "DATABASE NAME=X:\\missing.mdb", "Cannot open database X:\\missing.mdb: the file does not exist"},
        {"MSACCESS", "DATABASE NAME=X:\\Dati", "Cannot open database X:\\Dati: the name is a folder"},
        {"STANDARD", "PATH=X:\\Dati", "Cannot open database X:\\Dati\\tables.sqlite3: "},
        {"STANDARD", "PATH=X:\\Dati\\", "Cannot open database X:\\Dati\\tables.sqlite3: "},
    };
    for (const auto& c : cases) {
        const std::string message = MessageOf([&] { DbiOpenDatabase(c.driver, {c.param}, false); });
        EXPECT_EQ(message.rfind(c.name, 0), 0u) << message;
        EXPECT_EQ(message.find(folder.Path().string()), std::string::npos) << message;
    }
    FileSystem::Reset();
}

TEST(DbiDrivers, ReadOnlyFileIsReportedAsSuch)
{
    TempFolder folder;
    MakeAccessFile(folder / "RPTDATA.mdb");
    MakeAccessFile(folder / "tables.sqlite3");
    for (const char* name : {"RPTDATA.mdb", "tables.sqlite3"})
        ASSERT_EQ(chmod((folder / name).c_str(), 0444), 0);
    const std::string before = Bytes(folder / "RPTDATA.mdb");
    const AnsiString access = "DATABASE NAME=" + folder / "RPTDATA.mdb";
    const AnsiString paradox = "PATH=" + folder.Path().string();
    EXPECT_NE(MessageOf([&] { DbiOpenDatabase("MSACCESS", {access, "OPEN MODE=READ/WRITE"}, false); })
                  .find(": the file is read-only"),
              std::string::npos);
    EXPECT_NE(MessageOf([&] { DbiOpenDatabase("STANDARD", {paradox}, false); }).find(": the file is read-only"),
              std::string::npos);
    // Read-only openings read it as before.
    EXPECT_EQ(DbiOpenDatabase("MSACCESS", {access}, true)->Execute("select Numero from [DDT-Intestazione]").rows.size(),
              1u);
    EXPECT_EQ(DbiOpenDatabase("STANDARD", {paradox, "OPEN MODE=READ ONLY"}, false)
                  ->Execute("select Numero from [DDT-Intestazione]")
                  .rows.size(),
              1u);
    EXPECT_EQ(Bytes(folder / "RPTDATA.mdb"), before);
}

// A user who may not read the file, or write in its folder, is told "permission denied",
// never that the file is missing. Run as an unprivileged user in a child process when the
// tests run as root, since root may read everything.
TEST(DbiDrivers, FileTheUserMayNotReadIsReportedAsPermissionDenied)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path() / "locked");
    std::filesystem::create_directory(folder.Path() / "shut");
    MakeAccessFile(folder / "locked/RPTDATA.mdb");
    MakeAccessFile(folder / "shut/RPTDATA.mdb");
    ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod((folder / "locked/RPTDATA.mdb").c_str(), 0600), 0);
    ASSERT_EQ(chmod((folder / "locked").c_str(), 0755), 0);
    ASSERT_EQ(chmod((folder / "shut/RPTDATA.mdb").c_str(), 0666), 0);
    ASSERT_EQ(chmod((folder / "shut").c_str(), 0700), 0);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        if (geteuid() == 0 && setuid(65534) != 0)
            _exit(2);
        if (geteuid() != 0) {
            std::string report;
            for (const char* file : {"locked/RPTDATA.mdb", "shut/RPTDATA.mdb"})
                for (bool readOnly : {true, false})
                    report += MessageOf([&] {
                                  DbiOpenDatabase("MSACCESS", {AnsiString("DATABASE NAME=" + folder / file)}, readOnly);
                              }) + "\n";
            report += MessageOf([&] { DbiOpenDatabase("STANDARD", {AnsiString("PATH=" + folder / "shut")}, true); });
            [[maybe_unused]] ssize_t written = write(pipeFds[1], report.data(), report.size());
        }
        _exit(0);
    }
    close(pipeFds[1]);
    std::string report;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (report.empty())
        GTEST_SKIP() << "no unprivileged user to run as";
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= report.size();) {
        const std::size_t end = std::min(report.find('\n', start), report.size());
        lines.push_back(report.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 5u) << report;
    for (const std::string& line : lines) {
        EXPECT_NE(line.find("permission denied"), std::string::npos) << line;
        EXPECT_EQ(line.find("does not exist"), std::string::npos) << line;
    }
}

} // namespace
