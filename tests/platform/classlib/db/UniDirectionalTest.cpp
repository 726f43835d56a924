#include "tests/platform/classlib/db/DbTestSupport.h"

#include <string>
#include <vector>

namespace {

class UniDirectionalTest : public DbFixture {
protected:
    UniDirectionalTest()
    {
        for (const char* code : {"B", "C", "A"})
            Exec(query, AnsiString("insert into clienti (codice) values('") + code + "')");
        query.SetUniDirectional(true);
    }
    std::vector<std::string> Walk()
    {
        std::vector<std::string> codes;
        query.First();
        while (!query.Eof()) {
            codes.push_back(query.FieldByName("codice")->AsString().str());
            query.Next();
        }
        return codes;
    }
};

TEST_F(UniDirectionalTest, WalksTheSameRowsAsAKeptDataset)
{
    OpenQuery(query, "select codice from clienti order by codice");
    EXPECT_EQ(query.RecNo(), 1);
    EXPECT_EQ(Walk(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(query.RecNo(), 3);
    EXPECT_EQ(query.FieldByName("codice")->AsString(), "C"); // the last row stays current at the end
    EXPECT_EQ(query.RecordCount(), 3);
    OpenQuery(query, "select codice from clienti where codice='Z'");
    EXPECT_TRUE(query.IsEmpty());
    EXPECT_TRUE(query.Eof());
    EXPECT_TRUE(query.FieldByName("codice")->IsNull());
    EXPECT_EQ(query.RecNo(), 0);
    EXPECT_EQ(query.RecordCount(), 0);
}

TEST_F(UniDirectionalTest, EachRowReadsAsItsOwnWhateverTheRowBeforeHeld)
{
    Exec(query, "update clienti set nome='a name longer than the next one', fido=2.5 where codice='A'");
    Exec(query, "update clienti set nome='short' where codice='C'");
    OpenQuery(query, "select codice, nome, fido from clienti order by codice");
    const struct {
        const char* nome;
        bool nullFido;
    } want[] = {{"a name longer than the next one", false}, {"", true}, {"short", true}};
    for (const auto& row : want) {
        ASSERT_FALSE(query.Eof());
        EXPECT_EQ(query.FieldByName("nome")->AsString(), row.nome);
        EXPECT_EQ(query.FieldByName("nome")->IsNull(), *row.nome == 0);
        EXPECT_EQ(query.FieldByName("fido")->IsNull(), row.nullFido);
        query.Next();
    }
    EXPECT_TRUE(query.Eof());
}

TEST_F(UniDirectionalTest, RecordCountReadsAheadWithoutMoving)
{
    OpenQuery(query, "select codice from clienti order by codice");
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_EQ(query.FieldByName("codice")->AsString(), "A");
    EXPECT_EQ(Walk(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(UniDirectionalTest, GoingBackAfterMovingIsRefused)
{
    OpenQuery(query, "select codice from clienti order by codice");
    query.Prior(); // nothing before the first row: only Bof
    EXPECT_TRUE(query.Bof());
    query.First();
    query.Next();
    for (void (TDataSet::*move)() : {&TDataSet::First, &TDataSet::Prior})
        EXPECT_EQ(DatabaseErrorOf([&] { (query.*move)(); }), SDataSetUnidirectional);
    EXPECT_EQ(query.FieldByName("codice")->AsString(), "B");
    query.Last();
    EXPECT_EQ(query.FieldByName("codice")->AsString(), "C");
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.RecNo(), 3);
}

TEST_F(UniDirectionalTest, IsSetOnlyWhileClosed)
{
    OpenQuery(query, "select codice from clienti");
    EXPECT_EQ(DatabaseErrorOf([&] { query.SetUniDirectional(false); }), SDataSetOpen);
    query.Close();
    query.SetUniDirectional(false);
    OpenQuery(query, "select codice from clienti order by codice");
    query.Next();
    query.First(); // a kept dataset goes back freely
    EXPECT_EQ(query.FieldByName("codice")->AsString(), "A");
}

TEST_F(UniDirectionalTest, WritesWhileWalkingDoNotChangeTheRows)
{
    TQuery writer(nullptr);
    writer.SetDatabaseName("PVenDar5");
    OpenQuery(query, "select codice from clienti order by codice");
    Exec(writer, "delete from clienti where codice='C'");
    Exec(writer, "insert into clienti (codice) values('D')");
    EXPECT_EQ(Walk(), (std::vector<std::string>{"A", "B", "C"}));
    query.Close();
    OpenQuery(query, "select codice from clienti order by codice");
    EXPECT_EQ(Walk(), (std::vector<std::string>{"A", "B", "D"}));
}

TEST_F(UniDirectionalTest, ClosingTheDatabaseClosesTheWalk)
{
    OpenQuery(query, "select codice from clienti order by codice");
    paradox.Close();
    EXPECT_FALSE(query.Active());
    OpenQuery(query, "select codice from clienti order by codice");
    EXPECT_EQ(Walk(), (std::vector<std::string>{"A", "B", "C"}));
}

} // namespace
