#include "platform/dbengine/SqlLexer.h"

#include "platform/dbengine/DbiError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<SqlToken> LiteralsOf(const std::vector<SqlToken>& tokens)
{
    std::vector<SqlToken> literals;
    for (const SqlToken& t : tokens)
        if (t.kind == SqlTokenKind::String || t.kind == SqlTokenKind::Number)
            literals.push_back(t);
    return literals;
}

std::string Skeleton(const std::string& sql)
{
    std::string skeleton;
    std::vector<SqlToken> literals;
    SqlSkeleton(sql, skeleton, literals);
    return skeleton;
}

TEST(SqlSkeleton, FindsTheLiteralsTheLexerFinds)
{
    const char* const texts[] = {
        "insert into t (a,b) values('x''y',5)",
        "select t1.a2 from t1 where b=.5 and c=1e5 and d=1ex and e=1.2.3 and f=2E+",
        "select 'a' -- it's a comment\n, \"q\"\"'\", [it's], /* 'x' 1 */ 7",
        "select a||'b' from t where x<>'' and y<=3 and z>>1",
        "update g set q=-1.5 where n='citt\xE0' and m=$1",
        "",
    };
    for (const char* text : texts) {
        std::string skeleton;
        std::vector<SqlToken> literals;
        SqlSkeleton(text, skeleton, literals);
        const std::vector<SqlToken> want = LiteralsOf(LexSql(text));
        ASSERT_EQ(literals.size(), want.size()) << text;
        for (std::size_t k = 0; k < want.size(); ++k) {
            EXPECT_EQ(literals[k].kind, want[k].kind) << text;
            EXPECT_EQ(literals[k].begin, want[k].begin) << text;
            EXPECT_EQ(literals[k].end, want[k].end) << text;
        }
    }
}

TEST(SqlSkeleton, IsSharedExactlyByTextsThatDifferInsideTheirLiterals)
{
    EXPECT_EQ(Skeleton("select a from t where b='x' and c=1"), Skeleton("select a from t where b='it''s' and c=2.5e3"));
    EXPECT_EQ(Skeleton("values(1,'a')"), std::string("values(\0n,\0s)", 13));
    // Anything else, the kind of a literal included, makes another skeleton.
    EXPECT_NE(Skeleton("select a from t where b='1'"), Skeleton("select a from t where b=1"));
    EXPECT_NE(Skeleton("select a from t where b=1"), Skeleton("select a from t where b= 1"));
    EXPECT_NE(Skeleton("select a from t where b=1 -- 'x'"), Skeleton("select a from t where b=1 -- 'y'"));
    EXPECT_NE(Skeleton("select \"a\" from t where b=1"), Skeleton("select \"b\" from t where b=1"));
    EXPECT_NE(Skeleton("select a1 from t"), Skeleton("select a2 from t"));
}

TEST(SqlSkeleton, RaisesWhereTheLexerRaises)
{
    for (const std::string& text : {std::string("select 'open"), std::string("select [a"), std::string("select /* x"),
                                   std::string("select \"a"), std::string("select 1\0 2", 10)}) {
        std::string skeleton;
        std::vector<SqlToken> literals;
        EXPECT_THROW(LexSql(text), EDbiError) << text;
        EXPECT_THROW(SqlSkeleton(text, skeleton, literals), EDbiError) << text;
    }
}

} // namespace
