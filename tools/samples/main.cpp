// vendaro-samples: writes the sample databases into a folder.
//
//   vendaro-samples [--replace] [--registry N] [--articles N] <folder>
//
// Without counts the edition 4 source holds the small hand-written set; with them it holds
// N generated rows per registry category and N articles (the benchmark's large source).
#include "platform/dbengine/DbiError.h"
#include "tools/samples/SampleData.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: vendaro-samples [--replace] [--registry N] [--articles N] <folder>\n");
    return 2;
}

bool ReadCount(const char* text, int& count)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 10000000)
        return false;
    count = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    SampleOptions options;
    bool replace = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--replace") == 0) {
            replace = true;
        } else if (std::strcmp(arg, "--registry") == 0 || std::strcmp(arg, "--articles") == 0) {
            int& count = arg[2] == 'r' ? options.registryRows : options.articles;
            if (++i >= argc || !ReadCount(argv[i], count))
                return Usage();
        } else if (arg[0] != '-' && folder.empty()) {
            folder = arg;
        } else {
            return Usage();
        }
    }
    if (folder.empty())
        return Usage();
    try {
        MakeSamples(folder, options, replace);
    } catch (const EDbiError& e) {
        std::fprintf(stderr, "vendaro-samples: %s\n", e.Message().c_str());
        return 1;
    }
    std::printf("Sample databases written to %s\n", folder.c_str());
    return 0;
}
