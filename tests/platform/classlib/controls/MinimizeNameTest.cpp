#include "platform/classlib/FileCtrl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ShorteningCase {
    const char* path;
    // The limit is this text's width (minus one pixel when `narrower`).
    const char* limitText;
    bool narrower;
    const char* shown;
};

// Each line: the first form that fits, from the full path to the shortest one.
const ShorteningCase kCases[] = {
    {"C:\\Dati\\Archivio\\2026\\clienti.db", "C:\\Dati\\Archivio\\2026\\clienti.db", false,
     "C:\\Dati\\Archivio\\2026\\clienti.db"},
    {"C:\\Dati\\Archivio\\2026\\clienti.db", "C:\\Dati\\Archivio\\2026\\clienti.db", true,
     "C:\\...\\Archivio\\2026\\clienti.db"},
    {"C:\\Dati\\Archivio\\2026\\clienti.db", "C:\\...\\2026\\clienti.db", false, "C:\\...\\2026\\clienti.db"},
    {"C:\\Dati\\Archivio\\2026\\clienti.db", "C:\\...\\2026\\clienti.db", true, "C:\\...\\clienti.db"},
    // The drive and the name stay even when the shortest form is still too wide.
    {"C:\\Dati\\Archivio\\2026\\clienti.db", "C:", false, "C:\\...\\clienti.db"},
    // No folder to replace: as it is.
    {"C:\\clienti.db", "C:", false, "C:\\clienti.db"},
    // A folder path ending in "\" keeps its last folder as the name.
    {"C:\\Dati\\Archivio\\", "C:", false, "C:\\...\\Archivio\\"},
    {"\\\\server\\share\\Dati\\Archivio\\clienti.db", "\\\\server\\share\\...\\Archivio\\clienti.db", false,
     "\\\\server\\share\\...\\Archivio\\clienti.db"},
    {"\\Dati\\Archivio\\clienti.db", "x", false, "\\...\\clienti.db"},
    {"Dati\\Archivio\\clienti.db", "x", false, "...\\clienti.db"},
};

TEST(MinimizeName, ReplacesFoldersFromTheLeftUntilThePathFits)
{
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas* canvas = bitmap.Canvas();
    for (const ShorteningCase& c : kCases) {
        const int limit = canvas->TextWidth(c.limitText) - (c.narrower ? 1 : 0);
        EXPECT_EQ(MinimizeName(c.path, canvas, limit).str(), c.shown) << c.path << " in " << limit;
    }
}

} // namespace
