#include "obl/core/base/OblutilsStrings.h"

#include "obl/core/base/Oblstrings.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/StrUtils.h"

#include <array>
#include <set>

void OBLParseToStrList(const AnsiString& text, char delimiter, TStrings* list)
{
    if (!list) return;
    list->Clear();
    const int length = text.Length();
    int start = 1;
    for (int i = 1; i <= length; ++i) {
        if (text[i] != delimiter) continue;
        list->Add(Copy(text, start, i - start));
        start = i + 1;
    }
    if (start <= length) list->Add(Copy(text, start, length - start + 1));
}

TRect OBLStringToRect(const AnsiString& text)
{
    TRect r{0, 0, 0, 0};
    TStringList parts;
    OBLParseToStrList(text, OBLTextFormDelimiter, &parts);
    if (parts.Count() != 4) return r;
    r.left = StrToIntDef(parts[0], 0);
    r.top = StrToIntDef(parts[1], 0);
    r.right = StrToIntDef(parts[2], 0);
    r.bottom = StrToIntDef(parts[3], 0);
    return r;
}

TPoint OBLStringToPoint(const AnsiString& text)
{
    TPoint p{0, 0};
    const int at = Pos(AnsiString(OBLTextFormDelimiter), text);
    if (at < 1 || at >= text.Length()) return p;
    p.x = StrToIntDef(Trim(Copy(text, 1, at - 1)), 0);
    p.y = StrToIntDef(Trim(Copy(text, at + 1, text.Length() - at)), 0);
    return p;
}

void OBLStringToFont(const AnsiString& text, TFont* font)
{
    if (!font) return;
    TStringList parts;
    OBLParseToStrList(text, OBLTextFormDelimiter, &parts);
    if (parts.Count() != 7) return;
    // Everything is converted before anything is applied, so a bad part leaves the font
    // as it was.
    const AnsiString name = parts[0];
    const int size = StrToIntDef(parts[1], 10);
    const TColor color = StringToColor(parts[2]);
    TFontStyles style;
    constexpr std::array<TFontStyle, 4> flags = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    for (int i = 0; i < 4; ++i)
        if ((StrToInt(parts[3 + i]) & 0xFF) != 0) style.Include(flags[static_cast<std::size_t>(i)]);
    font->SetName(name);
    font->SetSize(size);
    font->SetColor(color);
    font->SetStyle(style);
}

AnsiString OBLFontToString(TFont* font)
{
    if (!font) return AnsiString();
    const TFontStyles s = font->Style();
    auto bit = [](bool on) { return AnsiString(on ? "1" : "0"); };
    const AnsiString values[7] = {font->Name(), IntToStr(font->Size()), ColorToString(font->Color()),
                                  bit(s.Contains(fsBold)), bit(s.Contains(fsItalic)),
                                  bit(s.Contains(fsUnderline)), bit(s.Contains(fsStrikeOut))};
    return OBLCodeString(values, 6, OBLTextFormDelimiter);
}

AnsiString OBLPointToString(const TPoint& point)
{
    return IntToStr(point.x) + AnsiString(OBLTextFormDelimiter) + IntToStr(point.y);
}

AnsiString OBLRectToString(const TRect& rect)
{
    const int values[4] = {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
                           static_cast<int>(rect.bottom)};
    return OBLCodeInt(values, 3, OBLTextFormDelimiter);
}

void OBLGetDivider(TStringList* list, int number)
{
    if (!list) return;
    list->Clear();
    // Ordered as numbers, not as text padded to a width: divisors of seven digits and more
    // stay in ascending order too.
    std::set<int> divisors;
    for (int k = 1; k <= number / 2; ++k) {
        if (number % k != 0) continue;
        const int other = number / k;
        divisors.insert(k);
        divisors.insert(other);
        if (k >= other) break;
    }
    list->SetDuplicates(TDuplicates::dupIgnore);
    list->SetSorted(false);
    for (int divisor : divisors) list->Add(IntToStr(divisor));
}
