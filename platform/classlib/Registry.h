// The class library's registry classes over the registry functions. TRegistry works on one
// open key (CurrentKey) under a root: a key path starting with "\" is taken from the root,
// any other from the current key when one is open. TRegIniFile treats the subkeys of its
// key as sections and their values as idents; the empty section is its key itself.
// TRegistryIniFile gives a TRegIniFile the ini-file face (TCustomIniFile).
#pragma once

#include "platform/classlib/IniFiles.h"
#include "platform/win/registry/WinReg.h"

inline constexpr const char* SRegCreateFailed = "Failed to create key %s";
inline constexpr const char* SRegGetDataFailed = "Failed to get data for '%s'";
inline constexpr const char* SRegSetDataFailed = "Failed to set data for '%s'";
inline constexpr const char* SInvalidRegType = "Invalid data type for '%s'";

VENDARO_EXCEPTION(ERegistryException, Exception);

enum class TRegDataType : std::uint8_t { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };
using enum TRegDataType;

struct TRegKeyInfo {
    int NumSubKeys = 0;
    int MaxSubKeyLen = 0;
    int NumValues = 0;
    int MaxValueLen = 0;
    int MaxDataLen = 0;
};

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    int DataSize = 0;
};

class TRegistry : public TObject {
    VENDARO_CLASS(TRegistry, TObject)
public:
    // Root HKEY_CURRENT_USER, access KEY_ALL_ACCESS, lazy writing on.
    TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
    explicit TRegistry(DWORD access) : access_(access) {}
    ~TRegistry() override { CloseKey(); }

    HKEY RootKey() const { return rootKey_; }
    // Changing the root closes the current key.
    void SetRootKey(HKEY value);
    HKEY CurrentKey() const { return currentKey_; }
    const AnsiString& CurrentPath() const { return currentPath_; }
    DWORD Access() const { return access_; }
    void SetAccess(DWORD value) { access_ = value; }
    // Without lazy writing, closing a key flushes it first.
    bool LazyWrite() const { return lazyWrite_; }
    void SetLazyWrite(bool value) { lazyWrite_ = value; }

    // Opens the key with Access (creating it, and missing parents, when canCreate); it becomes
    // the current key and CurrentPath grows by the relative path. False when it fails.
    bool OpenKey(const AnsiString& key, bool canCreate);
    // Opens with KEY_READ, never creating; Access becomes KEY_READ.
    bool OpenKeyReadOnly(const AnsiString& key);
    void CloseKey();
    // Creates the key (and missing parents) without opening it; ERegistryException
    // "Failed to create key <key>" when that fails.
    bool CreateKey(const AnsiString& key);
    // Deletes the key with all its subkeys; false when it is not there.
    bool DeleteKey(const AnsiString& key);
    bool KeyExists(const AnsiString& key);
    bool HasSubKeys();
    bool GetKeyInfo(TRegKeyInfo& info);
    // The current key's subkey or value names (the list is cleared first).
    void GetKeyNames(TStrings* strings);
    void GetValueNames(TStrings* strings);

    bool ValueExists(const AnsiString& name);
    bool DeleteValue(const AnsiString& name);
    bool GetDataInfo(const AnsiString& name, TRegDataInfo& info);
    // Size of the value's data in bytes; -1 when there is no such value.
    int GetDataSize(const AnsiString& name);
    TRegDataType GetDataType(const AnsiString& name);

    // Strings are stored with a terminating NUL, which reading drops (one NUL only, so the
    // text keeps any byte). A missing value reads as empty; a value of another type raises
    // "Invalid data type for '<name>'".
    AnsiString ReadString(const AnsiString& name);
    void WriteString(const AnsiString& name, const AnsiString& value);
    void WriteExpandString(const AnsiString& name, const AnsiString& value);
    // REG_DWORD values; a missing one raises "Failed to get data for '<name>'".
    int ReadInteger(const AnsiString& name);
    void WriteInteger(const AnsiString& name, int value);
    bool ReadBool(const AnsiString& name);
    void WriteBool(const AnsiString& name, bool value);
    // Floating numbers and date-times as the 8 bytes of a double, REG_BINARY.
    double ReadFloat(const AnsiString& name);
    void WriteFloat(const AnsiString& name, double value);
    TDateTime ReadDateTime(const AnsiString& name);
    void WriteDateTime(const AnsiString& name, TDateTime value);
    // The value's size when the buffer holds it (binary or untyped data only; else
    // "Invalid data type"); 0 when there is no such value.
    int ReadBinaryData(const AnsiString& name, void* buffer, int bufSize);
    void WriteBinaryData(const AnsiString& name, const void* buffer, int bufSize);

protected:
    void ChangeKey(HKEY value, const AnsiString& path);
    HKEY GetBaseKey(bool relative) const;
    // Opens the key with Access without making it current; null when it fails.
    HKEY GetKey(const AnsiString& key);
    // Makes an already open handle current without closing the previous one.
    void SetCurrentKey(HKEY value) { currentKey_ = value; }

