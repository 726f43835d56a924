#include "platform/win/gdi/FaceLookup.h"

#include "platform/rtl/BackgroundOnce.h"
#include "platform/win/gdi/Gdi.h"

#include <map>
#include <mutex>
#include <tuple>

namespace {

bool NamesCacheFolders(FcConfig* config) {
    FcStrList* folders = FcConfigGetCacheDirs(config);
    const bool any = folders && FcStrListNext(folders);
    FcStrListDone(folders);
    return any;
}

// Makes the system's configuration the current one: the fast way when it can, else
// FcInit's, with its fallback configuration and default cache folders.
bool LoadCurrentConfiguration() {
    if (FcConfig* config = LoadFontConfiguration()) {
        const bool current = FcConfigSetCurrent(config);
        FcConfigDestroy(config);  // the current configuration holds a reference of its own
        if (current)
            return true;
    }
    return FcInit() == FcTrue;
}

// Faces matched in the current configuration so far, by family, boldness and slant (all a
// match depends on): each match sorts every installed face against the pattern.
std::optional<FaceFile> MatchedFace(const std::string& family, LONG weight, bool italic) {
    using Key = std::tuple<std::string, bool, bool>;
    static std::mutex mutex;
    static std::map<Key, std::optional<FaceFile>> faces;
    // Held while matching, so that a face the loader thread is matching is waited for, not
    // matched twice.
    const std::lock_guard<std::mutex> lock(mutex);
    const Key key{family, weight >= 600, italic};
    auto it = faces.find(key);
    if (it == faces.end())
        it = faces.emplace(key, FindFaceFile(nullptr, family, weight, italic)).first;
    return it->second;
}

// Loads the configuration, then matches the faces nearly every program's first window
// needs: its text and its bold caption title.
bool LoadConfigurationAndFirstFaces() {
    if (!LoadCurrentConfiguration())
        return false;
    MatchedFace(kSansFamily, FW_NORMAL, false);
    MatchedFace(kSansFamily, FW_BOLD, false);
    return true;
}

// The current configuration, loaded once and released when the process ends.
BackgroundOnce<bool>& SystemConfiguration() {
    static BackgroundOnce<bool> load(LoadConfigurationAndFirstFaces, [](bool loaded) {
        if (loaded)
            FcFini();
    });
    return load;
}

}  // namespace

void GdiStartFontSetup() { SystemConfiguration().Start(); }

// FcInit also parses every rule template of the system (conf.avail), enabled or not, only
// to list them as rule sets one could enable: matching uses the enabled rules alone, which
// the configuration files include. That parse is over a third of FcInit's work.
FcConfig* LoadFontConfiguration() {
    FcConfig* config = FcConfigCreate();
    if (!config)
        return nullptr;
    if (FcConfigParseAndLoad(config, nullptr, FcTrue) && NamesCacheFolders(config) && FcConfigBuildFonts(config))
        return config;
    FcConfigDestroy(config);
    return nullptr;
}

std::optional<FaceFile> FindFaceFile(const std::string& family, LONG weight, bool italic) {
    if (!SystemConfiguration().Get())
        return std::nullopt;
    return MatchedFace(family, weight, italic);
}

std::optional<FaceFile> FindFaceFile(FcConfig* config, const std::string& family, LONG weight, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return std::nullopt;
    FaceFile file;
    FcChar8* path = nullptr;
    int index = 0, gotWeight = FC_WEIGHT_REGULAR, gotSlant = FC_SLANT_ROMAN;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file.path = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
        file.index = index;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &gotWeight);
    FcPatternGetInteger(match, FC_SLANT, 0, &gotSlant);
    file.embolden = weight >= 600 && gotWeight < FC_WEIGHT_BOLD;
    file.slant = italic && gotSlant == FC_SLANT_ROMAN;
    FcPatternDestroy(match);
    if (file.path.empty())
        return std::nullopt;
    return file;
}
