#include "platform/win/gdi/PixelBuffer.h"

#include <algorithm>
#include <array>
#include <climits>

// In 64 bits: a row of a width near the int range passes it (such a bitmap is refused by
// its size), which the answer saturates at.
int DibStride(int width, int bpp)
{
    const long long stride = (static_cast<long long>(width) * bpp + 31) / 32 * 4;
    return static_cast<int>(std::min<long long>(stride, INT_MAX));
}

std::uint32_t RgbOf(const RGBQUAD& q) {
    return (static_cast<std::uint32_t>(q.rgbRed) << 16) | (static_cast<std::uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
}

RGBQUAD QuadOf(std::uint32_t rgb) {
    return {static_cast<BYTE>(rgb), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb >> 16), 0};
}

unsigned NearestIndex(const std::vector<RGBQUAD>& colors, std::uint32_t rgb) {
    unsigned best = 0;
    long bestDistance = LONG_MAX;
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    for (unsigned i = 0; i < colors.size(); ++i) {
        const long dr = r - colors[i].rgbRed, dg = g - colors[i].rgbGreen, db = b - colors[i].rgbBlue;
        const long distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// The last answers of NearestIndex for one colour table, by colour (direct-mapped).
class NearestColors {
public:
    explicit NearestColors(const std::vector<RGBQUAD>* table) : table_(table) { keys_.fill(kNone); }
    const std::vector<RGBQUAD>* Table() const { return table_; }
    unsigned Find(std::uint32_t rgb) {
        rgb &= 0xFFFFFF;
        const std::size_t slot = ((rgb * 2654435761u) >> 20) & (kSlots - 1);
        if (keys_[slot] != rgb) {
            keys_[slot] = rgb;
            answers_[slot] = static_cast<std::uint8_t>(NearestIndex(*table_, rgb));
        }
        return answers_[slot];
    }

private:
    static constexpr std::size_t kSlots = 4096;
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    const std::vector<RGBQUAD>* table_;
    std::array<std::uint32_t, kSlots> keys_;
    std::array<std::uint8_t, kSlots> answers_{};
};

unsigned PixelBuffer::Nearest(std::uint32_t rgb) const {
    if (!colors)
        return 0;
    // Tables of indexed formats have at most 256 entries; a larger one is searched each time.
    if (colors->size() > 256)
        return NearestIndex(*colors, rgb);
    if (!nearest || nearest->Table() != colors)
        nearest = std::make_shared<NearestColors>(colors);
    return nearest->Find(rgb);
}

unsigned PixelBuffer::Index(int x, int y) const {
    const std::uint8_t* row = RowPtr(y);
    switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8: return row[x];
    default: return 0;
    }
}

std::uint32_t PixelBuffer::Get(int x, int y) const {
    const std::uint8_t* row = RowPtr(y);
    switch (bpp) {
    case 1:
    case 4:
    case 8: {
        const unsigned index = Index(x, y);
        return colors && index < colors->size() ? RgbOf((*colors)[index]) : 0;
    }
    case 16: {
        const unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
        auto expand = [](unsigned five) { return (five << 3) | (five >> 2); };
        return (expand((v >> 10) & 31) << 16) | (expand((v >> 5) & 31) << 8) | expand(v & 31);
    }
    case 24: return row[x * 3] | (row[x * 3 + 1] << 8) | (static_cast<std::uint32_t>(row[x * 3 + 2]) << 16);
    default: return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
    }
}

void PixelBuffer::PutIndex(int x, int y, unsigned index) const {
    std::uint8_t* row = RowPtr(y);
    switch (bpp) {
    case 1: {
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = (index & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
        break;
    }
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(0xF << shift)) | ((index & 0xF) << shift));
        break;
    }
    case 8: row[x] = static_cast<std::uint8_t>(index); break;
    default: break;
    }
}

void PixelBuffer::Put(int x, int y, std::uint32_t rgb) const {
    std::uint8_t* row = RowPtr(y);
    switch (bpp) {
    case 1:
    case 4:
    case 8: PutIndex(x, y, Nearest(rgb)); break;
    case 16: {
        const unsigned v = (((rgb >> 19) & 31) << 10) | (((rgb >> 11) & 31) << 5) | ((rgb >> 3) & 31);
        row[x * 2] = static_cast<std::uint8_t>(v);
        row[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    case 24:
        row[x * 3] = static_cast<std::uint8_t>(rgb);
        row[x * 3 + 1] = static_cast<std::uint8_t>(rgb >> 8);
        row[x * 3 + 2] = static_cast<std::uint8_t>(rgb >> 16);
        break;
    default: reinterpret_cast<std::uint32_t*>(row)[x] = rgb & 0xFFFFFF; break;
    }
}

const std::vector<RGBQUAD>& MonoColorTable() {
    static const std::vector<RGBQUAD> table{{0, 0, 0, 0}, {255, 255, 255, 0}};
    return table;
}

const std::vector<RGBQUAD>& StandardColorTable16() {
    static const std::vector<RGBQUAD> table = [] {
        const std::uint32_t rgb[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        std::vector<RGBQUAD> t;
        for (std::uint32_t c : rgb)
            t.push_back(QuadOf(c));
        return t;
    }();
    return table;
}

const std::vector<RGBQUAD>& FixedColorTable256() {
    static const std::vector<RGBQUAD> table = [] {
        std::vector<RGBQUAD> t = StandardColorTable16();
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    t.push_back(QuadOf((r * 51u << 16) | (g * 51u << 8) | b * 51u));
        for (int i = 0; i < 24; ++i) {
            const std::uint32_t v = 8 + i * 10;
            t.push_back(QuadOf((v << 16) | (v << 8) | v));
        }
        return t;
    }();
    return table;
}

bool operator==(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbBlue == b.rgbBlue && a.rgbGreen == b.rgbGreen && a.rgbRed == b.rgbRed;
}
