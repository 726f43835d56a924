#include "platform/dbengine/JetPropertyBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::string U16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }

// A chunk: its length (header included), its kind and its bytes.
std::string Chunk(unsigned kind, const std::string& bytes) { return U32(6 + bytes.size()) + U16(kind) + bytes; }

std::string Names() { return Chunk(0x80, U16(4) + "Name" + U16(7) + "Caption"); }

// A property record naming the listed property at index, with its value.
std::string Record(unsigned index, const std::string& value)
{
    return U16(8 + value.size()) + std::string("\0\x0A", 2) + U16(index) + U16(value.size()) + value;
}

// A set named name: the header's last 16 bits give the name's length.
std::string Set(const std::string& name, const std::string& records)
{
    return Chunk(0x01, U32(6 + name.size() + records.size()) + U16(name.size()) + name + records);
}

bool Walkable(const std::string& block)
{
    return PropertyBlockCanBeWalked(reinterpret_cast<const unsigned char*>(block.data()), block.size());
}

TEST(JetPropertyBlock, AWalkThatEndsInsideTheBlockIsSafe)
{
    const std::string mr2("MR2\0", 4), kkd("KKD\0", 4);
    const struct {
        const char* what;
        std::string block;
        bool walkable;
    } cases[] = {
        {"names and a set", mr2 + Names() + Set("", Record(0, "x") + Record(1, "Title")), true},
        {"Jet 3, a named set", kkd + Names() + Set("Field", Record(1, "")), true},
        {"the signature alone", mr2, true},
        {"no signature: not walked", std::string("XYZ\0", 4) + U32(0), true},
        {"a chunk of an unknown kind", mr2 + Chunk(0x02, "??") + Names(), true},
        {"a chunk of length zero", mr2 + U32(0) + U16(0x80), false},
        {"a chunk shorter than its header", mr2 + U32(5) + U16(0x80), false},
        {"a chunk past the block", mr2 + U32(60) + U16(0x80) + "ab", false},
        {"a chunk header cut short", mr2 + Names() + U32(6), false},
        {"a name past its chunk", mr2 + Chunk(0x80, U16(9) + "Name"), false},
        {"a set before any names", mr2 + Set("", Record(0, "x")), false},
        {"a record of length zero", mr2 + Names() + Set("", U16(0) + std::string(6, '\0')), false},
        {"a value past its record", mr2 + Names() + Set("", U16(9) + std::string("\0\x0A", 2) + U16(0) + U16(5) + "x"),
         false},
        {"a record naming no listed property", mr2 + Names() + Set("", Record(2, "x")), false},
        {"a set name past its chunk", mr2 + Names() + Chunk(0x00, U32(6) + U16(40) + "ab"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Walkable(c.block), c.walkable) << c.what;
}

} // namespace
