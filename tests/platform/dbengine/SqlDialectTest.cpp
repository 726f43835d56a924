#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/DbiResult.h"
#include "platform/dbengine/SqlDialect.h"

#include <gtest/gtest.h>

namespace {

struct Translation {
    const char* input;
    SqlDialect dialect;
    std::vector<std::string> expected;
};

class SqlDialectTranslates : public ::testing::TestWithParam<Translation> {};

TEST_P(SqlDialectTranslates, IntoEngineStatements)
{
    const Translation& t = GetParam();
    EXPECT_EQ(TranslateStatement(t.input, t.dialect), t.expected) << t.input;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SqlDialectTranslates,
    ::testing::Values(
        Translation{"ALTER TABLE 'clienti.db' ADD CheckA SMALLINT", SqlDialect::Paradox,
                    {"ALTER TABLE \"clienti\" ADD COLUMN CheckA SMALLINT"}},
        Translation{"ALTER TABLE 'documenti.db' ADD CheckA SMALLINT, ADD Ritenuta MONEY", SqlDialect::Paradox,
                    {"ALTER TABLE \"documenti\" ADD COLUMN CheckA SMALLINT",
                     "ALTER TABLE \"documenti\" ADD COLUMN Ritenuta MONEY"}},
        Translation{"ALTER TABLE t ADD COLUMN a NUMERIC(10,2), DROP b, add c CHAR(5) DEFAULT 'x, y'",
                    SqlDialect::Paradox,
                    {"ALTER TABLE t ADD COLUMN a NUMERIC(10,2)", "ALTER TABLE t DROP COLUMN b",
                     "ALTER TABLE t ADD COLUMN c CHAR(5) CONSTRAINT \"value too long for column c (5)\" "
                     "CHECK (length(c) <= 5) DEFAULT 'x, y'"}},
        Translation{"ALTER TABLE [Nota di credito-Intestazione] ADD COLUMN Ritenuta TEXT (255)", SqlDialect::Access,
                    {"ALTER TABLE [Nota di credito-Intestazione] ADD COLUMN Ritenuta TEXT (255) CONSTRAINT "
                     "\"value too long for column Ritenuta (255)\" CHECK (length(Ritenuta) <= 255)"}},
        Translation{"select * from 'DDT.db' where nome='a.db' order by id", SqlDialect::Paradox,
                    {"select * from \"DDT\" where nome='a.db' order by id"}},
        Translation{"insert into 'clienti.DB' (codice) values('x.db')", SqlDialect::Paradox,
                    {"insert into \"clienti\" (codice) values('x.db')"}},
        Translation{"select c.a from \"clienti.db\" c, 'fornitori.db' f where c.a in (select a from 'x.db')",
                    SqlDialect::Paradox,
                    {"select c.a from \"clienti\" c, \"fornitori\" f where c.a in (select a from \"x\")"}},
        Translation{"update 'ddt.db' set CheckA = 0, ritenuta = 0", SqlDialect::Paradox,
                    {"update \"ddt\" set CheckA = 0, ritenuta = 0"}},
        Translation{"delete from 'studio.db'", SqlDialect::Paradox, {"delete from \"studio\""}},
        Translation{"CREATE TABLE IF NOT EXISTS 'articoli.db' (id AUTOINC, codice CHAR(20))", SqlDialect::Paradox,
                    {"CREATE TABLE IF NOT EXISTS \"articoli\" (id INTEGER PRIMARY KEY AUTOINCREMENT, codice CHAR(20) "
                     "CONSTRAINT \"value too long for column codice (20)\" CHECK (length(codice) <= 20))"}},
        Translation{"CREATE TABLE t (\"citt\xE0\" VARCHAR(3) NOT NULL, n NUMERIC(10,2), m MEMO, "
                    "PRIMARY KEY (n), CHECK (n > 0))",
                    SqlDialect::Paradox,
                    {"CREATE TABLE t (\"citt\xC3\xA0\" VARCHAR(3) CONSTRAINT \"value too long for column citt\xC3\xA0 (3)\" "
                     "CHECK (length(\"citt\xC3\xA0\") <= 3) NOT NULL, n NUMERIC(10,2), m MEMO TEXT, PRIMARY KEY (n), CHECK (n > 0))"}},
        // A table named through the schema of an attached database.
        Translation{"ALTER TABLE report.[DDT-Intestazione] ADD COLUMN Ritenuta TEXT (255), ADD Nota MEMO",
                    SqlDialect::Paradox,
                    {"ALTER TABLE report.[DDT-Intestazione] ADD COLUMN Ritenuta TEXT (255) CONSTRAINT "
                     "\"value too long for column Ritenuta (255)\" CHECK (length(Ritenuta) <= 255)",
                     "ALTER TABLE report.[DDT-Intestazione] ADD COLUMN Nota MEMO TEXT"}},
        // The engine would take these text types for numbers: they get its TEXT after their name.
        Translation{"CREATE TABLE t (a ALPHA(2), m memo, c CHAR(2), l LONGTEXT, v VARCHAR(2), n NUMERIC)",
                    SqlDialect::Paradox,
                    {"CREATE TABLE t (a ALPHA TEXT(2) CONSTRAINT \"value too long for column a (2)\" CHECK "
                     "(length(a) <= 2), m memo TEXT, c CHAR(2) CONSTRAINT \"value too long for column c (2)\" CHECK "
                     "(length(c) <= 2), l LONGTEXT, v VARCHAR(2) CONSTRAINT \"value too long for column v (2)\" "
                     "CHECK (length(v) <= 2), n NUMERIC)"}},
        Translation{"CREATE TABLE [Fattura-Intestazione] (ID COUNTER, Numero LONG)", SqlDialect::Access,
                    {"CREATE TABLE [Fattura-Intestazione] (ID INTEGER PRIMARY KEY AUTOINCREMENT, Numero LONG)"}},
        Translation{"CREATE INDEX ix ON 'clienti.db' (codice)", SqlDialect::Paradox,
                    {"CREATE INDEX ix ON \"clienti\" (codice)"}},
        Translation{"select * from 'tbl.db'", SqlDialect::Access, {"select * from \"tbl.db\""}},
        Translation{"select 'it''s' from t;  ", SqlDialect::Paradox, {"select 'it''s' from t"}},
        Translation{"select a -- note; with a semicolon\n from t", SqlDialect::Paradox,
                    {"select a -- note; with a semicolon\n from t"}},
        Translation{"insert into studio (citt\xE0) values('perch\xE9')", SqlDialect::Paradox,
                    {"insert into studio (citt\xC3\xA0) values('perch\xC3\xA9')"}}));

class SqlDialectRefuses : public ::testing::TestWithParam<const char*> {};

TEST_P(SqlDialectRefuses, WithAnEngineError)
{
    EXPECT_THROW(TranslateStatement(GetParam(), SqlDialect::Paradox), EDbiError) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Cases, SqlDialectRefuses,
                         ::testing::Values("", "   ", ";", "delete from a; delete from b", "select 1;;select 2",
                                           "select 'open", "select [open", "select \"open", "select 1 /* open",
                                           "ALTER TABLE t ADD", "CREATE TABLE t (a CHAR(4294967297))",
                                           "CREATE TABLE t (a VARCHAR(1e20))", "CREATE TABLE t (a CHAR(-5))",
                                           "CREATE TABLE t (a CHAR(0))", "CREATE TABLE t (a TEXT(65536))",
                                           "CREATE TABLE t (a ALPHA(2.5))", "ALTER TABLE t ADD a CHAR(x)"));

TEST(SqlDialect, DeclaredLengthsAreParsedStrictly)
{
    EXPECT_EQ(TranslateStatement("CREATE TABLE t (a CHAR(65535))", SqlDialect::Paradox),
              std::vector<std::string>{"CREATE TABLE t (a CHAR(65535) CONSTRAINT \"value too long for column a "
                                       "(65535)\" CHECK (length(a) <= 65535))"});
    const std::pair<const char*, int> columns[] = {{"CHAR(20)", 20}, {"VARCHAR(4294967297)", 0}, {"CHAR(-5)", 0},
                                                   {"TEXT(1e20)", 0}, {"CHAR( 7 )", 7}, {"CHAR(", 0}};
    for (const auto& [declared, size] : columns)
        EXPECT_EQ(DescribeDeclaredType("c", declared).size, size) << declared;
}

TEST(SqlDialect, SecondStatementMessageSaysWhy)
{
    try {
        TranslateStatement("delete from a; delete from b", SqlDialect::Paradox);
        FAIL() << "no error";
    } catch (const EDbiError& e) {
        EXPECT_NE(e.Message().str().find("one statement"), std::string::npos) << e.Message().str();
    }
}

} // namespace
