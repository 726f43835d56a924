// Profile (ini) file text. Its content must read back unchanged, every value found must be
// found again after the file is rewritten, and a value set must read back.
#include "FuzzTarget.h"

#include "platform/win/registry/ProfileText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileText profile(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string content = profile.Content();
    const ProfileText again(content);
    FUZZ_CHECK(again.Content() == content);
    for (const AnsiString& section : profile.SectionNames())
        for (const AnsiString& key : profile.KeyNames(section)) {
            AnsiString value, back;
            FUZZ_CHECK(profile.FindValue(section, key, value));
            FUZZ_CHECK(again.FindValue(section, key, back));
            FUZZ_CHECK(value == back);
        }
    ProfileText changed(content);
    changed.SetValue("Fuzz", "Key", "value");
    AnsiString value;
    FUZZ_CHECK(changed.FindValue("Fuzz", "Key", value));
    FUZZ_CHECK(value == "value");
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    ProfileText profile("; settings\r\n[Main]\r\nName = Rossi \r\n");
    profile.SetValue("Main", "Path", "C:\\Vendaro\\Dati");
    profile.SetValue("Window", "Left", "\"12\"");
    profile.SetValue("Window", "Top", "'7'");
    return {profile.Content(), "[A]\nx=1\r[B]\r\nno key\n[a]\nX=2", "[Open\nk=v\n=\n[]\n"};
}
