#include "platform/dbengine/TranslationCache.h"

#include "platform/dbengine/DbiError.h"
#include "platform/rtl/AnsiString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the text gives without any cache: translated, then its value literals lifted.
ParameterizedSql Uncached(const AnsiString& sql, SqlDialect dialect)
{
    const std::vector<std::string> statements = TranslateStatement(sql, dialect);
    return statements.size() == 1 ? ParameterizeLiterals(statements.front()) : ParameterizedSql{};
}

void ExpectSame(const ParameterizedSql& got, const ParameterizedSql& want, const char* what)
{
    EXPECT_EQ(got.sql, want.sql) << what;
    EXPECT_EQ(got.values, want.values) << what;
}

TEST(TranslationCache, EveryStatementGetsTheTranslationItWouldGetAlone)
{
    const struct {
        const char* sql;
        SqlDialect dialect;
    } cases[] = {
        {"insert into 'clienti.db' (codice,citt\xE0) values('C1','Forl\xEC')", SqlDialect::Paradox},
        {"insert into 'clienti.db' (codice,citt\xE0) values('C2','it''s')", SqlDialect::Paradox},
        {"select codice from clienti where codice='C1'", SqlDialect::Paradox},
        {"select codice from clienti where codice=?", SqlDialect::Paradox},
        {"select codice from clienti where codice='?'", SqlDialect::Paradox},
        {"update giacenze set giacenza=1.5, GiacenzaMin=2 where idarticolo=7 and idmagazzino=1",
         SqlDialect::Paradox},
        {"update giacenze set giacenza=3, GiacenzaMin=2.25 where idarticolo=8 and idmagazzino=2",
         SqlDialect::Paradox},
        {"select * from [tbl Articoli] where IDArticolo=12 order by 1", SqlDialect::Access},
        {"select * from [tbl Articoli] where IDArticolo=13 order by 1", SqlDialect::Access},
        {"select 99999999999999999999999 from t where a=99999999999999999999999", SqlDialect::Paradox},
    };
    TranslationCache cache;
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& c : cases) {
            std::vector<std::string> several;
            const ParameterizedSql got = cache.Translate(c.sql, c.dialect, several);
            EXPECT_TRUE(several.empty()) << c.sql;
            ExpectSame(got, Uncached(c.sql, c.dialect), c.sql);
        }
    // Statements differing only in their values share one shape, whatever the values'
    // kinds; a '?' written in the text and a number too large to lift make shapes of their own.
    EXPECT_EQ(cache.Size(), 6u);
}

TEST(TranslationCache, StatementsOfOneSkeletonWhoseLiteralsDecideOtherwiseGetTheirOwn)
{
    // Each pair differs only inside its literals, and the second's lift as the first's do not.
    const char* const pairs[][2] = {
        {"select a from t where a=5 and b='x'", "select a from t where a=99999999999999999999999 and b='y'"},
        {"select a from t where a=99999999999999999999999", "select a from t where a=7"},
        {"select a from t where a=1.2.3", "select a from t where a=1.5"},
        {"select * from [tbl Articoli] where IDArticolo=12 order by 1",
         "select * from [tbl Articoli] where IDArticolo=12 order by 2"},
        {"insert into 'clienti.db' (codice,citt\xE0) values('C1','Forl\xEC')",
         "insert into 'clienti.db' (codice,citt\xE0) values('\x80''s','')"},
    };
    for (const auto& pair : pairs) {
        TranslationCache cache;
        for (int pass = 0; pass < 2; ++pass)
            for (const char* sql : pair) {
                std::vector<std::string> several;
                ExpectSame(cache.Translate(sql, SqlDialect::Paradox, several), Uncached(sql, SqlDialect::Paradox), sql);
            }
    }
}

TEST(TranslationCache, ADefinitionOfTheSameSkeletonIsCheckedAgain)
{
    TranslationCache cache;
    std::vector<std::string> several;
    const AnsiString good = "CREATE TABLE t (a CHAR(10))";
    ExpectSame(cache.Translate(good, SqlDialect::Paradox, several), Uncached(good, SqlDialect::Paradox), "CHAR(10)");
    EXPECT_THROW(cache.Translate("CREATE TABLE t (a CHAR(99999999))", SqlDialect::Paradox, several), EDbiError);
    ExpectSame(cache.Translate(good, SqlDialect::Paradox, several), Uncached(good, SqlDialect::Paradox), "CHAR(10)");
}

TEST(TranslationCache, TheSameTextOfTheTwoDialectsGetsEachItsOwn)
{
    TranslationCache cache;
    const AnsiString sql = "select * from 'clienti.db' where a=1";
    for (int pass = 0; pass < 2; ++pass)
        for (SqlDialect dialect : {SqlDialect::Paradox, SqlDialect::Access}) {
            std::vector<std::string> several;
            ExpectSame(cache.Translate(sql, dialect, several), Uncached(sql, dialect), "dialect");
        }
}

TEST(TranslationCache, StatementsThatBecomeSeveralAreHandedBackWhole)
{
    TranslationCache cache;
    const AnsiString alter = "ALTER TABLE articoli ADD a INTEGER, ADD b CHAR(5)";
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::string> several;
        const ParameterizedSql got = cache.Translate(alter, SqlDialect::Paradox, several);
        EXPECT_EQ(several, TranslateStatement(alter, SqlDialect::Paradox));
        EXPECT_EQ(several.size(), 2u);
        EXPECT_TRUE(got.sql.empty());
    }
    EXPECT_EQ(cache.Size(), 0u);
}

TEST(TranslationCache, FaultyTextRaisesEveryTime)
{
    TranslationCache cache;
    for (const char* sql : {"select * from t where a='open", "select 1; drop table t", ""}) {
        std::vector<std::string> several;
        EXPECT_THROW(cache.Translate(sql, SqlDialect::Paradox, several), EDbiError) << sql;
        EXPECT_THROW(cache.Translate(sql, SqlDialect::Paradox, several), EDbiError) << sql;
    }
    EXPECT_EQ(cache.Size(), 0u);
}

} // namespace
