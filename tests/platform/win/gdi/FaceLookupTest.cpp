#include "platform/win/gdi/FaceLookup.h"

#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

// The families the font engine asks for, generic names, and every installed family.
std::set<std::string> FamiliesToLookUp(FcConfig* config) {
    std::set<std::string> families = {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans",
                                      "MS Sans Serif", "Small Fonts", "sans-serif", "serif", "monospace",
                                      "No Such Family", ""};
    if (FcFontSet* fonts = FcConfigGetFonts(config, FcSetSystem))
        for (int i = 0; i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
                families.insert(reinterpret_cast<const char*>(family));
        }
    return families;
}

std::string Describe(const std::optional<FaceFile>& file) {
    return file ? file->path + "#" + std::to_string(file->index) + (file->embolden ? " emboldened" : "") +
                      (file->slant ? " slanted" : "")
                : "none";
}

} // namespace

TEST(FaceLookup, TheFasterLoadFindsTheFacesFcInitsLoadFinds) {
    FcConfig* reference = FcInitLoadConfigAndFonts();
    FcConfig* faster = LoadFontConfiguration();
    ASSERT_NE(nullptr, reference);
    ASSERT_NE(nullptr, faster);
    ASSERT_TRUE(FindFaceFile(faster, "Liberation Sans", FW_NORMAL, false));
    for (const std::string& family : FamiliesToLookUp(reference))
        for (LONG weight : {FW_NORMAL, FW_BOLD})
            for (bool italic : {false, true})
                EXPECT_EQ(Describe(FindFaceFile(reference, family, weight, italic)),
                          Describe(FindFaceFile(faster, family, weight, italic)))
                    << family << " " << weight << (italic ? " italic" : "");
    FcConfigDestroy(faster);
    FcConfigDestroy(reference);
}

// In a process of its own: the lookups are the first, made while the background load may
// still be running, and the process ends with the configuration released.
TEST(FaceLookupDeathTest, LookupsAfterABackgroundStartFindTheFacesOfTheLoadedConfiguration) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            GdiStartFontSetup();
            const std::optional<FaceFile> regular = FindFaceFile("Liberation Sans", FW_NORMAL, false);
            const std::optional<FaceFile> bold = FindFaceFile("Liberation Sans", FW_BOLD, false);
            FcConfig* loaded = LoadFontConfiguration();
            const bool same = regular && regular == FindFaceFile(loaded, "Liberation Sans", FW_NORMAL, false) &&
                              bold == FindFaceFile(loaded, "Liberation Sans", FW_BOLD, false);
            FcConfigDestroy(loaded);
            std::exit(same ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
