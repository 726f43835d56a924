// What every fuzz target shares: the libFuzzer entry point it defines, the seeds it makes
// from the project's own writers, and a check that stops the run on a broken promise (an
// abort, so both libFuzzer and the replay driver report the input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Seed inputs, made with the writers of the format the target reads.
std::vector<std::string> FuzzSeeds();

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// The bytes as the hexadecimal digits of a form description's binary block.
inline std::string FuzzHex(const std::uint8_t* data, std::size_t size)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += digits[data[i] >> 4];
        hex += digits[data[i] & 15];
    }
    return hex;
}

// The little-endian 32-bit integer at p.
inline std::int32_t FuzzIntAt(const std::uint8_t* p)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | p[i];
    return static_cast<std::int32_t>(v);
}
