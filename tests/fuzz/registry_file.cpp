// The registry file's text. What is read must write out as text that reads back to the
// same tree and the same text again.
#include "FuzzTarget.h"

#include "platform/win/registry/RegistryFile.h"

namespace {

RegistryRoots Roots() {
    return {std::make_shared<RegistryKey>("HKEY_CURRENT_USER"), std::make_shared<RegistryKey>("HKEY_LOCAL_MACHINE")};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto roots = Roots();
    if (!ParseRegistryText(std::string_view(reinterpret_cast<const char*>(data), size), roots)) {
        for (const auto& root : roots)
            FUZZ_CHECK(root->SubKeys().empty() && root->Values().empty());
        return 0;
    }
    const std::string text = FormatRegistryText(roots);
    const auto again = Roots();
    FUZZ_CHECK(ParseRegistryText(text, again));
    FUZZ_CHECK(FormatRegistryText(again) == text);
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    const auto roots = Roots();
    bool created;
    auto acme = roots[0]->AddSubKey("Software", created)->AddSubKey("Acme Co", created);
    acme->SetValue("Name", 1, std::string("Acme\0", 5));
    acme->SetValue("", 4, std::string("\x01\x00\x00\x00", 4));
    acme->SetValue("bin%\xE9", 3, "");
    roots[1]->AddSubKey("Empty", created);
    const std::string text = FormatRegistryText(roots);
    return {text, "\xEF\xBB\xBF" + text, "Windows Registry Editor Version 5.00\r\n", "VENDARO-REGISTRY 1\n"};
}
