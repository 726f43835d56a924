#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/StatementCache.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class StatementCacheTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK); }
    void TearDown() override
    {
        cache.Clear();
        sqlite3_close(db);
    }
    sqlite3* db = nullptr;
    StatementCache cache{2};
};

TEST_F(StatementCacheTest, KeepsTheMostRecentStatements)
{
    sqlite3_stmt* one = cache.Prepare(db, "select 1");
    EXPECT_EQ(cache.Prepare(db, "select 1"), one);
    cache.Prepare(db, "select 2");
    cache.Prepare(db, "select 1"); // now the most recent
    cache.Prepare(db, "select 3"); // pushes out "select 2"
    EXPECT_EQ(cache.Size(), 2u);
    EXPECT_EQ(cache.Prepare(db, "select 1"), one);
}

TEST_F(StatementCacheTest, RefusesBadOrTrailingText)
{
    EXPECT_THROW(cache.Prepare(db, "select from"), EDbiError);
    EXPECT_THROW(cache.Prepare(db, "select 1; select 2"), EDbiError);
    EXPECT_THROW(cache.Prepare(db, "  "), EDbiError);
    EXPECT_THROW(cache.Prepare(db, std::string("select 1\0 select 2", 18)), EDbiError);
    EXPECT_NO_THROW(cache.Prepare(db, "select 1;  "));
    EXPECT_EQ(cache.Size(), 1u);
}

} // namespace
