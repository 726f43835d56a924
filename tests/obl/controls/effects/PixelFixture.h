// Small 24-bit bitmaps built from and read back as raw scan-line bytes (blue, green, red).
#pragma once

#include "platform/classlib/Graphics.h"

#include <cstring>
#include <memory>
#include <vector>

using Rows = std::vector<std::vector<BYTE>>;

inline std::unique_ptr<TBitmap> Make24(const Rows& rows)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(static_cast<int>(rows[0].size() / 3), static_cast<int>(rows.size()));
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        std::memcpy(bitmap->ScanLine(y), rows[y].data(), rows[y].size());
    return bitmap;
}

inline std::unique_ptr<TBitmap> Solid24(int width, int height, BYTE blue, BYTE green, BYTE red)
{
    Rows rows(height);
    for (auto& row : rows)
        for (int x = 0; x < width; ++x) {
            row.push_back(blue);
            row.push_back(green);
            row.push_back(red);
        }
    return Make24(rows);
}

inline Rows Bytes(TBitmap* bitmap)
{
    Rows rows(bitmap->Height());
    for (int y = 0; y < bitmap->Height(); ++y) {
        auto* line = static_cast<const BYTE*>(bitmap->ScanLine(y));
        rows[y].assign(line, line + 3 * bitmap->Width());
    }
    return rows;
}

// The 4 x 3 fixture: primaries and white, a ramp and black, and values whose grey shares
// and half blends fall on ties.
inline Rows Fixture()
{
    return {
        {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255},
        {10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 0, 0},
        {1, 2, 3, 128, 128, 128, 250, 5, 100, 5, 250, 200},
    };
}
