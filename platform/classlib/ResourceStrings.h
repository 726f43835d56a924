// Resource strings: the user-visible texts of the system, each known by an identifier and
// looked up in one table when used, so that a translation replaces the table and not the
// code. A text is declared once, at global scope:
//
//     VENDARO_RESOURCESTRING(_IDS_PATH, "Path:")
//
// and used as LoadResString(_IDS_PATH) (or _IDS_PATH.Text()), which answers the table's
// current text for "_IDS_PATH": the translation when one was set, else the default text.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <vector>

class TStrings;

class TResourceString {
public:
    // Enters the identifier and its default text in the table.
    TResourceString(const char* identifier, const char* defaultText);
    TResourceString(const TResourceString&) = delete;
    TResourceString& operator=(const TResourceString&) = delete;

    const char* Identifier() const { return identifier_; }
    const char* DefaultText() const { return defaultText_; }
    AnsiString Text() const;
    operator AnsiString() const { return Text(); }

private:
    const char* identifier_;
    const char* defaultText_;
};

#define VENDARO_RESOURCESTRING(Name, Text) inline const TResourceString Name{#Name, Text};

AnsiString LoadResString(const TResourceString& resourceString);

// The table, by identifier (case-sensitive, as the identifiers are names in the code).
bool ResourceStringExists(const AnsiString& identifier);
// The current text of a declared string; empty for an unknown identifier.
AnsiString ResourceStringText(const AnsiString& identifier);
// Replaces the text of a declared string; false (and nothing changes) for an unknown one.
bool SetResourceStringText(const AnsiString& identifier, const AnsiString& text);
// Applies a translation given as "identifier=text" lines; answers how many were applied.
// Lines naming no declared string are skipped.
int LoadResourceStringTable(const TStrings& translation);
// Every declared identifier, in declaration order.
std::vector<AnsiString> ResourceStringIdentifiers();
// Back to the default texts.
void ResetResourceStrings();
