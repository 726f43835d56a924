#include "platform/win/registry/ProfileText.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace {

// Blanks are spaces and tabs only, so every other byte of a value survives.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

AnsiString TrimBlanksLeft(const AnsiString& s)
{
    int first = 1;
    while (first <= s.Length() && IsBlank(s[first])) ++first;
    return Copy(s, first, s.Length());
}

AnsiString TrimBlanks(const AnsiString& s)
{
    AnsiString text = TrimBlanksLeft(s);
    int last = text.Length();
    while (last >= 1 && IsBlank(text[last])) --last;
    return Copy(text, 1, last);
}

// Section and key names are handed out as C strings: a name ends at its first NUL, and only
// then are its blanks trimmed, so that reading the file again finds the same name.
AnsiString NameOf(const AnsiString& s)
{
    const int nul = Pos(AnsiString('\0'), s);
    return TrimBlanks(nul == 0 ? s : Copy(s, 1, nul - 1));
}

bool ParseHeader(const AnsiString& line, AnsiString& name)
{
    const AnsiString text = TrimBlanksLeft(line);
    if (text.IsEmpty() || text[1] != '[') return false;
    const int close = Pos("]", text);
    name = NameOf(close == 0 ? Copy(text, 2, text.Length()) : Copy(text, 2, close - 2));
    return true;
}

bool ParseKey(const AnsiString& line, AnsiString& key, AnsiString& value)
{
    const AnsiString text = TrimBlanksLeft(line);
    if (text.IsEmpty() || text[1] == ';' || text[1] == '[') return false;
    const int equals = Pos("=", text);
    if (equals == 0) return false;
    key = NameOf(Copy(text, 1, equals - 1));
    value = TrimBlanks(Copy(text, equals + 1, text.Length()));
    return true;
}

} // namespace

ProfileText::ProfileText(std::string_view content)
{
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find_first_of("\r\n", start), content.size());
        lines_.emplace_back(content.substr(start, end - start));
        start = end;
        if (start < content.size() && content[start] == '\r') ++start;
        if (start < content.size() && content[start] == '\n' && (start == end || content[start - 1] == '\r')) ++start;
    }
}

std::string ProfileText::Content() const
{
    std::string out;
    for (const auto& line : lines_) out += line.str() + "\r\n";
    return out;
}

std::vector<AnsiString> ProfileText::SectionNames() const
{
    std::vector<AnsiString> names;
    AnsiString name;
    for (const auto& line : lines_)
        if (ParseHeader(line, name)) names.push_back(name);
    return names;
}

bool ProfileText::HasSection(const AnsiString& section) const
{
    Range range;
    return FindSection(section, range);
}

std::vector<AnsiString> ProfileText::KeyNames(const AnsiString& section) const
{
    std::vector<AnsiString> names;
    Range range;
    if (!FindSection(section, range)) return names;
    AnsiString key, value;
    for (std::size_t i = range.header + 1; i < range.end; ++i)
        if (ParseKey(lines_[i], key, value)) names.push_back(key);
    return names;
}

std::vector<AnsiString> ProfileText::SectionLines(const AnsiString& section) const
{
    std::vector<AnsiString> result;
    Range range;
    if (!FindSection(section, range)) return result;
    AnsiString key, value;
    for (std::size_t i = range.header + 1; i < range.end; ++i)
        if (ParseKey(lines_[i], key, value)) result.push_back(key + "=" + value);
    return result;
}

bool ProfileText::FindValue(const AnsiString& section, const AnsiString& key, AnsiString& value) const
{
    Range range;
    std::size_t index;
    if (!FindSection(section, range) || !FindKeyLine(range, key, index)) return false;
    AnsiString name;
    return ParseKey(lines_[index], name, value);
}

void ProfileText::SetValue(const AnsiString& section, const AnsiString& key, const AnsiString& value)
{
    Range range;
    if (!FindSection(section, range)) {
        if (!lines_.empty() && !TrimBlanks(lines_.back()).IsEmpty()) lines_.emplace_back();
        lines_.push_back("[" + section + "]");
        lines_.push_back(key + "=" + value);
        return;
    }
    std::size_t index;
    if (FindKeyLine(range, key, index)) {
        AnsiString name, old;
        ParseKey(lines_[index], name, old);
        lines_[index] = name + "=" + value;
        return;
    }
    std::size_t at = range.end;
    while (at > range.header + 1 && TrimBlanks(lines_[at - 1]).IsEmpty()) --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), key + "=" + value);
}

bool ProfileText::DeleteKey(const AnsiString& section, const AnsiString& key)
{
    Range range;
    if (!FindSection(section, range)) return false;
    // Every line of the key goes: with only the first removed, a later duplicate would
    // become the value read.
    bool removed = false;
    std::size_t index;
    while (FindKeyLine(range, key, index)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
        --range.end;
        removed = true;
    }
    return removed;
}

bool ProfileText::DeleteSection(const AnsiString& section)
{
    Range range;
    if (!FindSection(section, range)) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range.header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range.end));
    return true;
}

bool ProfileText::FindSection(const AnsiString& section, Range& range) const
{
    AnsiString name;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!ParseHeader(lines_[i], name) || !SameText(name, TrimBlanks(section))) continue;
        range.header = i;
        range.end = i + 1;
        while (range.end < lines_.size() && !ParseHeader(lines_[range.end], name)) ++range.end;
        return true;
    }
    return false;
}

bool ProfileText::FindKeyLine(const Range& range, const AnsiString& key, std::size_t& index) const
{
    AnsiString name, value;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (ParseKey(lines_[i], name, value) && SameText(name, TrimBlanks(key))) {
            index = i;
            return true;
        }
    }
    return false;
}

bool IsProfileKeyName(const AnsiString& key)
{
    if (key.str().find_first_of("\r\n=") != std::string::npos) return false;
    const AnsiString text = TrimBlanksLeft(key);
    return text.IsEmpty() || (text[1] != '[' && text[1] != ';');
}

AnsiString UnquoteProfileValue(const AnsiString& value)
{
    const int length = value.Length();
    if (length >= 2 && (value[1] == '"' || value[1] == '\'') && value[length] == value[1])
        return Copy(value, 2, length - 2);
    return value;
}
