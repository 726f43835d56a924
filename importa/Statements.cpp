#include "importa/Statements.h"

#include "importa/UnitInitialization.h"
#include "platform/rtl/ErrorOutput.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <string>

void RunStatement(TQuery* query, const AnsiString& text)
{
    query->SQL()->Clear();
    query->SQL()->Add(text);
    query->ExecSQL();
}

void OpenStatement(TQuery* query, const AnsiString& text)
{
    query->SQL()->Clear();
    query->SQL()->Add(text);
    query->Open();
}

AnsiString FieldText(TQuery* query, const char* name) { return query->FieldByName(name)->AsString(); }

std::string FieldUtf8(TQuery* query, const char* name) { return query->FieldByName(name)->AsUtf8(); }

void ReportChangedText(TQuery* source, const char* table, const char* codeField, std::span<const char* const> fields)
{
    std::string changed;
    for (const char* field : fields) {
        if (!source->FieldByName(field)->TextChanged())
            continue;
        if (!changed.empty())
            changed += ", ";
        changed += field;
    }
    if (changed.empty())
        return;
    std::string row = table;
    if (codeField)
        row += ", row " + FieldUtf8(source, codeField);
    WriteErrorLineUtf8(kProgramName, row + ": " + changed +
                                         ": characters the code page cannot hold are stored as \"?\"");
}

AnsiString ReplaceAll(const AnsiString& value, const AnsiString& oldText, const AnsiString& newText)
{
    return StringReplace(value, oldText, newText, {rfReplaceAll});
}

void ReplaceChar(AnsiString& value, char oldChar, char newChar)
{
    std::replace(value.str().begin(), value.str().end(), oldChar, newChar);
}

void DropChar(AnsiString& value, char oldChar) { std::erase(value.str(), oldChar); }

namespace {

void AppendQuoted(std::string& out, const AnsiString& value)
{
    const std::string& text = value.str();
    out += '\'';
    for (std::size_t at = 0;;) {
        const std::size_t quote = text.find('\'', at);
        if (quote == std::string::npos) {
            out.append(text, at);
            break;
        }
        out.append(text, at, quote + 1 - at);
        out += '\'';
        at = quote + 1;
    }
    out += '\'';
}

} // namespace

AnsiString Quoted(const AnsiString& value)
{
    std::string quoted;
    quoted.reserve(value.str().size() + 2);
    AppendQuoted(quoted, value);
    return AnsiString(std::move(quoted));
}

AnsiString QuotedList(std::initializer_list<AnsiString> values)
{
    std::string list;
    for (const AnsiString& value : values) {
        if (!list.empty())
            list += ',';
        AppendQuoted(list, value);
    }
    return AnsiString(std::move(list));
}

namespace {

// Advances over digits; true when there was at least one.
bool SkipDigits(const AnsiString& s, int& i)
{
    const int start = i;
    while (i <= s.Length() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i;
    return i > start;
}

bool IsPlainNumber(const AnsiString& s)
{
    int i = 1;
    if (i <= s.Length() && (s[i] == '-' || s[i] == '+'))
        ++i;
    if (!SkipDigits(s, i))
        return false;
    if (i <= s.Length() && s[i] == '.') {
        ++i;
        if (!SkipDigits(s, i))
            return false;
    }
    if (i <= s.Length() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i <= s.Length() && (s[i] == '-' || s[i] == '+'))
            ++i;
        if (!SkipDigits(s, i))
            return false;
    }
    return i > s.Length();
}

} // namespace

const AnsiString& Number(const AnsiString& value)
{
    if (!IsPlainNumber(value))
        throw EConvertError("'" + value + "' is not a number");
    return value;
}
