#include "platform/dbengine/LiteralParameters.h"


#include <gtest/gtest.h>

TEST(LiteralParameters, LiftsOnlyLiteralsThatStandAsValues)
{
    struct Case { const char* sql; const char* lifted; std::size_t count; };
    const Case cases[] = {
        {"insert into t (a,b) values('x''y',5)", "insert into t (a,b) values(?,?)", 2},
        {"update g set q=1.5, m=2 where id=7 and w<>3", "update g set q=?, m=? where id=? and w<>?", 4},
        {"select codice from clienti where codice='A1'", "select codice from clienti where codice=?", 1},
        // Column positions and limits keep their meaning.
        {"select a from t order by 1 limit 5", "select a from t order by 1 limit 5", 0},
        // A literal inside a call within VALUES is left as it is.
        {"insert into t values(lower('A'),'b')", "insert into t values(lower('A'),?)", 1},
        // A number too large for an integer is left to the engine.
        {"select a from t where a=99999999999999999999", "select a from t where a=99999999999999999999", 0},
        // Table definitions are never rewritten.
        {"create table t (a varchar(5) default 'x')", "create table t (a varchar(5) default 'x')", 0},
    };
    for (const Case& c : cases) {
        const ParameterizedSql p = ParameterizeLiterals(c.sql);
        EXPECT_EQ(p.sql, c.lifted) << c.sql;
        EXPECT_EQ(p.values.size(), c.count) << c.sql;
    }
}

TEST(LiteralParameters, ValuesAreReadExactly)
{
    const ParameterizedSql p = ParameterizeLiterals("insert into t values('it''s','',-0,12,2.50)");
    ASSERT_EQ(p.values.size(), 4u);  // -0: the sign is an operator, the literal stays in the text
    EXPECT_EQ(p.values[0].text, "it's");
    EXPECT_EQ(p.values[1].kind, SqlLiteral::Kind::Text);
    EXPECT_EQ(p.values[1].text, "");
    EXPECT_EQ(p.values[2].integer, 12);
    EXPECT_EQ(p.values[3].kind, SqlLiteral::Kind::Real);
    EXPECT_DOUBLE_EQ(p.values[3].real, 2.5);
}
