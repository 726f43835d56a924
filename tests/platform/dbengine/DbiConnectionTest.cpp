#include "platform/dbengine/DbiDrivers.h"
#include "platform/dbengine/DbiError.h"
#include "tests/platform/dbengine/TempFolder.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

class ParadoxConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = DbiOpenDatabase("STANDARD", {"PATH=" + folder.Path().string()}, false);
        db->Execute("CREATE TABLE 'clienti.db' (id AUTOINC, codice CHAR(20) UNIQUE, nome VARCHAR(40), "
                    "citt\xE0 CHAR(30), fido MONEY, sconto FLOAT, attivo LOGICAL)");
    }
    int Count(const char* table)
    {
        return static_cast<int>(db->Execute(AnsiString("select count(*) from ") + table).rows.at(0).at(0).integer);
    }

    TempFolder folder;
    std::unique_ptr<DbiConnection> db;
};

TEST_F(ParadoxConnection, RowsComeInTheRequestedOrderWithTypedValues)
{
    db->Execute("insert into clienti (codice,nome,fido,sconto) values('C2','Bianchi',10,2.5)");
    db->Execute("insert into clienti (codice,nome) values('C1','Rossi')");
    db->Execute("insert into clienti (codice,nome) values('C3',NULL)");
    DbiResult r = db->Execute("select id,codice,nome,fido,sconto from clienti order by codice desc");
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0][1].text, "C3");
    EXPECT_EQ(r.rows[1][1].text, "C2");
    EXPECT_EQ(r.rows[2][1].text, "C1");
    EXPECT_TRUE(r.rows[0][2].IsNull());
    EXPECT_EQ(r.rows[1][3].kind, DbiValue::Kind::Integer);
    EXPECT_EQ(r.rows[1][4].kind, DbiValue::Kind::Float);
    EXPECT_DOUBLE_EQ(r.rows[1][4].real, 2.5);
    EXPECT_EQ(r.rows[2][0].integer, 2); // the autoincrement key numbers rows as inserted
}

TEST_F(ParadoxConnection, ColumnsDescribeTheDeclaredTypes)
{
    DbiResult r = db->Execute("select id,codice,nome,citt\xE0,fido,sconto,attivo,count(*) as n from clienti");
    ASSERT_EQ(r.columns.size(), 8u);
    const std::pair<DbiFieldType, int> expected[] = {
        {DbiFieldType::AutoInc, 0}, {DbiFieldType::String, 20}, {DbiFieldType::String, 40},
        {DbiFieldType::String, 30}, {DbiFieldType::Currency, 0}, {DbiFieldType::Float, 0},
        {DbiFieldType::Boolean, 0}, {DbiFieldType::Integer, 0}};
    for (std::size_t c = 0; c < r.columns.size(); ++c) {
        EXPECT_EQ(r.columns[c].type, expected[c].first) << c;
        EXPECT_EQ(r.columns[c].size, expected[c].second) << c;
    }
    EXPECT_EQ(r.columns[3].name, "citt\xE0");
    EXPECT_EQ(r.columns[7].name, "n");
}

TEST_F(ParadoxConnection, WindowsTextRoundTripsThroughColumnNamesAndValues)
{
    db->Execute("insert into clienti (codice,citt\xE0,nome) values('C1','Forl\xEC','Perch\xE9 \x80 \x9C')");
    DbiResult r = db->Execute("select citt\xE0,nome from clienti where citt\xE0='Forl\xEC'");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].text, "Forl\xEC");
    EXPECT_EQ(r.rows[0][1].text, "Perch\xE9 \x80 \x9C");
}

TEST_F(ParadoxConnection, EqualsOnTextIsCaseSensitive)
{
    db->Execute("insert into clienti (codice) values('Rossi')");
    EXPECT_EQ(db->Execute("select codice from clienti where codice='rossi'").rows.size(), 0u);
    EXPECT_EQ(db->Execute("select codice from clienti where codice='Rossi'").rows.size(), 1u);
}

