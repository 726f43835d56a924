#include "importa/Statements.h"

#include <gtest/gtest.h>

TEST(Statements, QuotedValuesDoubleEveryQuote)
{
    EXPECT_EQ(Quoted(""), "''");
    EXPECT_EQ(Quoted("Forl\xEC"), "'Forl\xEC'");
    EXPECT_EQ(Quoted("it's"), "'it''s'");
    EXPECT_EQ(Quoted("'"), "''''");
    EXPECT_EQ(Quoted("''a'"), "'''''a'''");
    EXPECT_EQ(QuotedList({"a", "", "b'c"}), "'a','','b''c'");
}
