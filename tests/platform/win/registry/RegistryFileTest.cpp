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

TEST(RegistryFile, DamagedLinesAreSkipped)
{
    struct Case { const char* text; const char* expected; };
    const Case cases[] = {
        {"VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\\X\nV 0000001 41 bad-type\nV 00000001 4 odd\nV 00000001 41 ok\n",
         "VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\\X\nV 00000001 41 ok\n"},
        {"VENDARO-REGISTRY 1\nK HKEY_NOWHERE\\X\nV 00000001 41 lost\nK HKEY_CURRENT_USER\\\\Y\n",
         "VENDARO-REGISTRY 1\n"},
        {"VENDARO-REGISTRY 1\r\nK HKEY_CURRENT_USER\\%zz\r\nK HKEY_CURRENT_USER\\Z\r\n",
         "VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\\Z\n"},
        {"something else\nK HKEY_CURRENT_USER\\X\n", "VENDARO-REGISTRY 1\n"},
        {"", "VENDARO-REGISTRY 1\n"},
        {"VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\\a%5Cb\nV 00000001 41 lost\nK HKEY_CURRENT_USER\\c\n",
         "VENDARO-REGISTRY 1\nK HKEY_CURRENT_USER\\c\n"},
    };
    for (const auto& c : cases) {
        const auto roots = TwoRoots();
        ParseRegistryText(c.text, roots);
        EXPECT_EQ(FormatRegistryText(roots), c.expected) << c.text;
    }
}

} // namespace
