#include "platform/classlib/IniFiles.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FloatConv.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/win/registry/PrivateProfile.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

// Reads a typed value from its text: missing or unconvertible text gives the default.
template <typename T, typename Parse>
T ReadConverted(TCustomIniFile& ini, const AnsiString& section, const AnsiString& ident, T defaultValue, Parse parse)
{
    const AnsiString text = ini.ReadString(section, ident, "");
    T value;
    return (!text.IsEmpty() && parse(text, value)) ? value : defaultValue;
}

bool ParseDate(const AnsiString& text, TDateTime& value) { return TryStrToDate(text, value, FormatSettings()); }
bool ParseTime(const AnsiString& text, TDateTime& value) { return TryStrToTime(text, value, FormatSettings()); }
bool ParseDateTime(const AnsiString& text, TDateTime& value)
{
    return TryStrToDateTime(text, value, FormatSettings());
}
bool HasNul(const AnsiString& text) { return text.str().find('\0') != std::string::npos; }

// Values are kept 8-bit clean although a profile line cannot hold every value as it is
// (line breaks, NULs, blanks at the ends and enclosing quotes would be lost). Such values,
// and values that begin with the marker, are stored as the marker followed by the bytes
// with "%", blanks and control bytes written as %XX; every other value is stored as it is.
constexpr std::string_view EscapeMarker = "%%";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StorableAsItIs(const std::string& value)
{
    if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return false;
    if (value.starts_with(EscapeMarker)) return false;
    if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) return false;
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return !quoted;
}

AnsiString StoredValue(const AnsiString& value)
{
    if (StorableAsItIs(value.str())) return value;
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out(EscapeMarker);
    for (const char ch : value.str()) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == '%' || c == 0x7F) {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return AnsiString(std::move(out));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The inverse of StoredValue; text that is not a well-formed escaped value stays as read.
AnsiString ValueFromStored(const AnsiString& stored)
{
    const std::string& text = stored.str();
    if (!text.starts_with(EscapeMarker)) return stored;
    std::string out;
    for (std::size_t i = EscapeMarker.size(); i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int hi = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int lo = hi >= 0 ? HexDigit(text[i + 2]) : -1;
        if (lo < 0) return stored;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return AnsiString(std::move(out));
}

bool ParseFloat(const AnsiString& text, double& value) { return TryStrToFloat(text, value); }

// Reads a profile list (NUL-ended names) into strings, growing the buffer until it fits:
// the profile functions answer size - 2 when they had to cut the list.
void ReadProfileList(LPCSTR section, const AnsiString& fileName, TStrings* strings)
{
    std::vector<char> buffer(2048);
    DWORD length;
    while ((length = GetPrivateProfileString(section, nullptr, nullptr, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), fileName.c_str()))
           == buffer.size() - 2)
        buffer.resize(buffer.size() * 2);
    strings->BeginUpdate();
    strings->Clear();
    for (DWORD at = 0; at < length;) {
        const AnsiString name(buffer.data() + at);
        strings->Add(name);
        at += static_cast<DWORD>(name.Length()) + 1;
    }
    strings->EndUpdate();
}

} // namespace

bool TCustomIniFile::SectionExists(const AnsiString& section)
{
    TOwned<TStringList> idents(new TStringList);
    ReadSection(section, idents.get());
    return idents->Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& section, const AnsiString& ident)
{
    TOwned<TStringList> idents(new TStringList);
    ReadSection(section, idents.get());
    return idents->IndexOf(ident) >= 0;
}

int TCustomIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue)
{
    return StrToIntDef(ReadString(section, ident, ""), defaultValue);
}

void TCustomIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue)
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const AnsiString& section, const AnsiString& ident, double defaultValue)
{
    return ReadConverted(*this, section, ident, defaultValue, ParseFloat);
}

void TCustomIniFile::WriteFloat(const AnsiString& section, const AnsiString& ident, double value)
{
    WriteString(section, ident, FloatToStr(value));
}

TDateTime TCustomIniFile::ReadDate(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue)
{
    return ReadConverted(*this, section, ident, defaultValue, ParseDate);
}

void TCustomIniFile::WriteDate(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteString(section, ident, DateToStr(value));
}

TDateTime TCustomIniFile::ReadTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue)
{
    return ReadConverted(*this, section, ident, defaultValue, ParseTime);
}

void TCustomIniFile::WriteTime(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteString(section, ident, TimeToStr(value));
}

TDateTime TCustomIniFile::ReadDateTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue)
{
    return ReadConverted(*this, section, ident, defaultValue, ParseDateTime);
}

void TCustomIniFile::WriteDateTime(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteString(section, ident, DateTimeToStr(value));
}

void TCustomIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings)
{
    TOwned<TStringList> idents(new TStringList);
    ReadSection(section, idents.get());
    strings->BeginUpdate();
    strings->Clear();
    for (int i = 0; i < idents->Count(); ++i)
        strings->Add(idents->Strings(i) + "=" + ReadString(section, idents->Strings(i), ""));
    strings->EndUpdate();
}

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue)
{
    std::vector<char> buffer(2048);
    DWORD length;
    // The default goes in stored form too, so it comes back unchanged whatever it holds.
    const AnsiString storedDefault = StoredValue(defaultValue);
    while ((length = GetPrivateProfileString(section.c_str(), ident.c_str(), storedDefault.c_str(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), FileName().c_str()))
           == buffer.size() - 1)
        buffer.resize(buffer.size() * 2);
    return ValueFromStored(AnsiString(buffer.data(), length));
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    // The profile functions take NUL-ended text: a NUL inside a name would silently cut it.
    if (HasNul(section) || HasNul(ident)) WriteError();
    if (!WritePrivateProfileString(section.c_str(), ident.c_str(), StoredValue(value).c_str(), FileName().c_str()))
        WriteError();
}

void TIniFile::ReadSection(const AnsiString& section, TStrings* strings)
{
    ReadProfileList(section.c_str(), FileName(), strings);
}

void TIniFile::ReadSections(TStrings* strings) { ReadProfileList(nullptr, FileName(), strings); }

void TIniFile::EraseSection(const AnsiString& section)
{
    if (!WritePrivateProfileString(section.c_str(), nullptr, nullptr, FileName().c_str())) WriteError();
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    WritePrivateProfileString(section.c_str(), ident.c_str(), nullptr, FileName().c_str());
}

void TIniFile::UpdateFile()
{
    if (!WritePrivateProfileString(nullptr, nullptr, nullptr, FileName().c_str())) WriteError();
}

void TIniFile::WriteError() const { throw EIniFileException(Format(SIniFileWriteError, {FileName()})); }
