#include "platform/classlib/Registry.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FloatConv.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"

#include <vector>

namespace {

bool IsRelative(const AnsiString& key) { return key.IsEmpty() || key[1] != '\\'; }

AnsiString WithoutLeadingBackslash(const AnsiString& key) { return IsRelative(key) ? key : Copy(key, 2, key.Length()); }

TRegDataType DataTypeToRegData(DWORD type)
{
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

DWORD RegDataToDataType(TRegDataType type)
{
    switch (type) {
    case rdString: return REG_SZ;
    case rdExpandString: return REG_EXPAND_SZ;
    case rdInteger: return REG_DWORD;
    case rdBinary: return REG_BINARY;
    default: return REG_NONE;
    }
}

bool IsText(TRegDataType type) { return type == rdString || type == rdExpandString; }

bool ParseFloat(const AnsiString& text, double& value) { return TryStrToFloat(text, value); }
bool ParseDate(const AnsiString& text, double& value) { return TryStrToDate(text, value, FormatSettings()); }
bool ParseTime(const AnsiString& text, double& value) { return TryStrToTime(text, value, FormatSettings()); }
bool ParseDateTime(const AnsiString& text, double& value) { return TryStrToDateTime(text, value, FormatSettings()); }

// Closes a handle at the end of a scope, also when an exception passes.
struct KeyCloser {
    HKEY key;
    ~KeyCloser() { RegCloseKey(key); }
};

} // namespace

// --- TRegistry -------------------------------------------------------------------------

void TRegistry::SetRootKey(HKEY value)
{
    if (rootKey_ == value) return;
    rootKey_ = value;
    CloseKey();
}

void TRegistry::ChangeKey(HKEY value, const AnsiString& path)
{
    CloseKey();
    currentKey_ = value;
    currentPath_ = path;
}

HKEY TRegistry::GetBaseKey(bool relative) const { return (currentKey_ && relative) ? currentKey_ : rootKey_; }

HKEY TRegistry::GetKey(const AnsiString& key)
{
    HKEY opened = nullptr;
    RegOpenKeyEx(GetBaseKey(IsRelative(key)), WithoutLeadingBackslash(key).c_str(), 0, access_, &opened);
    return opened;
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate)
{
    const bool relative = IsRelative(key);
    AnsiString path = WithoutLeadingBackslash(key);
    HKEY opened = nullptr;
    const LONG result = (!canCreate || path.IsEmpty())
                            ? RegOpenKeyEx(GetBaseKey(relative), path.c_str(), 0, access_, &opened)
                            : RegCreateKeyEx(GetBaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             access_, nullptr, &opened, nullptr);
    if (result != ERROR_SUCCESS) return false;
    if (currentKey_ && relative) path = currentPath_ + "\\" + path;
    ChangeKey(opened, path);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key)
{
    const bool relative = IsRelative(key);
    AnsiString path = WithoutLeadingBackslash(key);
    HKEY opened = nullptr;
    if (RegOpenKeyEx(GetBaseKey(relative), path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    access_ = KEY_READ;
    if (currentKey_ && relative) path = currentPath_ + "\\" + path;
    ChangeKey(opened, path);
    return true;
}

void TRegistry::CloseKey()
{
    if (!currentKey_) return;
    if (!lazyWrite_) RegFlushKey(currentKey_);
    RegCloseKey(currentKey_);
    currentKey_ = nullptr;
    currentPath_ = "";
}

bool TRegistry::CreateKey(const AnsiString& key)
{
    HKEY created = nullptr;
    if (RegCreateKeyEx(GetBaseKey(IsRelative(key)), WithoutLeadingBackslash(key).c_str(), 0, nullptr,
                       REG_OPTION_NON_VOLATILE, access_, nullptr, &created, nullptr)
        != ERROR_SUCCESS)
        throw ERegistryException(Format(SRegCreateFailed, {key}));
    RegCloseKey(created);
    return true;
}

bool TRegistry::DeleteKey(const AnsiString& key)
{
    const bool relative = IsRelative(key);
    const AnsiString path = WithoutLeadingBackslash(key);
    HKEY target = nullptr;
    if (RegOpenKeyEx(GetBaseKey(relative), path.c_str(), 0, KEY_READ, &target) == ERROR_SUCCESS) {
        // The registry deletes only keys without subkeys: delete the branch bottom-up.
        const KeyCloser closer{target};
        const HKEY previous = currentKey_;
        struct Restore {
            TRegistry& registry;
            HKEY key;
            ~Restore() { registry.SetCurrentKey(key); }
        } restore{*this, previous};
        SetCurrentKey(target);
        TOwned<TStringList> names(new TStringList);
        GetKeyNames(names.get());
        for (int i = names->Count() - 1; i >= 0; --i) DeleteKey(names->Strings(i));
    }
    return RegDeleteKey(GetBaseKey(relative), path.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const AnsiString& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyEx(GetBaseKey(IsRelative(key)), WithoutLeadingBackslash(key).c_str(), 0,
                     STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &opened)
        != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

bool TRegistry::HasSubKeys()
{
    TRegKeyInfo info;
    return GetKeyInfo(info) && info.NumSubKeys > 0;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& info)
{
    info = TRegKeyInfo{};
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxData = 0;
    if (RegQueryInfoKey(currentKey_, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxValueName,
                        &maxData, nullptr, nullptr)
        != ERROR_SUCCESS)
        return false;
    info = TRegKeyInfo{static_cast<int>(subKeys), static_cast<int>(maxSubKey), static_cast<int>(values),
                       static_cast<int>(maxValueName), static_cast<int>(maxData)};
    return true;
}

void TRegistry::GetKeyNames(TStrings* strings)
{
    strings->Clear();
    TRegKeyInfo info;
    if (!GetKeyInfo(info)) return;
    std::vector<char> name(static_cast<std::size_t>(info.MaxSubKeyLen) + 1);
    for (int i = 0; i < info.NumSubKeys; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumKeyEx(currentKey_, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr, nullptr, nullptr)
            == ERROR_SUCCESS)
            strings->Add(AnsiString(name.data(), length));
    }
}

void TRegistry::GetValueNames(TStrings* strings)
{
    strings->Clear();
    TRegKeyInfo info;
    if (!GetKeyInfo(info)) return;
    std::vector<char> name(static_cast<std::size_t>(info.MaxValueLen) + 1);
    for (int i = 0; i < info.NumValues; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (RegEnumValue(currentKey_, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr, nullptr, nullptr)
            == ERROR_SUCCESS)
            strings->Add(AnsiString(name.data(), length));
    }
}

bool TRegistry::ValueExists(const AnsiString& name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const AnsiString& name) { return RegDeleteValue(currentKey_, name.c_str()) == ERROR_SUCCESS; }

bool TRegistry::GetDataInfo(const AnsiString& name, TRegDataInfo& info)
{
    info = TRegDataInfo{};
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueEx(currentKey_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    info = TRegDataInfo{DataTypeToRegData(type), static_cast<int>(size)};
    return true;
}

int TRegistry::GetDataSize(const AnsiString& name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const AnsiString& name)
{
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetData(const AnsiString& name, void* buffer, int bufSize, TRegDataType& regData)
{
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(bufSize);
    if (RegQueryValueEx(currentKey_, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        throw ERegistryException(Format(SRegGetDataFailed, {name}));
    regData = DataTypeToRegData(type);
    return static_cast<int>(size);
}

void TRegistry::PutData(const AnsiString& name, const void* buffer, int bufSize, TRegDataType regData)
{
    if (RegSetValueEx(currentKey_, name.c_str(), 0, RegDataToDataType(regData), static_cast<const BYTE*>(buffer),
                      static_cast<DWORD>(bufSize))
        != ERROR_SUCCESS)
        throw ERegistryException(Format(SRegSetDataFailed, {name}));
}

void TRegistry::ReadError(const AnsiString& name) { throw ERegistryException(Format(SInvalidRegType, {name})); }

AnsiString TRegistry::ReadString(const AnsiString& name)
{
    const int size = GetDataSize(name);
    if (size <= 0) return "";
    AnsiString result;
    result.SetLength(size);
    TRegDataType regData;
    result.SetLength(GetData(name, result.data(), size, regData));
    if (!IsText(regData)) ReadError(name);
    if (!result.IsEmpty() && result[result.Length()] == '\0') result.SetLength(result.Length() - 1);
    return result;
}

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value)
{
    PutData(name, value.c_str(), value.Length() + 1, rdString);
}

void TRegistry::WriteExpandString(const AnsiString& name, const AnsiString& value)
{
    PutData(name, value.c_str(), value.Length() + 1, rdExpandString);
}

int TRegistry::ReadInteger(const AnsiString& name)
{
    std::int32_t value = 0;
    TRegDataType regData;
    const int size = GetData(name, &value, sizeof value, regData);
    // A DWORD value of fewer than four bytes holds no integer.
    if (regData != rdInteger || size != static_cast<int>(sizeof value)) ReadError(name);
    return value;
}

void TRegistry::WriteInteger(const AnsiString& name, int value)
{
    const std::int32_t data = value;
    PutData(name, &data, sizeof data, rdInteger);
}

bool TRegistry::ReadBool(const AnsiString& name) { return ReadInteger(name) != 0; }

void TRegistry::WriteBool(const AnsiString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

double TRegistry::ReadFloat(const AnsiString& name)
{
    double value = 0;
    TRegDataType regData;
    const int size = GetData(name, &value, sizeof value, regData);
    if (regData != rdBinary || size != static_cast<int>(sizeof value)) ReadError(name);
    return value;
}

void TRegistry::WriteFloat(const AnsiString& name, double value) { PutData(name, &value, sizeof value, rdBinary); }

TDateTime TRegistry::ReadDateTime(const AnsiString& name) { return ReadFloat(name); }

void TRegistry::WriteDateTime(const AnsiString& name, TDateTime value) { WriteFloat(name, value); }

int TRegistry::ReadBinaryData(const AnsiString& name, void* buffer, int bufSize)
{
    TRegDataInfo info;
    if (!GetDataInfo(name, info)) return 0;
    if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > bufSize) ReadError(name);
    TRegDataType regData;
    return GetData(name, buffer, info.DataSize, regData);
}

void TRegistry::WriteBinaryData(const AnsiString& name, const void* buffer, int bufSize)
{
    PutData(name, buffer, bufSize, rdBinary);
}

// --- TRegIniFile -----------------------------------------------------------------------

TRegIniFile::TRegIniFile(const AnsiString& fileName, DWORD access) : TRegistry(access), fileName_(fileName)
{
    OpenKey(fileName, true);
}

template <typename Action>
bool TRegIniFile::InSection(const AnsiString& section, bool create, Action action)
{
    // Without an open key a relative section would land under the root: it is not there.
    if (IsRelative(section) && !CurrentKey()) {
        if (create) throw ERegistryException(Format(SRegCreateFailed, {section}));
        return false;
    }
    if (create) CreateKey(section);
    const HKEY key = GetKey(section);
    if (!key) return false;
    const KeyCloser closer{key};
    struct Restore {
        TRegIniFile& registry;
        HKEY key;
        ~Restore() { registry.SetCurrentKey(key); }
    } restore{*this, CurrentKey()};
    SetCurrentKey(key);
    action();
    return true;
}

AnsiString TRegIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue)
{
    AnsiString result = defaultValue;
    InSection(section, false, [&] {
        TRegDataInfo info;
        if (!GetDataInfo(ident, info)) return;
        result = info.RegData == rdInteger ? IntToStr(TRegistry::ReadInteger(ident)) : TRegistry::ReadString(ident);
    });
    return result;
}

void TRegIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    if (!InSection(section, true, [&] { TRegistry::WriteString(ident, value); }))
        throw ERegistryException(Format(SRegSetDataFailed, {ident}));
}

int TRegIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue)
{
    int result = defaultValue;
    InSection(section, false, [&] {
        TRegDataInfo info;
        if (!GetDataInfo(ident, info)) return;
        result = info.RegData == rdInteger ? TRegistry::ReadInteger(ident)
                                           : StrToIntDef(TRegistry::ReadString(ident), defaultValue);
    });
    return result;
}

void TRegIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TRegIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue)
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TRegIniFile::ReadSection(const AnsiString& section, TStrings* strings)
{
    strings->Clear();
    InSection(section, false, [&] { GetValueNames(strings); });
}

void TRegIniFile::ReadSections(TStrings* strings) { GetKeyNames(strings); }

void TRegIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings)
{
    TOwned<TStringList> idents(new TStringList);
    ReadSection(section, idents.get());
    strings->BeginUpdate();
    strings->Clear();
    for (int i = 0; i < idents->Count(); ++i)
        strings->Add(idents->Strings(i) + "=" + ReadString(section, idents->Strings(i), ""));
    strings->EndUpdate();
}

void TRegIniFile::EraseSection(const AnsiString& section)
{
    if (!section.IsEmpty()) {
        TRegistry::DeleteKey(section);
        return;
    }
    InSection(section, false, [&] {
        TOwned<TStringList> names(new TStringList);
        GetValueNames(names.get());
        for (int i = 0; i < names->Count(); ++i) DeleteValue(names->Strings(i));
    });
}

void TRegIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    InSection(section, false, [&] { DeleteValue(ident); });
}

// --- TRegistryIniFile ------------------------------------------------------------------

TRegistryIniFile::TRegistryIniFile(const AnsiString& fileName, DWORD access)
    : TCustomIniFile(fileName), regIniFile_(new TRegIniFile(fileName, access))
{
}

TRegistryIniFile::~TRegistryIniFile() { FreeObject(regIniFile_); }

AnsiString TRegistryIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                        const AnsiString& defaultValue)
{
    return regIniFile_->ReadString(section, ident, defaultValue);
}

void TRegistryIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    regIniFile_->WriteString(section, ident, value);
}

int TRegistryIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue)
{
    return regIniFile_->ReadInteger(section, ident, defaultValue);
}

void TRegistryIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value)
{
    if (!regIniFile_->InSection(section, true, [&] { regIniFile_->WriteInteger(ident, value); }))
        throw ERegistryException(Format(SRegSetDataFailed, {ident}));
}

double TRegistryIniFile::ReadDouble(const AnsiString& section, const AnsiString& ident, double defaultValue,
                                    TextParse parse)
{
    double result = defaultValue;
    regIniFile_->InSection(section, false, [&] {
        TRegDataInfo info;
        if (!regIniFile_->GetDataInfo(ident, info)) return;
        double value;
        if (!IsText(info.RegData)) result = regIniFile_->ReadFloat(ident);
        else if (parse(regIniFile_->ReadString(ident), value)) result = value;
    });
    return result;
}

void TRegistryIniFile::WriteDouble(const AnsiString& section, const AnsiString& ident, double value)
{
    if (!regIniFile_->InSection(section, true, [&] { regIniFile_->WriteFloat(ident, value); }))
        throw ERegistryException(Format(SRegSetDataFailed, {ident}));
}

double TRegistryIniFile::ReadFloat(const AnsiString& section, const AnsiString& ident, double defaultValue)
{
    return ReadDouble(section, ident, defaultValue, ParseFloat);
}

