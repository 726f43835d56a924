#include "platform/win/registry/RegistryFile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr std::string_view Signature = "VENDARO-REGISTRY 1";
constexpr char HexDigits[] = "0123456789ABCDEF";

bool NeedsEscape(unsigned char c) { return c <= 0x20 || c >= 0x7F || c == '%'; }

void AppendHexByte(std::string& out, unsigned char c)
{
    out += HexDigits[c >> 4];
    out += HexDigits[c & 0x0F];
}

std::string EscapeName(const AnsiString& name)
{
    std::string out;
    for (const char ch : name.str()) {
        const auto c = static_cast<unsigned char>(ch);
        if (NeedsEscape(c)) {
            out += '%';
            AppendHexByte(out, c);
        } else {
            out += ch;
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool DecodeHexPair(std::string_view text, std::size_t at, char& out)
{
    if (at + 1 >= text.size()) return false;
    const int hi = HexValue(text[at]);
    const int lo = HexValue(text[at + 1]);
    if (hi < 0 || lo < 0) return false;
    out = static_cast<char>(hi * 16 + lo);
    return true;
}

bool UnescapeName(std::string_view text, AnsiString& out)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            result += text[i];
            continue;
        }
        char c;
        if (!DecodeHexPair(text, i + 1, c)) return false;
        result += c;
        i += 2;
    }
    out = AnsiString(std::move(result));
    return true;
}

std::string HexData(const std::string& data)
{
    if (data.empty()) return "-";
    std::string out;
    for (const char c : data) AppendHexByte(out, static_cast<unsigned char>(c));
    return out;
}

bool ParseHexData(std::string_view text, std::string& out)
{
    out.clear();
    if (text == "-") return true;
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        char c;
        if (!DecodeHexPair(text, i, c)) return false;
        out += c;
    }
    return true;
}

void WriteKey(std::string& out, const RegistryKey& key, const std::string& path, bool isRoot)
{
    if (!key.Values().empty() || (!isRoot && key.SubKeys().empty())) out += "K " + path + "\n";
    for (const auto& value : key.Values()) {
        char type[16];
        std::snprintf(type, sizeof type, "%08X", static_cast<unsigned>(value.type));
        out += "V " + std::string(type) + " " + HexData(value.data) + " " + EscapeName(value.name) + "\n";
    }
    for (const auto& sub : key.SubKeys()) WriteKey(out, *sub, path + "\\" + EscapeName(sub->Name()), false);
}

std::shared_ptr<RegistryKey> FindRoot(const RegistryRoots& roots, const AnsiString& name)
{
    for (const auto& root : roots)
        if (CompareRegistryNames(root->Name(), name) == 0) return root;
    return nullptr;
}

// Names travel through the registry calls as C strings: one holding a NUL would be cut there
// and name another key or value.
bool HasNul(const AnsiString& name) { return name.str().find('\0') != std::string::npos; }

// One line of the file, checked whole before anything of the file is added to the tree.
struct ParsedLine {
    std::shared_ptr<RegistryKey> root;  // a "K" line: the root and the subkey names under it
    std::vector<AnsiString> path;
    bool isValue = false;               // a "V" line: the value of the last key
    RegistryValue value;
};

// "K" line: the root name, then escaped subkey names separated by "\".
bool ParseKeyLine(std::string_view path, const RegistryRoots& roots, ParsedLine& line)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        AnsiString name;
        if (end == start || !UnescapeName(path.substr(start, end - start), name) || HasNul(name)) return false;
        // A key name never holds the path separator, or the tree would not write back as read.
        if (name.str().find('\\') != std::string::npos) return false;
        if (line.root) line.path.push_back(name);
        else if (!(line.root = FindRoot(roots, name))) return false;
        start = end + 1;
    }
    return true;
}

// "V" line: type, data, name.
bool ParseValueLine(std::string_view rest, RegistryValue& value)
{
    const std::size_t typeEnd = rest.find(' ');
    if (typeEnd != 8) return false;
    const std::size_t dataEnd = rest.find(' ', typeEnd + 1);
    if (dataEnd == std::string_view::npos) return false;
    value.type = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const int digit = HexValue(rest[i]);
        if (digit < 0) return false;
        value.type = value.type * 16 + static_cast<DWORD>(digit);
    }
    return ParseHexData(rest.substr(typeEnd + 1, dataEnd - typeEnd - 1), value.data)
           && UnescapeName(rest.substr(dataEnd + 1), value.name) && !HasNul(value.name);
}

// Empty lines carry nothing; every other line must be a key, or a value after a key.
bool ParseLine(std::string_view text, const RegistryRoots& roots, bool afterKey, ParsedLine& line)
{
    if (text.starts_with("K ")) return ParseKeyLine(text.substr(2), roots, line);
    line.isValue = true;
    return afterKey && text.starts_with("V ") && ParseValueLine(text.substr(2), line.value);
}

bool ParseLines(std::string_view text, const RegistryRoots& roots, std::vector<ParsedLine>& lines)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        ParsedLine parsed;
        if (!ParseLine(line, roots, !lines.empty(), parsed)) return false;
        lines.push_back(std::move(parsed));
    }
    return true;
}

void AddLines(std::vector<ParsedLine>& lines)
{
    std::shared_ptr<RegistryKey> current;
    for (auto& line : lines) {
        if (line.isValue) {
            current->SetValue(line.value.name, line.value.type, std::move(line.value.data));
            continue;
        }
        current = line.root;
        bool created;
        for (const auto& name : line.path) current = current->AddSubKey(name, created);
    }
}

} // namespace

std::string FormatRegistryText(const RegistryRoots& roots)
{
    std::string out(Signature);
    out += "\n";
    for (const auto& root : roots) WriteKey(out, *root, EscapeName(root->Name()), true);
    return out;
}

bool ParseRegistryText(std::string_view text, const RegistryRoots& roots)
{
    // Editors that save UTF-8 put a byte-order mark first.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::size_t firstEnd = text.find('\n');
    std::string_view first = text.substr(0, firstEnd);
    if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
    if (first != Signature) return false;
    std::vector<ParsedLine> lines;
    if (!ParseLines(text.substr(firstEnd == std::string_view::npos ? text.size() : firstEnd + 1), roots, lines))
        return false;
    AddLines(lines);
    return true;
}