TEST_F(ParadoxConnection, TableNamesIgnoreCaseAndQuotedFileNames)
{
    db->Execute("CREATE TABLE 'DDT.db' (numero INTEGER)");
    db->Execute("insert into \"ddt.db\" (numero) values(7)");
    EXPECT_EQ(db->Execute("update ddt set numero = 8").rowsAffected, 1);
    EXPECT_EQ(db->Execute("select numero from 'DDT.DB'").rows.at(0).at(0).integer, 8);
}

TEST_F(ParadoxConnection, FailingStatementsRaiseTheEngineMessage)
{
    db->Execute("insert into clienti (codice) values('C1')");
    const std::pair<const char*, const char*> cases[] = {
        {"insert into clienti (codice) values('C1')", "UNIQUE"},
        {"insert into clienti (codice) values('it's')", "Unterminated"},
        {"insert into clienti (codice nome) values('a','b')", "syntax error"},
        {"select nonesuch from clienti", "no such column"},
        {"select * from nowhere", "no such table"},
        {"update clienti set \"codice\" = \"missing\"", "no such column"},
    };
    for (const auto& [sql, fragment] : cases) {
        try {
            db->Execute(sql);
            ADD_FAILURE() << "no error for " << sql;
        } catch (const EDbiError& e) {
            EXPECT_NE(e.Message().str().find(fragment), std::string::npos) << sql << ": " << e.Message().str();
        }
    }
    EXPECT_EQ(Count("clienti"), 1);
}

TEST_F(ParadoxConnection, TwoStatementsInOneTextRunNeither)
{
    EXPECT_THROW(db->Execute("insert into clienti (codice) values('A'); insert into clienti (codice) values('B')"),
                 EDbiError);
    EXPECT_EQ(Count("clienti"), 0);
}

TEST_F(ParadoxConnection, AlterTableWithSeveralClausesAppliesAllOrNone)
{
    db->Execute("ALTER TABLE 'clienti.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY");
    DbiResult r = db->Execute("select CheckA, Ritenuta from clienti");
    EXPECT_EQ(r.columns.at(0).type, DbiFieldType::Smallint);
    EXPECT_EQ(r.columns.at(1).type, DbiFieldType::Currency);

    EXPECT_THROW(db->Execute("ALTER TABLE 'clienti.db' ADD Nuova SMALLINT, ADD CheckA SMALLINT"), EDbiError);
    EXPECT_THROW(db->Execute("select Nuova from clienti"), EDbiError);
    EXPECT_FALSE(db->InTransaction());
}

TEST_F(ParadoxConnection, AStatementRunAgainAfterATableChangeDescribesItsNewColumns)
{
    // The statement is kept compiled between runs; its columns follow the table as it is now.
    const std::size_t before = db->Execute("select * from clienti").columns.size();
    EXPECT_EQ(db->Open("select * from clienti").columns.size(), before);
    db->Execute("ALTER TABLE 'clienti.db' ADD Ritenuta MONEY");
    for (const DbiResult& r : {db->Execute("select * from clienti"), db->Open("select * from clienti")}) {
        ASSERT_EQ(r.columns.size(), before + 1);
        EXPECT_EQ(r.columns.back().name, AnsiString("Ritenuta"));
        EXPECT_EQ(r.columns.back().type, DbiFieldType::Currency);
    }
    // A rollback takes a table change back; so do the statements run after it.
    db->StartTransaction();
    db->Execute("ALTER TABLE 'clienti.db' ADD Riserva SMALLINT");
    EXPECT_EQ(db->Open("select * from clienti").columns.size(), before + 2);
    db->Rollback();
    EXPECT_EQ(db->Open("select * from clienti").columns.size(), before + 1);
    db->Execute("SAVEPOINT unit");
    db->Execute("ALTER TABLE 'clienti.db' ADD Riserva SMALLINT");
    EXPECT_EQ(db->Execute("select * from clienti").columns.size(), before + 2);
    db->Execute("ROLLBACK TO unit");
    db->Execute("RELEASE unit");
    EXPECT_EQ(db->Execute("select * from clienti").columns.size(), before + 1);
}