    int GetData(const AnsiString& name, void* buffer, int bufSize, TRegDataType& regData);
    void PutData(const AnsiString& name, const void* buffer, int bufSize, TRegDataType regData);
    [[noreturn]] static void ReadError(const AnsiString& name);

private:
    HKEY rootKey_ = HKEY_CURRENT_USER;
    HKEY currentKey_ = nullptr;
    AnsiString currentPath_;
    DWORD access_;
    bool lazyWrite_ = true;
};

class TRegIniFile : public TRegistry {
    VENDARO_CLASS(TRegIniFile, TRegistry)
public:
    // Opens (creating when missing) the key fileName under HKEY_CURRENT_USER.
    explicit TRegIniFile(const AnsiString& fileName, DWORD access = KEY_ALL_ACCESS);

    const AnsiString& FileName() const { return fileName_; }

    // A section that cannot be opened reads as empty: reads give the default. A REG_DWORD
    // value reads as its decimal text.
    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue);
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    // Integers and Booleans are stored as text ("1"/"0" for Booleans); REG_DWORD values read
    // too. Text that is no number gives the default.
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue);
    void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    bool ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue);
    void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
    void ReadSection(const AnsiString& section, TStrings* strings);
    void ReadSections(TStrings* strings);
    void ReadSectionValues(const AnsiString& section, TStrings* strings);
    // Deletes the section's key with its subkeys; the empty section loses its values only,
    // since its subkeys are the other sections.
    void EraseSection(const AnsiString& section);
    void DeleteKey(const AnsiString& section, const AnsiString& ident);

    using TRegistry::DeleteKey;
    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::WriteBool;
    using TRegistry::WriteInteger;
    using TRegistry::WriteString;

protected:
    // For classes that choose root, access and opening themselves: nothing is opened.
    TRegIniFile() = default;
    void SetFileName(const AnsiString& value) { fileName_ = value; }

    friend class TRegistryIniFile;
    // Runs action with the section's key current (created first when `create`); false when
    // the section could not be opened. A relative section needs an open key.
    template <typename Action>
    bool InSection(const AnsiString& section, bool create, Action action);

private:
    AnsiString fileName_;
};

class TRegistryIniFile : public TCustomIniFile {
    VENDARO_CLASS(TRegistryIniFile, TCustomIniFile)
public:
    // Opens (creating when missing) the key fileName under HKEY_CURRENT_USER.
    explicit TRegistryIniFile(const AnsiString& fileName, DWORD access = KEY_ALL_ACCESS);
    ~TRegistryIniFile() override;

    TRegIniFile* RegIniFile() const { return regIniFile_; }

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) override;
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
    // Integers are REG_DWORD values; text values read through the run time's conversion.
    int ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue) override;
    void WriteInteger(const AnsiString& section, const AnsiString& ident, int value) override;
    // Floating numbers, dates and times are binary doubles; text values read as in ini files.
    double ReadFloat(const AnsiString& section, const AnsiString& ident, double defaultValue) override;
    void WriteFloat(const AnsiString& section, const AnsiString& ident, double value) override;
    TDateTime ReadDate(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue) override;
    void WriteDate(const AnsiString& section, const AnsiString& ident, TDateTime value) override;
    TDateTime ReadTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue) override;
    void WriteTime(const AnsiString& section, const AnsiString& ident, TDateTime value) override;
    TDateTime ReadDateTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue) override;
    void WriteDateTime(const AnsiString& section, const AnsiString& ident, TDateTime value) override;
    void ReadSection(const AnsiString& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const AnsiString& section, TStrings* strings) override;
    void EraseSection(const AnsiString& section) override;
    void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
    // Every change is already in the registry.
    void UpdateFile() override {}

private:
    // Parses a value stored as text; false when it does not convert.
    using TextParse = bool (*)(const AnsiString& text, double& value);
    double ReadDouble(const AnsiString& section, const AnsiString& ident, double defaultValue, TextParse parse);
    void WriteDouble(const AnsiString& section, const AnsiString& ident, double value);

    TRegIniFile* regIniFile_;
};
