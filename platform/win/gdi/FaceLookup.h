// Face lookup: the installed font file that stands for a family name, found with fontconfig
// in the system's configuration, which is loaded once per process (GdiStartFontSetup has it
// loaded in the background).
#pragma once

#include "platform/win/WinTypes.h"

#include <fontconfig/fontconfig.h>

#include <optional>
#include <string>

// The family that stands for the sans-serif faces programs ask for by their Windows names.
inline constexpr char kSansFamily[] = "Liberation Sans";

struct FaceFile {
    std::string path;
    int index = 0;
    bool embolden = false;  // bold asked for, but the face found is not: it is made bolder
    bool slant = false;     // italic asked for, but the face found is upright: it is slanted
    bool operator==(const FaceFile&) const = default;
};

// The face for `family` (or, failing that, a sans-serif one); `weight` 600 and above asks for
// bold. Nullopt when no scalable face is found or fontconfig cannot be loaded. Matches are
// kept: asking again, from any thread, costs a map look-up.
std::optional<FaceFile> FindFaceFile(const std::string& family, LONG weight, bool italic);
// The same lookup in `config`.
std::optional<FaceFile> FindFaceFile(FcConfig* config, const std::string& family, LONG weight, bool italic);
// A new configuration (the caller destroys it) with what FcInit loads, the configuration
// files and the fonts they name, but read faster; nullptr when the configuration cannot be
// loaded that way, as when a file does not parse.
FcConfig* LoadFontConfiguration();
