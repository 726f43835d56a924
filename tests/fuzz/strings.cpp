// String list comma text and the library's coded strings. Comma text written from a list
// must read back to the same list; fields of a coded string set one by one read back.
#include "FuzzTarget.h"

#include "obl/core/base/Oblstrings.h"
#include "platform/classlib/Classes.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AnsiString text(std::string(reinterpret_cast<const char*>(data), size));
    TStringList list;
    list.SetCommaText(text);
    const AnsiString comma = list.CommaText();
    TStringList back;
    back.SetCommaText(comma);
    FUZZ_CHECK(back.Count() == list.Count());
    for (int i = 0; i < list.Count(); ++i)
        FUZZ_CHECK(back[i] == list[i]);
    FUZZ_CHECK(back.CommaText() == comma);

    TStringList lines;
    lines.SetText(text);
    TStringList linesBack;
    linesBack.SetText(lines.Text());
    FUZZ_CHECK(linesBack.Text() == lines.Text());

    if (size == 0)
        return 0;
    const char separator = static_cast<char>(data[0]);
    const int count = OBLGetCodedCount(text, separator);
    AnsiString rebuilt;
    for (int i = 0; i <= count && i < 64; ++i) {
        const AnsiString field = OBLGetCodedString(text, separator, i);
        OBLSetCodedString(rebuilt, field, separator, i);
        FUZZ_CHECK(OBLGetCodedString(rebuilt, separator, i) == field);
        try {
            OBLGetCodedInt(text, separator, i);
        } catch (const EConvertError&) {
        }
    }
    const std::uint16_t key = size >= 2 ? static_cast<std::uint16_t>(data[0] | data[1] << 8) : 0;
    FUZZ_CHECK(OBLDecode(OBLEncode(text, key), key) == text);
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    TStringList list;
    for (const char* s : {"a", "b c", "d,e", "say \"hi\"", ""})
        list.Add(s);
    const AnsiString values[] = {"Rossi", "", "Via Roma, 1"};
    const int numbers[] = {1, -20, 300};
    return {list.CommaText().str(), OBLCodeString(values, 2, ';').str(), OBLCodeInt(numbers, 2, '|').str(),
            // Regression: a trailing delimiter stands before an empty last item.
            "a,"};
}
