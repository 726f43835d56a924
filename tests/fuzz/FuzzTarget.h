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