TEST_F(ParadoxConnection, RollbackUndoesRowsAndTableChanges)
{
    db->StartTransaction();
    EXPECT_TRUE(db->InTransaction());
    EXPECT_THROW(db->StartTransaction(), EDbiError);
    db->Execute("insert into clienti (codice) values('A')");
    db->Execute("CREATE TABLE fornitori (codice CHAR(20))");
    db->Execute("ALTER TABLE clienti ADD x SMALLINT, ADD y SMALLINT");
    db->Rollback();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Count("clienti"), 0);
    EXPECT_THROW(db->Execute("select * from fornitori"), EDbiError);
    EXPECT_THROW(db->Execute("select x from clienti"), EDbiError);
    EXPECT_THROW(db->Commit(), EDbiError);
    EXPECT_THROW(db->Rollback(), EDbiError);
}

TEST_F(ParadoxConnection, CommitKeepsRowsForTheNextConnection)
{
    db->StartTransaction();
    db->Execute("insert into clienti (codice) values('A')");
    db->Commit();
    db.reset();
    auto again = DbiOpenDatabase("STANDARD", {"PATH=" + folder.Path().string()}, true);
    EXPECT_EQ(again->Execute("select codice from clienti").rows.size(), 1u);
}

TEST_F(ParadoxConnection, CommittedRowsAreInTheFileWhileTheConnectionIsOpen)
{
    EXPECT_EQ(db->Execute("PRAGMA journal_mode").rows.at(0).at(0).text, "delete");
    db->Execute("insert into clienti (codice) values('A')");
    db->StartTransaction();
    db->Execute("insert into clienti (codice) values('B')");
    db->Commit();
    // A copy of the file alone, taken now, holds every committed row.
    TempFolder copy;
    std::filesystem::copy_file(folder / kParadoxTablesFile, copy / kParadoxTablesFile);
    auto copied = DbiOpenDatabase("STANDARD", {"PATH=" + copy.Path().string()}, true);
    EXPECT_EQ(copied->Execute("select count(*) from clienti").rows.at(0).at(0).integer, 2);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{kParadoxTablesFile}) << "no log or journal beside the file";
}

TEST_F(ParadoxConnection, RepeatedStatementsStayCorrect)
{
    for (int i = 0; i < 200; ++i)
        db->Execute("insert into clienti (codice) values('C" + AnsiString(std::to_string(i % 100)) + "x" +
                    AnsiString(std::to_string(i)) + "')");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Count("clienti"), 200);
}

} // namespace

namespace {

TEST_F(ParadoxConnection, OpenRefusesStatementsWithoutRowsBeforeRunningThem)
{
    db->Execute("insert into clienti (codice) values('A')");
    for (const char* sql : {"delete from clienti", "update clienti set nome='x'",
                            "ALTER TABLE clienti ADD a SMALLINT, ADD b SMALLINT", "ALTER TABLE clienti ADD c SMALLINT"})
        EXPECT_THROW(db->Open(sql), EDbiError) << sql;
    DbiResult r = db->Open("select codice, nome from clienti");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_TRUE(r.rows[0][1].IsNull());
    EXPECT_EQ(db->Open("select * from clienti").columns.size(), 7u);
}

} // namespace

namespace {

TEST_F(ParadoxConnection, RowsAffectedCountsOnlyTheStatementsOwnChanges)
{
    const std::pair<const char*, int> cases[] = {
        {"insert into clienti (codice) values('A')", 1},
        {"insert into clienti (codice) values('B')", 1},
        {"update clienti set nome='x'", 2},
        {"ALTER TABLE clienti ADD CheckA SMALLINT, ADD Ritenuta MONEY", 0},
        {"update clienti set nome='y' where codice='none'", 0},
        {"select * from clienti", 0},
        {"delete from clienti", 2},
    };
    for (const auto& [sql, expected] : cases)
        EXPECT_EQ(db->Execute(sql).rowsAffected, expected) << sql;
}

} // namespace

