#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/RtlConsts.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(Format, IntegerDirectives)
{
    EXPECT_EQ(Format("%d of %d", {3, 10}), "3 of 10");
    EXPECT_EQ(Format("%.5d: ", {1}), "00001: ");
    EXPECT_EQ(Format("%.5d", {-42}), "-00042");
    EXPECT_EQ(Format("%.5d", {123456}), "123456");
    EXPECT_EQ(Format("[%5d][%-5d]", {42, 42}), "[   42][42   ]");
    EXPECT_EQ(Format("%d", {std::int64_t{-9000000000}}), "-9000000000");
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%u", {std::int64_t{-1}}), "18446744073709551615");
    EXPECT_EQ(Format("%x %X", {255, 255}), "FF FF");
    EXPECT_EQ(Format("%.8X", {0xFD01}), "0000FD01");
    EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(Format("%*d|%-*d", {4, 7, 3, 8}), "   7|8  ");
}

TEST(Format, StringsAndPointers)
{
    const AnsiString name = "clienti";
    EXPECT_EQ(Format("%s", {name}), "clienti");
    EXPECT_EQ(Format("[%-15s]", {"abc"}), "[abc            ]");
    EXPECT_EQ(Format("[%6s]", {"abc"}), "[   abc]");
    EXPECT_EQ(Format("%.3s", {"abcdef"}), "abc");
    EXPECT_EQ(Format("%s%s", {'x', std::string("y")}), "xy");
    EXPECT_EQ(Format("100%% %s", {"done"}), "100% done");
    EXPECT_EQ(Format("%1:s-%0:s-%s", {"a", "b"}), "b-a-b");
    EXPECT_EQ(Format("no directives"), "no directives");
    const char bytes[] = {'a', '\0', 'b'};
    EXPECT_EQ(Format("%s", {AnsiString(bytes, 3)}), AnsiString(bytes, 3));

    EXPECT_EQ(Format("%p", {nullptr}), "00000000");
    const void* p = reinterpret_cast<const void*>(std::uintptr_t{0x1234ABCD});
    EXPECT_EQ(Format("%s, Address: %p", {"boom", p}), "boom, Address: 1234ABCD");
}

TEST(Format, FloatDirectives)
{
    EXPECT_EQ(Format("%f", {1234.5}), "1234.50");
    EXPECT_EQ(Format("%.0f", {2.5}), "3");      // text rounding takes halves away from zero
    EXPECT_EQ(Format("%.2f", {0.125}), "0.13");
    EXPECT_EQ(Format("%.2f", {1.005}), "1.00");   // 1.005 is slightly less in binary
    EXPECT_EQ(Format("%.3f", {-0.0005}), "-0.001");
    EXPECT_EQ(Format("%.1f", {0.04}), "0.0");
    EXPECT_EQ(Format("%8.2f|", {3.14159}), "    3.14|");
    EXPECT_EQ(Format("%e", {1234.5}), "1.23450000000000E+003");
    EXPECT_EQ(Format("%.3e", {-0.00012345}), "-1.23E-004");
    EXPECT_EQ(Format("%g", {0.1}), "0.1");
    EXPECT_EQ(Format("%g", {1234567.0}), "1234567");
    EXPECT_EQ(Format("%.3g", {1234567.0}), "1.23E006");
    EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
}

TEST(Format, MismatchAndMissingArgumentsRaise)
{
    struct Case { const char* format; const char* message; };
    const Case cases[] = {
        {"%d", "Format '%d' invalid or incompatible with argument"},
        {"%f", "Format '%f' invalid or incompatible with argument"},
        {"%q", "Format '%q' invalid or incompatible with argument"},
        {"abc %", "Format 'abc %' invalid or incompatible with argument"},
        {"%s %s", "No argument for format '%s %s'"},
    };
    for (const auto& c : cases) {
        try {
            Format(c.format, {"text"});
            ADD_FAILURE() << c.format;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_THROW(Format("%s", {42}), EConvertError);
    EXPECT_THROW(Format("%p", {42}), EConvertError);
}

TEST(Format, ExceptionsFormatTheirMessages)
{
    const EListError error = EListError::CreateFmt("List index out of bounds (%d)", {5});
    EXPECT_EQ(error.Message(), "List index out of bounds (5)");
    EXPECT_STREQ(error.ClassName(), "EListError");
    try {
        throw EFOpenError("Cannot open file %s", {"a.txt"});
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file a.txt");
        EXPECT_STREQ(e.ClassName(), "EFOpenError");
    }
}

TEST(Format, ClassLibraryTextsFillAsTheirUsersExpect)
{
    struct Case { AnsiString made; const char* expected; };
    const Case cases[] = {
        {Format(SAssignError, {"TFont", "TBrush"}), "Cannot assign a TFont to a TBrush"},
        {Format(SListIndexError, {-1}), "List index out of bounds (-1)"},
        {Format(SFOpenError, {"C:\\a.bin"}), "Cannot open file C:\\a.bin"},
        {Format(SFCreateError, {"x"}), "Cannot create file x"},
        {Format(SReadError), "Stream read error"},
        {Format(SWriteError), "Stream write error"},
        {Format(SNoTimers), "Not enough timers available"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.made, AnsiString(c.expected));
}
