// Genuine Access (Jet) files, opened read-only and their tables read. The first input byte
// picks the file: 0 takes the rest of the input as the whole file; 1 and 2 patch a genuine
// Jet 4 and Jet 3 file of the shared fixtures (records: page, offset in the page, a length
// and that many bytes), since a real catalog needs more pages than a fuzz input holds. Every
// damage must raise the engine's error.
#include "FuzzTarget.h"

#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/JetDatabase.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Fixture {
    const char* file;
    std::size_t pageSize;
    std::vector<const char*> tables;
};

const Fixture kFixtures[] = {
    {"DateTestDatabase.mdb", 4096, {"DateTest"}},
    {"nwind.mdb", 2048, {"Shippers", "Categories"}},
};

const std::string& Base(std::size_t fixture)
{
    static std::string bytes[std::size(kFixtures)];
    static bool read[std::size(kFixtures)] = {};
    if (!read[fixture]) {
        read[fixture] = true;
        std::ifstream in(fs::path(VENDARO_SOURCE_DIR) / ".." / "shared" / "jet" / kFixtures[fixture].file,
                         std::ios::binary);
        bytes[fixture].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (bytes[fixture].empty())
            std::fprintf(stderr, "no shared Jet fixture %s: its inputs are not run\n", kFixtures[fixture].file);
    }
    return bytes[fixture];
}

// Applies the patch records to a copy of the base.
std::string Patched(const std::string& base, std::size_t pageSize, const std::uint8_t* p, std::size_t size)
{
    std::string file = base;
    const std::size_t pages = file.size() / pageSize;
    while (size >= 4 && pages > 0) {
        const std::size_t page = p[0] % pages;
        const std::size_t offset = (p[1] | (p[2] << 8)) % pageSize;
        const std::size_t length = std::min<std::size_t>({p[3], size - 4, pageSize - offset});
        std::copy(p + 4, p + 4 + length, file.begin() + static_cast<std::ptrdiff_t>(page * pageSize + offset));
        p += 4 + length;
        size -= 4 + length;
    }
    return file;
}

// The file the engine opens, removed when the run ends.
struct ScratchFile {
    std::string name = ((fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                        ("vendaro-fuzz-jet-" + std::to_string(getpid()) + ".mdb"))
                           .string();
    ~ScratchFile() { std::remove(name.c_str()); }
};

const std::string& Scratch()
{
    static const ScratchFile file;
    return file.name;
}

void Read(const std::string& file, const std::vector<const char*>& tables)
{
    std::ofstream(Scratch(), std::ios::binary | std::ios::trunc).write(file.data(), static_cast<std::streamsize>(file.size()));
    try {
        std::unique_ptr<DbiConnection> db = OpenJetDatabase(Scratch(), "fuzz.mdb");
        for (const char* table : tables) {
            try {
                const DbiResult result = db->Open(AnsiString("select * from [") + table + "]");
                FUZZ_CHECK(!result.columns.empty());
            } catch (const EDbiError&) {
            }
        }
    } catch (const EDbiError&) {
    }
}

// A patch record of the seeds.
std::string Record(unsigned page, unsigned offset, const std::string& bytes)
{
    return std::string{static_cast<char>(page), static_cast<char>(offset & 0xFF), static_cast<char>(offset >> 8),
                       static_cast<char>(bytes.size())} +
           bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t mode = data[0] % (1 + std::size(kFixtures));
    if (mode == 0) {
        Read(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), {"DateTest", "Shippers"});
        return 0;
    }
    const Fixture& fixture = kFixtures[mode - 1];
    const std::string& base = Base(mode - 1);
    if (!base.empty())
        Read(Patched(base, fixture.pageSize, data + 1, size - 1), fixture.tables);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    std::string jet3Header = Base(1).substr(0, 3 * 2048);
    return {
        std::string(1, '\0') + jet3Header,
        "\x01",
        "\x02",
        // A row count, a row offset and a page type changed.
        "\x01" + Record(2, 12, "\xFF\x7F"),
        "\x02" + Record(2, 10, std::string("\x40\x00", 2)) + Record(3, 0, "\x02"),
        "\x01" + Record(5, 0, std::string(16, '\xFF')),
    };
}
