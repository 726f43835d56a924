// String routines of the run time over the 8-bit string. "Ansi" routines know the letters
// of the Windows code page; the others touch ASCII only.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <initializer_list>

// Remove bytes up to and including the blank (0x20, unsigned) at both ends, the start or the end.
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);

AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
// Case mapping of the Windows-1252 letters (accented letters included; sharp s, mu and the
// y with diaeresis' missing capital stay as they are).
AnsiString AnsiUpperCase(const AnsiString& s);
AnsiString AnsiLowerCase(const AnsiString& s);
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);

// Byte comparisons: negative, zero or positive, as the first differing bytes (unsigned) or
// the lengths differ. CompareText ignores ASCII case.
int CompareStr(const AnsiString& a, const AnsiString& b);
int CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);

enum TReplaceFlag : std::uint8_t { rfReplaceAll = 1, rfIgnoreCase = 2 };

// The set of replace options, written as the original's set literal: {rfReplaceAll}.
class TReplaceFlags {
public:
    TReplaceFlags() = default;
    TReplaceFlags(std::initializer_list<TReplaceFlag> flags)
    {
        for (const TReplaceFlag flag : flags) bits_ = static_cast<std::uint8_t>(bits_ | flag);
    }
    bool Contains(TReplaceFlag flag) const { return (bits_ & flag) != 0; }

private:
    std::uint8_t bits_ = 0;
};

// Replaces the first occurrence of oldPattern (every one with rfReplaceAll), scanning left to
// right without overlaps; rfIgnoreCase matches letters of either case. An empty pattern
// matches nothing.
AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags);

// The text between single quotes, each inner quote doubled.
AnsiString QuotedStr(const AnsiString& s);
