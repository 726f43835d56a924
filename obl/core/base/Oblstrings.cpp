#include "obl/core/base/Oblstrings.h"

#include "platform/rtl/NumConv.h"
#include "platform/rtl/StrUtils.h"

AnsiString OBLFillString(int n, char c) { return n > 0 ? StringOfChar(c, n) : AnsiString(); }

AnsiString OBLSpace(int n) { return OBLFillString(n, ' '); }

AnsiString OBLAddCharL(const AnsiString& s, int len, char c)
{
    return s.Length() >= len ? s : OBLFillString(len - s.Length(), c) + s;
}

AnsiString OBLAddCharR(const AnsiString& s, int len, char c)
{
    return s.Length() >= len ? s : s + OBLFillString(len - s.Length(), c);
}

AnsiString OBLAddSpaceL(const AnsiString& s, int len) { return OBLAddCharL(s, len, ' '); }
AnsiString OBLAddSpaceR(const AnsiString& s, int len) { return OBLAddCharR(s, len, ' '); }
AnsiString OBLAddZeroL(const AnsiString& s, int len) { return OBLAddCharL(s, len, '0'); }
AnsiString OBLAddZeroR(const AnsiString& s, int len) { return OBLAddCharR(s, len, '0'); }

AnsiString OBLTrimL(const AnsiString& s) { return TrimLeft(s); }
AnsiString OBLTrimR(const AnsiString& s) { return TrimRight(s); }
AnsiString OBLTrim(const AnsiString& s) { return Trim(s); }

bool OBLEmpty(const AnsiString& s)
{
    for (int i = 1; i <= s.Length(); ++i)
        if (s[i] != ' ') return false;
    return true;
}

int OBLCount(const AnsiString& s, char c)
{
    int n = 0;
    for (int i = 1; i <= s.Length(); ++i)
        if (s[i] == c) ++n;
    return n;
}

int OBLBackPos(char c, const AnsiString& s)
{
    for (int i = s.Length(); i >= 1; --i)
        if (s[i] == c) return i;
    return 0;
}

// The programs run on Windows-1252, which has no lead bytes, so every byte is a
// character of its own.
int OBLScanToNumber(const AnsiString& s)
{
    for (int i = 1; i <= s.Length(); ++i)
        if (s[i] >= '0' && s[i] <= '9') return i;
    return 0;
}

AnsiString OBLReplaceChar(const AnsiString& s, char a, char b)
{
    AnsiString result = s;
    for (int i = 1; i <= result.Length(); ++i)
        if (result[i] == a) result[i] = b;
    return result;
}

AnsiString OBLGetFirstString(const AnsiString& s, char c)
{
    const int p = Pos(AnsiString(c), s);
    return p == 0 ? s : Copy(s, 1, p - 1);
}

AnsiString OBLGetSecondString(const AnsiString& s, char c)
{
    const int p = Pos(AnsiString(c), s);
    return p == 0 ? s : Copy(s, p + 1, 255);
}

AnsiString OBLSlashAdd(const AnsiString& s)
{
    if (!OBLEmpty(s) && s[s.Length()] == '\\') return s;
    return s + '\\';
}

AnsiString OBLSlashRemove(const AnsiString& s)
{
    if (!OBLEmpty(s) && s[s.Length()] == '\\') return Copy(s, 1, s.Length() - 1);
    return s;
}

AnsiString OBLCodeString(const AnsiString* values, int high, char c)
{
    AnsiString result;
    for (int i = 0; i <= high; ++i) {
        if (i > 0) result += c;
        result += values[i];
    }
    return result;
}

AnsiString OBLCodeInt(const int* values, int high, char c)
{
    AnsiString result;
    for (int i = 0; i <= high; ++i) {
        if (i > 0) result += c;
        result += IntToStr(values[i]);
    }
    return result;
}

int OBLGetCodedCount(const AnsiString& s, char c)
{
    const int separators = OBLCount(s, c);
    if (separators > 0) return separators + 1;
    return s.IsEmpty() ? 0 : 1;
}

namespace {

// The field n of s lies at [start, stop) (1-based); found tells how many separators
// precede it, which is less than n when the string is too short.
struct FieldSpan {
    int start;
    int stop;
    int found;
};

FieldSpan FindField(const AnsiString& s, char c, int n)
{
    int i = 1;
    int found = 0;
    while (found < n && i <= s.Length()) {
        if (s[i] == c) ++found;
        ++i;
    }
    const int start = i;
    while (i <= s.Length() && s[i] != c) ++i;
    return {start, i, found};
}

} // namespace

AnsiString OBLGetCodedString(const AnsiString& s, char c, int n)
{
    if (n < 0) return AnsiString();
    const FieldSpan f = FindField(s, c, n);
    if (f.found < n) return AnsiString();
    return Copy(s, f.start, f.stop - f.start);
}

int OBLGetCodedInt(const AnsiString& s, char c, int n)
{
    const AnsiString field = OBLGetCodedString(s, c, n);
    return field.IsEmpty() ? -1 : StrToInt(field);
}

void OBLSetCodedString(AnsiString& s, const AnsiString& value, char c, int n)
{
    if (n < 0) return;
    FieldSpan f = FindField(s, c, n);
    if (f.found < n) {
        const int missing = n - f.found;
        s += OBLFillString(missing, c);
        f.start = s.Length() + 1;
        f.stop = f.start;
    }
    Delete(s, f.start, f.stop - f.start);
    Insert(value, s, f.start);
}

namespace {

// Both directions feed the scrambled byte into the key, so decoding with the same key
// walks through the same key sequence as encoding.
AnsiString Scramble(const AnsiString& s, std::uint16_t key, bool encoding)
{
    AnsiString result = s;
    std::uint16_t k = key;
    for (int i = 1; i <= s.Length(); ++i) {
        const auto in = static_cast<std::uint8_t>(s[i]);
        const auto out = static_cast<std::uint8_t>(in ^ (k >> 8));
        result[i] = static_cast<char>(out);
        const std::uint8_t scrambled = encoding ? out : in;
        k = static_cast<std::uint16_t>((static_cast<std::uint32_t>(k + scrambled) * 52845u + 22719u) & 0xFFFFu);
    }
    return result;
}

} // namespace

AnsiString OBLEncode(const AnsiString& s, std::uint16_t key) { return Scramble(s, key, true); }
AnsiString OBLDecode(const AnsiString& s, std::uint16_t key) { return Scramble(s, key, false); }
