// Byte-level helpers of the stored-format tests: streams as byte vectors and back, and
// little-endian fields.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <vector>

using Bytes = std::vector<BYTE>;

// The whole content of a memory stream.
inline Bytes Content(TMemoryStream& stream)
{
    const auto* p = static_cast<const BYTE*>(stream.Memory());
    return Bytes(p, p + stream.Size());
}

// The stream holding exactly these bytes, positioned at its start.
inline void Fill(TMemoryStream& stream, const Bytes& bytes)
{
    stream.Clear();
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    stream.SetPosition(0);
}

inline Bytes Int32(std::int32_t v)
{
    return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
