#include "platform/win/registry/RegistryFile.h"

#include <gtest/gtest.h>

namespace {

RegistryRoots TwoRoots()
{
    return {std::make_shared<RegistryKey>("HKEY_CURRENT_USER"), std::make_shared<RegistryKey>("HKEY_LOCAL_MACHINE")};
}

TEST(RegistryFile, WritesTheDocumentedLines)
{
    const auto roots = TwoRoots();
    bool created;
    auto acme = roots[0]->AddSubKey("Software", created)->AddSubKey("Acme Co", created);
    acme->SetValue("Name", 1, std::string("Acme\0", 5));
    acme->SetValue("", 3, "");
    roots[1]->AddSubKey("Empty", created);
    roots[1]->SetValue("%", 4, std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(FormatRegistryText(roots), "VENDARO-REGISTRY 1\n"
                                         "K HKEY_CURRENT_USER\\Software\\Acme%20Co\n"
                                         "V 00000001 41636D6500 Name\n"
                                         "V 00000003 - \n"
                                         "K HKEY_LOCAL_MACHINE\n"
                                         "V 00000004 01000000 %25\n"
                                         "K HKEY_LOCAL_MACHINE\\Empty\n");
}

TEST(RegistryFile, ReadsBackWhatItWrote)
{
    const auto written = TwoRoots();
    bool created;
    auto key = written[0]->AddSubKey("A", created)->AddSubKey("b\xE9", created);
    key->SetValue(std::string("\r\n\x01 x", 5), 7, std::string("one\0two\0\0", 9));
    const auto read = TwoRoots();
    ParseRegistryText(FormatRegistryText(written), read);
    EXPECT_EQ(FormatRegistryText(read), FormatRegistryText(written));
    const auto found = read[0]->FindSubKey("a")->FindSubKey("B\xE9");
    ASSERT_NE(found, nullptr);
    const RegistryValue* value = found->FindValue(std::string("\r\n\x01 X", 5));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, 7u);
    EXPECT_EQ(value->data, std::string("one\0two\0\0", 9));
}

TEST(RegistryFile, AByteOrderMarkIsAcceptedAndAnythingElseRefused)
{
    const auto roots = TwoRoots();
    EXPECT_TRUE(ParseRegistryText("\xEF\xBB\xBFVENDARO-REGISTRY 1\r\nK HKEY_CURRENT_USER\\X\r\n", roots));
    EXPECT_NE(roots[0]->FindSubKey("X"), nullptr);
    EXPECT_TRUE(ParseRegistryText("VENDARO-REGISTRY 1", roots));
    const char* const refused[] = {"", "\xEF\xBB\xBF", "\xEF\xBBVENDARO-REGISTRY 1\n", " VENDARO-REGISTRY 1\n",
                                   "VENDARO-REGISTRY 2\nK HKEY_CURRENT_USER\\Y\n", "vendaro-registry 1\n"};
    for (const char* text : refused) {
        EXPECT_FALSE(ParseRegistryText(text, roots)) << text;
        EXPECT_EQ(roots[0]->FindSubKey("Y"), nullptr);
    }
}

TEST(RegistryFile, AFileWithALineThatDoesNotReadIsRefusedWhole)
{
    using namespace std::string_literals;
    // Skipping such a line would lose it for good at the next write of the tree.
    const std::string good = "VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\\X\nV 00000001 41 ok\n";
    const std::string damaged[] = {
        "V 0000001 41 short-type\n", "V 00000001 4 odd-data\n", "V 00000001 4G bad-digit\n",
        "V 0000000G 41 bad-type\n", "V 00000001 41\n", "V 00000001 41 bad%zz\n",
        "K HKEY_NOWHERE\\X\n", "K HKEY_CURRENT_USER\\\\Y\n", "K HKEY_CURRENT_USER\\%zz\n",
        "K HKEY_CURRENT_USER\\a%5Cb\n", "K HKEY_CURRENT_USER\\\n", "K \n", "comment\n", " \n",
        // A NUL in a name, raw or escaped: the registry calls would cut the name there.
        "K HKEY_CURRENT_USER\\A\0B\n"s, "K HKEY_CURRENT_USER\\A%00B\n",
        "V 00000001 41 Caption\0\n"s, "V 00000001 41 Caption%00\n",
    };
    for (const auto& line : damaged) {
        const auto roots = TwoRoots();
        EXPECT_FALSE(ParseRegistryText(good + line, roots)) << line;
        EXPECT_EQ(FormatRegistryText(roots), "VENDARO-REGISTRY 1\n") << line;
    }
    const auto first = TwoRoots();
    EXPECT_FALSE(ParseRegistryText("VENDARO-REGISTRY 1\nV 00000001 41 before-any-key\n", first));

    // Empty lines carry nothing and are no damage.
    const auto roots = TwoRoots();
    EXPECT_TRUE(ParseRegistryText("VENDARO-REGISTRY 1\r\n\r\nK HKEY_CURRENT_USER\\X\n\nV 00000001 41 ok\n\n", roots));
    EXPECT_EQ(FormatRegistryText(roots), good);
}

} // namespace
