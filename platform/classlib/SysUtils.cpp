#include "platform/classlib/SysUtils.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

struct Weight {
    std::uint16_t primary = 0;
    std::uint8_t accent = 0;
    std::uint8_t upper = 0;
};

constexpr std::uint16_t kDigitBase = 0x100;
constexpr std::uint16_t kLetterBase = 0x200;

// Accented letters of Windows-1252: base letter, then the letters that sort with it; the
// position in each group is the accent weight (group entries come in lower/upper pairs).
struct AccentGroup {
    char base;
    const char* variants;
};
const AccentGroup kAccentGroups[] = {
    {'A', "\xE0\xC0\xE1\xC1\xE2\xC2\xE3\xC3\xE4\xC4\xE5\xC5\xE6\xC6\xAA\xAA"},
    {'C', "\xE7\xC7"},
    {'D', "\xF0\xD0"},
    {'E', "\xE8\xC8\xE9\xC9\xEA\xCA\xEB\xCB"},
    {'F', "\x83\x83"},
    {'I', "\xEC\xCC\xED\xCD\xEE\xCE\xEF\xCF"},
    {'N', "\xF1\xD1"},
    {'O', "\xF2\xD2\xF3\xD3\xF4\xD4\xF5\xD5\xF6\xD6\xF8\xD8\x9C\x8C\xBA\xBA"},
    {'S', "\x9A\x8A\xDF\xDF"},
    {'T', "\xFE\xDE"},
    {'U', "\xF9\xD9\xFA\xDA\xFB\xDB\xFC\xDC"},
    {'Y', "\xFD\xDD\xFF\x9F"},
    {'Z', "\x9E\x8E"},
};

std::array<Weight, 256> BuildWeights()
{
    std::array<Weight, 256> w{};
    for (int c = 0; c < 256; ++c)
        w[c].primary = static_cast<std::uint16_t>(c);
    for (int d = 0; d < 10; ++d)
        w['0' + d].primary = static_cast<std::uint16_t>(kDigitBase + d);
    for (int l = 0; l < 26; ++l) {
        w['a' + l] = Weight{static_cast<std::uint16_t>(kLetterBase + l), 0, 0};
        w['A' + l] = Weight{static_cast<std::uint16_t>(kLetterBase + l), 0, 1};
    }
    for (const AccentGroup& g : kAccentGroups) {
        std::size_t n = std::strlen(g.variants);
        for (std::size_t i = 0; i < n; ++i) {
            auto byte = static_cast<unsigned char>(g.variants[i]);
            w[byte] = Weight{static_cast<std::uint16_t>(kLetterBase + (g.base - 'A')),
                             static_cast<std::uint8_t>(1 + i / 2), static_cast<std::uint8_t>(i % 2)};
        }
    }
    return w;
}

const std::array<Weight, 256>& Weights()
{
    static const std::array<Weight, 256> weights = BuildWeights();
    return weights;
}

template <class Level>
int CompareLevel(const AnsiString& a, const AnsiString& b, Level level)
{
    const auto& w = Weights();
    int n = a.Length() < b.Length() ? a.Length() : b.Length();
    for (int i = 1; i <= n; ++i) {
        int x = level(w[static_cast<unsigned char>(a[i])]);
        int y = level(w[static_cast<unsigned char>(b[i])]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.Length() == b.Length() ? 0 : (a.Length() < b.Length() ? -1 : 1);
}

} // namespace

int AnsiCompareText(const AnsiString& a, const AnsiString& b)
{
    int r = CompareLevel(a, b, [](const Weight& w) { return int{w.primary}; });
    return r != 0 ? r : CompareLevel(a, b, [](const Weight& w) { return int{w.accent}; });
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b)
{
    int r = AnsiCompareText(a, b);
    return r != 0 ? r : CompareLevel(a, b, [](const Weight& w) { return int{w.upper}; });
}

bool AnsiSameText(const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b) == 0; }
