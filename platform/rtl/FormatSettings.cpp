#include "platform/rtl/FormatSettings.h"

namespace {

TFormatSettings& Current()
{
    static TFormatSettings settings;
    return settings;
}

} // namespace

const TFormatSettings& FormatSettings() { return Current(); }

void SetFormatSettings(const TFormatSettings& settings) { Current() = settings; }

void ResetFormatSettings() { Current() = TFormatSettings(); }

TFormatSettingsOverride::TFormatSettingsOverride(const TFormatSettings& settings) : previous_(Current())
{
    Current() = settings;
}

TFormatSettingsOverride::~TFormatSettingsOverride() { Current() = previous_; }
