#include "platform/dbengine/DbiDrivers.h"
#include "platform/dbengine/DbiError.h"
#include "tests/platform/dbengine/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class CursorConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = DbiOpenDatabase("STANDARD", {"PATH=" + folder.Path().string()}, false);
        db->Execute("CREATE TABLE 'clienti.db' (id AUTOINC, codice CHAR(20), nome VARCHAR(40))");
        Fill();
    }
    void Fill()
    {
        db->Execute("delete from clienti");
        db->StartTransaction();
        for (int i = 1; i <= 5; ++i)
            db->Execute(AnsiString("insert into clienti (codice,nome) values('C") + AnsiString(std::to_string(i)) +
                        "','N')");
        db->Commit();
    }
    static std::vector<AnsiString> Walk(DbiCursor& cursor, int column = 0)
    {
        std::vector<AnsiString> seen;
        DbiRow row;
        while (cursor.Fetch(row))
            seen.push_back(row[static_cast<std::size_t>(column)].text);
        return seen;
    }

    TempFolder folder;
    std::unique_ptr<DbiConnection> db;
};

const std::vector<AnsiString> kAll = {"C1", "C2", "C3", "C4", "C5"};

TEST_F(CursorConnection, GivesTheSameRowsAndColumnsAsOpen)
{
    const DbiResult whole = db->Open("select codice,id from clienti order by id");
    auto cursor = db->OpenCursor("select codice,id from clienti order by id");
    ASSERT_EQ(cursor->Columns().size(), whole.columns.size());
    for (std::size_t c = 0; c < whole.columns.size(); ++c) {
        EXPECT_EQ(cursor->Columns()[c].name, whole.columns[c].name);
        EXPECT_EQ(cursor->Columns()[c].type, whole.columns[c].type);
    }
    EXPECT_EQ(Walk(*cursor), kAll);
    DbiRow row;
    EXPECT_FALSE(cursor->Fetch(row)); // stays at the end
}

TEST_F(CursorConnection, TwoCursorsOverTheSameTextWalkApart)
{
    const char* sql = "select codice from clienti order by id";
    auto first = db->OpenCursor(sql);
    DbiRow row;
    ASSERT_TRUE(first->Fetch(row));
    EXPECT_EQ(row[0].text, "C1");
    // The second (and a plain run of the same text) must not reset the first's statement.
    auto second = db->OpenCursor(sql);
    EXPECT_EQ(db->Open(sql).rows.size(), 5u);
    EXPECT_EQ(Walk(*second), kAll);
    EXPECT_EQ(Walk(*first), std::vector<AnsiString>(kAll.begin() + 1, kAll.end()));
    second.reset();
    first.reset();
    EXPECT_EQ(Walk(*db->OpenCursor(sql)), kAll); // the cached statement is free again
}

TEST_F(CursorConnection, ChangesAfterOpeningDoNotReachTheRows)
{
    struct Change {
        const char* name;
        void (*run)(DbiConnection&);
    };
    const Change changes[] = {
        {"delete", [](DbiConnection& c) { c.Execute("delete from clienti where codice='C4'"); }},
        {"insert", [](DbiConnection& c) { c.Execute("insert into clienti (codice) values('C9')"); }},
        {"rollback",
         [](DbiConnection& c) {
             c.StartTransaction();
             c.Execute("update clienti set codice='X' where codice='C5'");
             c.Rollback();
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        Fill();
        auto cursor = db->OpenCursor("select codice from clienti order by id");
        DbiRow row;
        ASSERT_TRUE(cursor->Fetch(row));
        change.run(*db);
        EXPECT_EQ(Walk(*cursor), std::vector<AnsiString>(kAll.begin() + 1, kAll.end()));
    }
}

TEST_F(CursorConnection, KeepsItsRowsWhenTheConnectionClosesFirst)
{
    auto cursor = db->OpenCursor("select codice from clienti order by id");
    db.reset();
    EXPECT_EQ(Walk(*cursor), kAll);
}

TEST_F(CursorConnection, ComputedColumnsTakeTheirTypeFromTheValues)
{
    auto cursor = db->OpenCursor("select max(id) as top, codice from clienti");
    EXPECT_EQ(cursor->Columns()[0].type, DbiFieldType::Integer);
    DbiRow row;
    ASSERT_TRUE(cursor->Fetch(row));
    EXPECT_EQ(row[0].integer, 5);
}

TEST_F(CursorConnection, RefusesStatementsWithoutRows)
{
    EXPECT_THROW(db->OpenCursor("delete from clienti"), EDbiError);
    EXPECT_EQ(db->Open("select count(*) from clienti").rows[0][0].integer, 5);
}

} // namespace
