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
