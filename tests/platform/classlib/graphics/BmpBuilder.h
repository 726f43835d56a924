// Builds bitmap file images byte by byte, for the loader tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

class BmpBuilder {
public:
    using Bytes = std::vector<std::uint8_t>;

    static void Put16(Bytes& b, unsigned v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
    static void Put32(Bytes& b, std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF); }

    // An info header of headerSize bytes (40, 52, 56, 108 or 124), masks placed inside when
    // the header has room.
    static Bytes InfoHeader(int headerSize, int width, int height, int bpp, std::uint32_t compression,
                            std::uint32_t colorsUsed = 0, std::initializer_list<std::uint32_t> masks = {},
                            std::uint32_t sizeImage = 0)
    {
        Bytes b;
        Put32(b, headerSize);
        Put32(b, static_cast<std::uint32_t>(width));
        Put32(b, static_cast<std::uint32_t>(height));
        Put16(b, 1);
        Put16(b, bpp);
        Put32(b, compression);
        Put32(b, sizeImage);
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, colorsUsed);
        Put32(b, 0);
        for (std::uint32_t m : masks)
            if (static_cast<int>(b.size()) < headerSize)
                Put32(b, m);
        b.resize(headerSize, 0);
        return b;
    }

    static Bytes CoreHeader(int width, int height, int bpp)
    {
        Bytes b;
        Put32(b, 12);
        Put16(b, width);
        Put16(b, height);
        Put16(b, 1);
        Put16(b, bpp);
        return b;
    }

    // File header + header + table + pixels, with the offset pointing at the pixels.
    static Bytes File(const Bytes& header, const Bytes& table, const Bytes& pixels)
    {
        Bytes b = {'B', 'M'};
        std::uint32_t offset = 14 + header.size() + table.size();
        Put32(b, offset + pixels.size());
        Put32(b, 0);
        Put32(b, offset);
        b.insert(b.end(), header.begin(), header.end());
        b.insert(b.end(), table.begin(), table.end());
        b.insert(b.end(), pixels.begin(), pixels.end());
        return b;
    }

    // Colour table entries (blue, green, red, 0) from 0xRRGGBB values.
    static Bytes Table(std::initializer_list<std::uint32_t> rgb, int entrySize = 4)
    {
        Bytes b;
        for (std::uint32_t c : rgb) {
            b.push_back(c & 0xFF);
            b.push_back((c >> 8) & 0xFF);
            b.push_back((c >> 16) & 0xFF);
            if (entrySize == 4)
                b.push_back(0);
        }
        return b;
    }
};
