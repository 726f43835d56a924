// Pixel-effects benchmark: each 24-bit routine of the effect controls on a 1920 x 1080
// bitmap, against the floor of the same work done by the plainest loop over the same
// buffer in the same run: a byte loop for the per-byte and per-pixel operations, memcpy
// for the flips (they move every byte once), memset for a solid fill. Prints the best of
// R runs of each as a table line: the figures, their ratio and the goal for it (2 x the
// floor for the loops and copies, 1.5 x for the fill, as for FillRect).
//
//   effects-benchmark [R]      (default 15)
#include "bench/BenchTiming.h"
#include "obl/controls/effects/OBLFillObject.h"
#include "obl/controls/effects/Oblbmp.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920, kHeight = 1080;

std::unique_ptr<TBitmap> Picture()
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = static_cast<BYTE*>(bitmap->ScanLine(y));
        for (int i = 0; i < 3 * kWidth; ++i)
            row[i] = static_cast<BYTE>(i * 7 + y * 13);
    }
    return bitmap;
}

// The bitmap's pixels as one block (rows of 5760 bytes need no padding).
BYTE* Block(TBitmap* bitmap)
{
    auto* first = static_cast<BYTE*>(bitmap->ScanLine(0));
    auto* last = static_cast<BYTE*>(bitmap->ScanLine(kHeight - 1));
    return std::min(first, last);
}

constexpr std::size_t kBytes = std::size_t{3} * kWidth * kHeight;

double Best(int runs, const std::function<void()>& work)
{
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

volatile BYTE gSink;

constexpr double kLoopGoal = 2.0, kFillGoal = 1.5;

void Report(const char* name, double seconds, const char* floorName, double floor, double goal = kLoopGoal)
{
    const std::string measure = std::string(name) + " 1920x1080 24 bpp (floor: " + floorName + ")";
    bench::Report(measure.c_str(), seconds * 1e3, floor * 1e3, "ms", goal);
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    auto a = Picture();
    auto b = Picture();
    auto t = Picture();
    BYTE* pa = Block(a.get());
    BYTE* pb = Block(b.get());
    BYTE* pt = Block(t.get());
    const TRect all = Rect(0, 0, kWidth, kHeight);
    const TPoint origin{0, 0};

    // Floors over the same buffers.
    // The pointers are copied into the loops so that the byte stores cannot alias them and
    // the compiler makes the best of the plain loop.
    double byteLoop = Best(runs, [pa] {
        BYTE* p = pa;
        for (std::size_t i = 0; i < kBytes; ++i)
            p[i] = static_cast<BYTE>(p[i] + 1);
    });
    double xorLoop = Best(runs, [pa, pb, pt] {
        const BYTE* __restrict s1 = pa;
        const BYTE* __restrict s2 = pb;
        BYTE* __restrict to = pt;
        for (std::size_t i = 0; i < kBytes; ++i)
            to[i] = static_cast<BYTE>(s1[i] ^ s2[i]);
    });
    double copy = Best(runs, [&] { std::memcpy(pt, pa, kBytes); });
    double fill = Best(runs, [&] { std::memset(pt, 0x5A, kBytes); });
    gSink = static_cast<BYTE>(pa[kBytes / 2] + pt[kBytes / 3]);

    std::printf("24-bit operations on %d x %d, best of %d runs\n", kWidth, kHeight, runs);
    Report("grey scale", Best(runs, [&] { OBLBMPGrayScale(a.get(), all, a.get(), origin); }), "byte loop", byteLoop);
    Report("invert", Best(runs, [&] { OBLBMPInvert(a.get(), all, a.get(), origin); }), "byte loop", byteLoop);
    Report("brightness +40", Best(runs, [&] { OBLBMPBrightness(a.get(), all, a.get(), 40, origin); }), "byte loop",
           byteLoop);
    Report("brightness -40", Best(runs, [&] { OBLBMPBrightness(a.get(), all, a.get(), -40, origin); }), "byte loop",
           byteLoop);
    Report("alpha blend 0.6",
           Best(runs, [&] { OBLBMPAlphaBlend(a.get(), b.get(), all, origin, t.get(), 0.6f, origin); }),
           "two-source byte loop", xorLoop);
    Report("vertical flip in place", Best(runs, [&] { OBLBMPFlipHorizonzal(a.get(), all, a.get(), origin); }),
           "memcpy", copy);
    Report("vertical flip to copy", Best(runs, [&] { OBLBMPFlipHorizonzal(a.get(), all, t.get(), origin); }),
           "memcpy", copy);
    Report("mirror in place", Best(runs, [&] { OBLBMPFlipVertical(a.get(), all, a.get(), origin); }), "memcpy",
           copy);
    Report("mirror to copy", Best(runs, [&] { OBLBMPFlipVertical(a.get(), all, t.get(), origin); }), "memcpy",
           copy);
    TOBLFillObject solid;
    solid.SetFillStyle(sfBrush);
    solid.Brush()->SetColor(static_cast<TColor>(RGB(90, 90, 90)));
    Report("solid fill (FillCanvas)", Best(runs, [&] { solid.FillCanvas(t->Canvas(), all, clWhite); }), "memset",
           fill, kFillGoal);
    return 0;
}