namespace {

TEST_F(ParadoxConnection, TextLongerThanItsColumnIsRefused)
{
    db->Execute("ALTER TABLE clienti ADD sigla CHAR(2)");
    const std::pair<std::string, bool> cases[] = {
        {"insert into clienti (codice) values('12345678901234567890')", true},
        {"insert into clienti (codice) values('123456789012345678901')", false},
        {"insert into clienti (citt\xE0) values('\xC0\xC8\xCC\xD2\xD9')", true}, // five characters, ten bytes in UTF-8
        {"insert into clienti (sigla) values('MI')", true},
        {"insert into clienti (sigla) values('MIL')", false},
        {"update clienti set nome = '" + std::string(41, 'x') + "'", false},
    };
    for (const auto& [sql, fits] : cases) {
        if (fits) {
            EXPECT_NO_THROW(db->Execute(AnsiString(sql))) << sql;
            continue;
        }
        try {
            db->Execute(AnsiString(sql));
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const EDbiError& e) {
            EXPECT_NE(e.Message().str().find("value too long for column"), std::string::npos) << e.Message().str();
        }
    }
    EXPECT_EQ(Count("clienti"), 3);
}

} // namespace

namespace {

TEST_F(ParadoxConnection, TextAfterANulCharacterIsNeverDropped)
{
    db->Execute("insert into clienti (codice) values('A')");
    db->Execute("insert into clienti (codice) values('B')");
    const std::string withNul("delete from clienti\0 where codice='A'", 37);
    EXPECT_THROW(db->Execute(AnsiString(withNul)), EDbiError);
    EXPECT_EQ(Count("clienti"), 2);
    EXPECT_THROW(db->Execute(AnsiString(std::string("insert into clienti (codice) values('x\0y')", 42))), EDbiError);
    EXPECT_EQ(Count("clienti"), 2);
}

} // namespace

namespace {

// Every text type either driver declares keeps its text exactly, however much it looks like
// a number, in a table made by CREATE TABLE and in a column added by ALTER TABLE; the field
// type and size stay the driver's.
TEST(DbiConnectionText, EveryTextTypeKeepsNumberLikeTextInBothDialects)
{
    const struct {
        const char* type;
        DbiFieldType field;
        int size;
    } types[] = {
        {"CHAR(30)", DbiFieldType::String, 30}, {"VARCHAR(30)", DbiFieldType::String, 30},
        {"TEXT(30)", DbiFieldType::String, 30}, {"TEXT", DbiFieldType::String, 0},
        {"ALPHA(30)", DbiFieldType::String, 30}, {"alpha (30)", DbiFieldType::String, 30},
        {"MEMO", DbiFieldType::Memo, 0},         {"Memo", DbiFieldType::Memo, 0},
        {"LONGTEXT", DbiFieldType::Memo, 0},
    };
    const char* const values[] = {"06", " 7", "7 ", "1.50", "1e3", "+5", ".5", "-0", "0x1F", "123456789012345678901"};
    for (SqlDialect dialect : {SqlDialect::Paradox, SqlDialect::Access}) {
        TempFolder folder;
        DbiConnection db(folder / "text.sqlite3", dialect, false, true);
        AnsiString create = "CREATE TABLE t (id INTEGER";
        for (std::size_t c = 0; c < std::size(types); ++c)
            create += ", c" + AnsiString(std::to_string(c).c_str()) + " " + types[c].type;
        db.Execute(create + ")");
        for (std::size_t c = 0; c < std::size(types); ++c)
            db.Execute("ALTER TABLE t ADD a" + AnsiString(std::to_string(c).c_str()) + " " + types[c].type);
        for (std::size_t v = 0; v < std::size(values); ++v) {
            AnsiString insert = "insert into t values(" + AnsiString(std::to_string(v).c_str());
            for (std::size_t c = 0; c < 2 * std::size(types); ++c)
                insert += AnsiString(", '") + values[v] + "'";
            db.Execute(insert + ")");
        }
        const DbiResult r = db.Execute("select * from t order by id");
        ASSERT_EQ(r.rows.size(), std::size(values));
        for (std::size_t col = 1; col < r.columns.size(); ++col) {
            const auto& declared = types[(col - 1) % std::size(types)];
            const std::string where = std::string(declared.type) + (dialect == SqlDialect::Paradox ? " Paradox" : " Access");
            EXPECT_EQ(r.columns[col].type, declared.field) << where;
            EXPECT_EQ(r.columns[col].size, declared.size) << where;
            for (std::size_t v = 0; v < std::size(values); ++v) {
                EXPECT_EQ(r.rows[v][col].kind, DbiValue::Kind::Text) << where << " " << values[v];
                EXPECT_EQ(r.rows[v][col].text, values[v]) << where;
            }
        }
    }
}

} // namespace
