// The replay driver of a fuzz target in ordinary builds: runs the target once on every file
// of the folders given (the committed corpus), or writes the target's seeds into a folder.
//   fuzz_x <folder or file>...        replays; fails when a folder holds no file
//   fuzz_x --write-seeds <folder>     writes seed-0000, seed-0001, ...
#include "FuzzTarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

int Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << file << "\n";
        return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-seeds") {
        fs::create_directories(argv[2]);
        const std::vector<std::string> seeds = FuzzSeeds();
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "seed-%04zu", i);
            std::ofstream out(fs::path(argv[2]) / name, std::ios::binary);
            out.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
        }
        std::cout << seeds.size() << " seeds written to " << argv[2] << "\n";
        return 0;
    }
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        if (fs::is_directory(path)) {
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            if (files.empty()) {
                std::cerr << "no corpus files in " << path << "\n";
                return 1;
            }
            for (const fs::path& file : files) {
                if (Replay(file))
                    return 1;
                ++replayed;
            }
        } else {
            if (Replay(path))
                return 1;
            ++replayed;
        }
    }
    std::cout << replayed << " inputs replayed\n";
    return replayed > 0 ? 0 : 1;
}
