// Single-item fetch benchmark: every item of a bitmap-list file fetched one by one
// (OBLBMLGetItem, as a lazily loaded bitmap list does) against the floor of loading the
// same file whole; and one fetch from a file four times as long against one from the
// first, which stays the same when a fetch costs the same whatever the file's length.
// Every fetched bitmap is compared with the one of the whole load before anything is
// timed.
//
//   container-fetch-benchmark [items of the smaller file]      (default 1200)
#include "bench/BenchTiming.h"
#include "obl/core/containers/oblcont.h"
#include "platform/rtl/FileSystem.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const AnsiString kFile = "C:\\pictures.bml";

// A bitmap-list file of `count` 16 x 16 pictures, each of its own colour.
void WriteList(int count)
{
    TOBLBitmapList list(nullptr);
    for (int i = 0; i < count; ++i) {
        TBitmap picture;
        picture.SetPixelFormat(pf24bit);
        picture.SetSize(16, 16);
        picture.Canvas()->Brush()->SetColor(static_cast<TColor>((i * 2654435761u) & 0xFFFFFF));
        picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
        picture.Canvas()->SetPixels(i % 16, 3, clBlack);
        list.Items(list.Add(nullptr))->SetBitmap(&picture);
    }
    list.SaveToFile(kFile);
}

std::vector<BYTE> ImageOf(TBitmap* bitmap)
{
    TMemoryStream image;
    bitmap->SaveToStream(&image);
    const auto* bytes = static_cast<const BYTE*>(image.Memory());
    return std::vector<BYTE>(bytes, bytes + image.Size());
}

void LoadWhole()
{
    TOBLBitmapList list(nullptr);
    list.LoadFromFile(kFile);
}

void FetchEach(int count)
{
    TBitmap bitmap;
    for (int i = 0; i < count; ++i) OBLBMLGetItem(kFile, i, &bitmap);
}

void CheckSame(int count)
{
    TOBLBitmapList whole(nullptr);
    whole.LoadFromFile(kFile);
    if (whole.GetCount() != count) throw std::runtime_error("the whole load lost items");
    TBitmap bitmap;
    for (int i = 0; i < count; ++i) {
        OBLBMLGetItem(kFile, i, &bitmap);
        if (ImageOf(&bitmap) != ImageOf(whole.Items(i)->StoredBitmap()))
            throw std::runtime_error("item " + std::to_string(i) + " fetched differs from the whole load");
    }
}

// Seconds to fetch every item of a file of `count` items one by one.
double FetchEachSeconds(int count)
{
    WriteList(count);
    CheckSame(count);
    return bench::BestSecondsPerCall([&] { FetchEach(count); });
}

void Bench(int count)
{
    const double each = FetchEachSeconds(count);
    const double whole = bench::BestSecondsPerCall([] { LoadWhole(); });
    bench::Report(("Fetching each of " + std::to_string(count) +
                   " bitmap-list items one by one (floor: loading the file whole)").c_str(),
                  each * 1e3, whole * 1e3, "ms", 5.0);
    // Per item, a file four times as long: the same when a fetch costs the same whatever
    // the file's length.
    const double longer = FetchEachSeconds(4 * count);
    bench::Report(("One fetch from a file of " + std::to_string(4 * count) + " bitmap-list items (floor: from one of " +
                   std::to_string(count) + ")").c_str(),
                  longer / (4 * count) * 1e6, each / count * 1e6, "us", 1.5);
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1200;
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("vendaro-fetch-" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    FileSystem::SetDriveRoot('C', root.string());
    int status = 0;
    try {
        Bench(count);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "container-fetch-benchmark: %s\n", e.what());
        status = 1;
    }
    std::filesystem::remove_all(root);
    return status;
}
