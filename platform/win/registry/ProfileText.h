// The lines of one profile (ini) file and the profile rules over them: "[Section]" headers
// and "key=value" lines; section and key names compared without regard to ASCII case;
// names and values trimmed of blanks (spaces and tabs); the first of duplicate sections or keys wins; lines
// starting with ";" and lines without "=" are kept but carry no key. Changes keep every
// other line as it was; the file is written back with CR LF after every line.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <string>
#include <string_view>
#include <vector>

class ProfileText {
public:
    // Lines end with CR LF, LF or a lone CR.
    explicit ProfileText(std::string_view content);

    std::string Content() const;

    std::vector<AnsiString> SectionNames() const;
    bool HasSection(const AnsiString& section) const;
    std::vector<AnsiString> KeyNames(const AnsiString& section) const;
    // The key lines of the section, each as key "=" value, trimmed.
    std::vector<AnsiString> SectionLines(const AnsiString& section) const;
    // The trimmed value, enclosing quotes still on; false when section or key is missing.
    bool FindValue(const AnsiString& section, const AnsiString& key, AnsiString& value) const;

    // Replaces the key's line, or adds one after the section's last key line, or adds the
    // section at the end of the file (after a blank line).
    void SetValue(const AnsiString& section, const AnsiString& key, const AnsiString& value);
    // Removes every line of the key in the section; false when there was nothing to remove.
    bool DeleteKey(const AnsiString& section, const AnsiString& key);
    bool DeleteSection(const AnsiString& section);

private:
    struct Range {
        std::size_t header;  // index of the "[...]" line
        std::size_t end;     // one past the section's last line
    };
    bool FindSection(const AnsiString& section, Range& range) const;
    bool FindKeyLine(const Range& range, const AnsiString& key, std::size_t& index) const;

    std::vector<AnsiString> lines_;
};

// True when a "key=value" line keeps the key as its name: no line break and no "=" in it, and
// no ";" or "[" as its first byte after blanks (the line would be a comment or a header).
// Other control bytes are kept, as the lines are read.
bool IsProfileKeyName(const AnsiString& key);

// The value as the profile functions return it: one pair of enclosing double or single
// quotes removed.
AnsiString UnquoteProfileValue(const AnsiString& value);