void TRegistryIniFile::WriteFloat(const AnsiString& section, const AnsiString& ident, double value)
{
    WriteDouble(section, ident, value);
}

TDateTime TRegistryIniFile::ReadDate(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue)
{
    return ReadDouble(section, ident, defaultValue, ParseDate);
}

void TRegistryIniFile::WriteDate(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteDouble(section, ident, value);
}

TDateTime TRegistryIniFile::ReadTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue)
{
    return ReadDouble(section, ident, defaultValue, ParseTime);
}

void TRegistryIniFile::WriteTime(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteDouble(section, ident, value);
}

TDateTime TRegistryIniFile::ReadDateTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue)
{
    return ReadDouble(section, ident, defaultValue, ParseDateTime);
}

void TRegistryIniFile::WriteDateTime(const AnsiString& section, const AnsiString& ident, TDateTime value)
{
    WriteDouble(section, ident, value);
}

void TRegistryIniFile::ReadSection(const AnsiString& section, TStrings* strings)
{
    regIniFile_->ReadSection(section, strings);
}

void TRegistryIniFile::ReadSections(TStrings* strings) { regIniFile_->ReadSections(strings); }

void TRegistryIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings)
{
    regIniFile_->ReadSectionValues(section, strings);
}

void TRegistryIniFile::EraseSection(const AnsiString& section) { regIniFile_->EraseSection(section); }

void TRegistryIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident)
{
    regIniFile_->DeleteKey(section, ident);
}
