#include "tests/platform/classlib/db/DbTestSupport.h"

#include "platform/rtl/FormatSettings.h"
#include "platform/dbengine/DbiConnection.h"

#include <string>

namespace {

using QueryTest = DbFixture;

std::vector<std::string> WalkCodes(TQuery& q)
{
    std::vector<std::string> codes;
    if (!q.IsEmpty()) {
        q.First();
        while (!q.Eof()) {
            codes.push_back(q.FieldByName("codice")->AsString().str());
            q.Next();
        }
    }
    return codes;
}

TEST_F(QueryTest, DatabaseConnectsWithTheFirstStatement)
{
    TDatabase db(nullptr);
    db.SetDatabaseName("Other");
    db.SetDriverName("STANDARD");
    db.Params()->Add("PATH=" + folder.Path().string());
    TQuery q(nullptr);
    q.SetDatabaseName("other"); // names are case-insensitive
    EXPECT_FALSE(db.Connected());
    OpenQuery(q, "select codice from clienti");
    EXPECT_TRUE(db.Connected());
    EXPECT_EQ(q.Database(), &db);
}

TEST_F(QueryTest, RowLoopVisitsRowsInTheRequestedOrder)
{
    for (const char* code : {"B", "C", "A"})
        Exec(query, AnsiString("insert into clienti (codice) values('") + code + "')");
    OpenQuery(query, "select codice from clienti order by codice");
    EXPECT_EQ(WalkCodes(query), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(query.RecordCount(), 3);
    OpenQuery(query, "select codice from clienti order by id desc");
    EXPECT_EQ(WalkCodes(query), (std::vector<std::string>{"A", "C", "B"}));
    query.Close();
    OpenQuery(query, "select codice from clienti where codice='Z'");
    EXPECT_TRUE(query.IsEmpty());
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.FieldByName("codice")->AsString(), "");
    EXPECT_TRUE(query.FieldByName("codice")->IsNull());
    EXPECT_EQ(WalkCodes(query), std::vector<std::string>{});
}

TEST_F(QueryTest, NavigationSetsBofAndEof)
{
    for (const char* code : {"A", "B"})
        Exec(query, AnsiString("insert into clienti (codice) values('") + code + "')");
    OpenQuery(query, "select codice from clienti order by codice");
    TField* codice = query.Fields(0);
    struct Step {
        void (TDataSet::*move)();
        const char* code;
        bool bof, eof;
        int recNo;
    };
    const Step steps[] = {
        {&TDataSet::First, "A", true, false, 1}, {&TDataSet::Next, "B", false, false, 2},
        {&TDataSet::Next, "B", false, true, 2},  {&TDataSet::Prior, "A", false, false, 1},
        {&TDataSet::Prior, "A", true, false, 1}, {&TDataSet::Last, "B", false, true, 2},
    };
    for (const Step& s : steps) {
        (query.*s.move)();
        EXPECT_EQ(codice->AsString(), s.code);
        EXPECT_EQ(query.Bof(), s.bof) << s.code;
        EXPECT_EQ(query.Eof(), s.eof) << s.code;
        EXPECT_EQ(query.RecNo(), s.recNo);
    }
}

TEST_F(QueryTest, FieldLookupIgnoresCaseAndReportsMissingNames)
{
    OpenQuery(query, "select codice, citt\xE0 from clienti");
    EXPECT_EQ(query.FieldCount(), 2);
    EXPECT_EQ(query.FieldByName("CODICE"), query.Fields(0));
    EXPECT_EQ(query.FieldByName("citt\xE0")->FieldNo(), 2);
    EXPECT_EQ(query.FindField("nome"), nullptr);
    EXPECT_EQ(DatabaseErrorOf([&] { query.FieldByName("nome"); }), "Field 'nome' not found");
    EXPECT_THROW(query.Fields(2), EListError);
    query.Close();
    EXPECT_EQ(query.FieldCount(), 0);
}

TEST_F(QueryTest, ValuesReadAsTextAndAsNumbers)
{
    Exec(query, "insert into clienti (codice,nome,citt\xE0,fido,sconto,attivo,giorni) "
                "values('C1',NULL,'Forl\xEC',1500,2.5,1,30)");
    OpenQuery(query, "select * from clienti");
    const struct {
        const char* field;
        const char* text;
        TFieldType type;
        int size;
    } cases[] = {
        {"id", "1", ftAutoInc, 0},          {"codice", "C1", ftString, 20},     {"nome", "", ftString, 40},
        {"citt\xE0", "Forl\xEC", ftString, 30}, {"fido", "1500", ftCurrency, 0}, {"sconto", "2.5", ftFloat, 0},
        {"attivo", "True", ftBoolean, 0},    {"giorni", "30", ftSmallint, 0},
    };
    for (const auto& c : cases) {
        TField* f = query.FieldByName(c.field);
        EXPECT_EQ(f->AsString(), c.text) << c.field;
        EXPECT_EQ(f->DataType(), c.type) << c.field;
        EXPECT_EQ(f->Size(), c.size) << c.field;
    }
    EXPECT_EQ(query.FieldByName("giorni")->AsInteger(), 30);
    EXPECT_DOUBLE_EQ(query.FieldByName("sconto")->AsFloat(), 2.5);
    EXPECT_EQ(query.FieldByName("sconto")->AsInteger(), 2); // 2.5 rounds to even
    EXPECT_TRUE(query.FieldByName("attivo")->AsBoolean());
    EXPECT_EQ(query.FieldByName("nome")->AsInteger(), 0);
    EXPECT_THROW(query.FieldByName("codice")->AsInteger(), EConvertError);
    EXPECT_THROW(query.FieldByName("codice")->AsBoolean(), EDatabaseError);

    TFormatSettings italian;
    italian.DecimalSeparator = ',';
    TFormatSettingsOverride scope(italian);
    EXPECT_EQ(query.FieldByName("sconto")->AsString(), "2,5");
}

// Text the code page cannot hold reads with '?' in its place, says so, and is still there
// as the database holds it; text the code page holds is not marked.
TEST_F(QueryTest, TextTheCodePageCannotHoldIsMarkedAndKeptInUtf8)
{
    Exec(query, "insert into clienti (codice,nome,citt\xE0) values('C1', char(321) || 'ukasz', 'Forl\xEC')");
    OpenQuery(query, "select codice, nome, citt\xE0 from clienti");
    const struct {
        const char* field;
        const char* text;
        bool changed;
        const char* utf8;
    } cases[] = {
        {"codice", "C1", false, "C1"},
        {"nome", "?ukasz", true, "\xC5\x81ukasz"},
        {"citt\xE0", "Forl\xEC", false, "Forl\xC3\xAC"},
    };
    for (const auto& c : cases) {
        TField* f = query.FieldByName(c.field);
        EXPECT_EQ(f->AsString(), c.text) << c.field;
        EXPECT_EQ(f->TextChanged(), c.changed) << c.field;
        EXPECT_EQ(f->AsUtf8(), c.utf8) << c.field;
    }
}

TEST_F(QueryTest, FailingStatementsRaiseEngineErrors)
{
    Exec(query, "insert into clienti (codice) values('C1')");
    const struct {
        const char* sql;
        const char* fragment;
    } cases[] = {
        {"insert into clienti (codice) values('C1')", "UNIQUE"},
        {"insert into clienti (nessuna) values('C2')", "nessuna"},
        {"insert into clienti (codice) values('C2'); insert into clienti (codice) values('C3')", "one statement"},
        {"update clienti set codice='X' where", "incomplete input"},
        {"update clienti set codice='X' were codice='Y'", "syntax error"},
    };
    for (const auto& c : cases) {
        try {
            Exec(query, c.sql);
            ADD_FAILURE() << c.sql;
        } catch (const EDBEngineError& e) {
            EXPECT_NE(e.Message().str().find(c.fragment), std::string::npos) << c.sql << ": " << e.Message().str();
        }
    }
    OpenQuery(query, "select codice from clienti");
    EXPECT_EQ(WalkCodes(query), std::vector<std::string>{"C1"});
}

TEST_F(QueryTest, OpeningAStatementWithoutRowsRaisesAndRunsNothing)
{
    Exec(query, "insert into clienti (codice) values('C1')");
    EXPECT_THROW(OpenQuery(query, "delete from clienti"), EDBEngineError);
    EXPECT_FALSE(query.Active());
    OpenQuery(query, "select count(*) as n from clienti");
    EXPECT_EQ(query.FieldByName("n")->AsInteger(), 1);
}

TEST_F(QueryTest, StatementRulesOfTheQuery)
{
    OpenQuery(query, "select codice from clienti");
    EXPECT_EQ(DatabaseErrorOf([&] { query.ExecSQL(); }), SDataSetOpen);
    query.SQL()->Clear(); // a new statement closes the query
    EXPECT_FALSE(query.Active());
    EXPECT_EQ(DatabaseErrorOf([&] { query.ExecSQL(); }), SNoSQLStatement);
    Exec(query, "insert into clienti (codice) values('A')");
    EXPECT_EQ(query.RowsAffected(), 1);
    Exec(query, "update clienti set nome='x' where codice='a'"); // '=' on text is case-sensitive
    EXPECT_EQ(query.RowsAffected(), 0);
    TQuery stray(nullptr);
    stray.SetDatabaseName("NoSuchName");
    EXPECT_EQ(DatabaseErrorOf([&] { OpenQuery(stray, "select 1"); }), "Unknown database: 'NoSuchName'");
}

TEST_F(QueryTest, ClosingTheDatabaseClosesItsQueries)
{
    OpenQuery(query, "select codice from clienti");
    EXPECT_EQ(paradox.DataSetCount(), 1);
    EXPECT_THROW(paradox.SetDriverName("MSACCESS"), EDatabaseError);
    paradox.SetConnected(false);
    EXPECT_FALSE(query.Active());
    EXPECT_EQ(paradox.DataSetCount(), 0);
    paradox.Params()->Clear();
    paradox.Params()->Add("PATH=" + folder / "missing");
    EXPECT_THROW(OpenQuery(query, "select codice from clienti"), EDBEngineError);
    EXPECT_FALSE(paradox.Connected());
}

TEST_F(QueryTest, TransactionsCommitAndRollBack)
{
    paradox.Close();
    EXPECT_EQ(DatabaseErrorOf([&] { paradox.StartTransaction(); }), SDatabaseClosed);
    paradox.Open();
    paradox.StartTransaction();
    EXPECT_TRUE(paradox.InTransaction());
    Exec(query, "insert into clienti (codice) values('A')");
    Exec(query, "ALTER TABLE 'clienti.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY");
    paradox.Rollback();
    EXPECT_FALSE(paradox.InTransaction());
    EXPECT_THROW(OpenQuery(query, "select CheckA from clienti"), EDBEngineError);
    OpenQuery(query, "select codice from clienti");
    EXPECT_TRUE(query.IsEmpty());

    paradox.StartTransaction();
    Exec(query, "insert into clienti (codice) values('B')");
    paradox.Commit();
    EXPECT_THROW(paradox.Commit(), EDBEngineError);
    OpenQuery(query, "select codice from clienti");
    EXPECT_EQ(WalkCodes(query), std::vector<std::string>{"B"});
}

TEST_F(QueryTest, ClosingInATransactionRollsItBack)
{
    paradox.Open();
    paradox.StartTransaction();
    Exec(query, "insert into clienti (codice) values('A')");
    paradox.Close();
    EXPECT_FALSE(paradox.InTransaction());
    OpenQuery(query, "select codice from clienti");
    EXPECT_TRUE(query.IsEmpty());
    EXPECT_FALSE(paradox.InTransaction());
}

class AccessTest : public DbFixture {
protected:
    AccessTest()
    {
        {
            DbiConnection maker(folder / "dbVendaroBase4.mdb", SqlDialect::Access, false, true);
            maker.Execute("CREATE TABLE tblArticoli (IDArticolo COUNTER, sCodInterno TEXT(30))");
            maker.Execute("insert into tblArticoli (sCodInterno) values('A1')");
        }
        // Set up as the import program sets its source database.
        source.SetDatabaseName("PVenDar4");
        source.SetDriverName("MSACCESS");
        source.SetKeepConnection(false);
        source.SetLoginPrompt(false);
        source.SetReadOnly(true);
        source.Params()->Add("DATABASE NAME=" + folder / "dbVendaroBase4.mdb");
        source.Params()->Add("OPEN MODE=READ/WRITE");
        sourceQuery.SetDatabaseName("PVenDar4");
    }
    TDatabase source{nullptr};
    TQuery sourceQuery{nullptr};
};

TEST_F(AccessTest, ReadOnlySourceAnswersQueriesAndRefusesWrites)
{
    source.Open();
    EXPECT_TRUE(source.Connected());
    OpenQuery(sourceQuery, "select * from tblArticoli order by idarticolo");
    EXPECT_EQ(sourceQuery.FieldByName("sCodInterno")->AsString(), "A1");
    sourceQuery.Close();
    EXPECT_FALSE(source.Connected()); // no KeepConnection: the last query took it down
    EXPECT_NE(DatabaseErrorOf([&] { Exec(sourceQuery, "delete from tblArticoli"); }).str().find("readonly"),
              std::string::npos);
    EXPECT_FALSE(source.Connected());
    OpenQuery(sourceQuery, "select count(*) as n from tblArticoli");
    EXPECT_EQ(sourceQuery.FieldByName("n")->AsString(), "1");
}

TEST_F(AccessTest, MissingOrInvalidFilesFailToConnect)
{
    const std::string invalid = folder / "invalid.mdb";
    std::FILE* f = std::fopen(invalid.c_str(), "w");
    std::fputs("Standard Jet DB: not an engine file, only text long enough for a header check.", f);
    std::fclose(f);
    for (const std::string& file : {folder / "missing.mdb", invalid}) {
        source.Params()->Clear();
        source.Params()->Add("DATABASE NAME=" + file);
        EXPECT_THROW(source.Open(), EDBEngineError) << file;
        EXPECT_FALSE(source.Connected());
    }
}

TEST(Session, DefaultSessionFindsDatabasesByName)
{
    EXPECT_EQ(Session()->SessionName(), "Default");
    EXPECT_EQ(FindSession(""), Session());
    TDatabase a(nullptr), b(nullptr);
    a.SetDatabaseName("VenDar5");
    b.SetDatabaseName("SVenDar5");
    b.SetSessionName("Default");
    EXPECT_EQ(Session()->FindDatabase("vendar5"), &a);
    EXPECT_EQ(Session()->FindDatabase("SVENDAR5"), &b);
    EXPECT_EQ(Session()->FindDatabase("PVenDar4"), nullptr);
    EXPECT_THROW(FindSession("Reports"), EDatabaseError);
    TSession reports(nullptr);
    reports.SetSessionName("Reports");
    TDatabase c(nullptr);
    c.SetDatabaseName("VenDar5");
    c.SetSessionName("Reports");
    EXPECT_EQ(FindSession("reports")->FindDatabase("VenDar5"), &c);
    EXPECT_EQ(Session()->FindDatabase("VenDar5"), &a);
    EXPECT_EQ(reports.DatabaseCount(), 1);
    EXPECT_EQ(reports.Databases(0), &c);
}

TEST(PublishedProperties, DatabaseComponentsAreSetByName)
{
    TDatabase db(nullptr);
    SetStrProp(&db, "DatabaseName", "PVenDar4");
    SetStrProp(&db, "DriverName", "MSACCESS");
    SetOrdProp(&db, "ReadOnly", 1);
    SetOrdProp(&db, "KeepConnection", 0);
    SetOrdProp(&db, "LoginPrompt", 0);
    static_cast<TStrings*>(GetObjectProp(&db, "Params"))->Add("OPEN MODE=READ/WRITE");
    EXPECT_EQ(db.DatabaseName(), "PVenDar4");
    EXPECT_EQ(db.DriverName(), "MSACCESS");
    EXPECT_TRUE(db.ReadOnly());
    EXPECT_FALSE(db.KeepConnection());
    EXPECT_FALSE(db.LoginPrompt());
    EXPECT_EQ(db.Params()->Strings(0), "OPEN MODE=READ/WRITE");
    EXPECT_EQ(GetOrdProp(&db, "Connected"), 0);

    TQuery q(nullptr);
    SetStrProp(&q, "DatabaseName", "PVenDar5");
    SetOrdProp(&q, "RequestLive", 1);
    static_cast<TStrings*>(GetObjectProp(&q, "SQL"))->Add("select 1");
    EXPECT_EQ(q.DatabaseName(), "PVenDar5");
    EXPECT_TRUE(q.RequestLive());
    EXPECT_EQ(q.SQL()->Text(), "select 1\r\n");
    EXPECT_NE(GetPropInfo(&q, "Active"), nullptr);
}

} // namespace
