// The text form in which the registry tree is kept on disk. One line per item, LF-ended:
//   VENDARO-REGISTRY 1                       first line
//   K HKEY_CURRENT_USER\Software\Acme        a key (its parents exist implicitly)
//   V 00000001 41636D6500 Name               a value of the last key: type, data in hex, name
// Names escape every byte below 0x21, above 0x7E and "%" as %XX, so any byte survives and
// the name runs to the end of the line. Empty data is written as "-".
#pragma once

#include "platform/win/registry/RegistryKey.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

using RegistryRoots = std::vector<std::shared_ptr<RegistryKey>>;

std::string FormatRegistryText(const RegistryRoots& roots);
// Adds what the text holds to the roots (matched by name); empty lines carry nothing. A text
// that does not begin with the signature line (after an optional UTF-8 byte-order mark) is
// not a registry file, and neither is one with a line that does not parse, a key under a root
// that is not there, a value before any key, or a name holding a NUL (the registry calls
// would cut it there): nothing is added and the answer is false, so that no line is lost by
// writing the tree back.
bool ParseRegistryText(std::string_view text, const RegistryRoots& roots);
