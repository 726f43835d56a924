#include "platform/classlib/ResourceStrings.h"

#include "platform/classlib/Classes.h"

#include <map>
#include <string>

namespace {

struct Entry {
    const TResourceString* declaration;
    bool translated = false;
    AnsiString text;
};

struct Table {
    std::map<std::string, Entry> entries;
    std::vector<AnsiString> order;
};

Table& TheTable()
{
    static Table table;
    return table;
}

Entry* Find(const AnsiString& identifier)
{
    auto& entries = TheTable().entries;
    auto it = entries.find(identifier.str());
    return it == entries.end() ? nullptr : &it->second;
}

} // namespace

TResourceString::TResourceString(const char* identifier, const char* defaultText)
    : identifier_(identifier), defaultText_(defaultText)
{
    Table& table = TheTable();
    if (table.entries.emplace(identifier, Entry{this, false, AnsiString()}).second)
        table.order.emplace_back(identifier);
}

AnsiString TResourceString::Text() const
{
    const Entry* entry = Find(identifier_);
    return entry && entry->translated ? entry->text : AnsiString(defaultText_);
}

AnsiString LoadResString(const TResourceString& resourceString) { return resourceString.Text(); }

bool ResourceStringExists(const AnsiString& identifier) { return Find(identifier) != nullptr; }

AnsiString ResourceStringText(const AnsiString& identifier)
{
    const Entry* entry = Find(identifier);
    return entry ? entry->declaration->Text() : AnsiString();
}

bool SetResourceStringText(const AnsiString& identifier, const AnsiString& text)
{
    Entry* entry = Find(identifier);
    if (!entry)
        return false;
    entry->translated = true;
    entry->text = text;
    return true;
}

int LoadResourceStringTable(const TStrings& translation)
{
    int applied = 0;
    for (int i = 0; i < translation.Count(); ++i) {
        AnsiString line = translation.Strings(i);
        int eq = Pos("=", line);
        if (eq > 0 && SetResourceStringText(Copy(line, 1, eq - 1), Copy(line, eq + 1, line.Length())))
            ++applied;
    }
    return applied;
}

std::vector<AnsiString> ResourceStringIdentifiers() { return TheTable().order; }

void ResetResourceStrings()
{
    for (auto& [name, entry] : TheTable().entries) {
        entry.translated = false;
        entry.text = AnsiString();
    }
}
