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

TEST(Statements, CharactersAreReplacedAndDroppedAsReplaceAllDoes)
{
    for (const char* text : {"", "l'albero, il ramo", "'',,'", "senza"}) {
        AnsiString replaced = text;
        ReplaceChar(replaced, '\'', '`');
        EXPECT_EQ(replaced, ReplaceAll(text, "'", "`")) << text;
        AnsiString dropped = text;
        DropChar(dropped, ',');
        EXPECT_EQ(dropped, ReplaceAll(text, ",", "")) << text;
    }
}
