// Unit OBLIniCtrl: the library's settings store. One set of operations reads and writes
// named values either in an ini file or under a registry key; every operation opens the
// file or key, does its work and closes it again, so nothing is held open between calls.
// A caller's section name is turned into the stored section (per user, shared, or the key
// itself), string values may be kept scrambled, and string lists are numbered values.
#pragma once

#include "obl/core/base/OBLCustomComponent.h"
#include "obl/core/base/Oblprocs.h"
#include "platform/classlib/IniFiles.h"
#include "platform/classlib/Graphics.h"
#include "platform/classlib/Registry.h"
#include "platform/rtl/DateTime.h"

#include <cstdint>

VENDARO_ENUM(TOBLIniTarget, itIniFile, itRegistry, itAuto)
VENDARO_ENUM(TOBLRegRootKey, rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers, rpCurrentConfig, rpDynData)

// The section name that stands for the registry key itself.
inline constexpr const char* IDS_ROOT = "#ROOT";
// The section used while none was ever given.
inline constexpr const char* IDS_COMMON = "Common";

// The predefined root for a root kind; 0 for anything else.
HKEY OBLGetRootKey(TOBLRegRootKey Root);

// The registry object of the store: a TRegIniFile on a key path under a chosen root, opened
// read-only (never created) or for writing (created when missing).
class TOBLRegIniFile : public TRegIniFile {
    VENDARO_CLASS(TOBLRegIniFile, TRegIniFile)
public:
    TOBLRegIniFile(HKEY Root, const AnsiString& Path, bool ReadOnly);

    // The key of the path is open. When it is not (a read-only open of a missing key),
    // every read answers its default or an empty list.
    bool Opened() const { return CurrentKey() != nullptr; }
};

class TOBLIniCtrl : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLIniCtrl, TOBLCustomComponent)
public:
    explicit TOBLIniCtrl(TComponent* AOwner);

    // ---- Properties ---------------------------------------------------------------
    bool AlphaCounter() const { return alphaCounter_; }
    // Letters reach only to "Z": turning it on caps MaxEntries at 26.
    void SetAlphaCounter(bool Value);
    bool Common() const { return common_; }
    void SetCommon(bool Value) { common_ = Value; }
    const AnsiString& IniFile() const { return iniFile_; }
    // A name without extension gets ".INI".
    void SetIniFile(const AnsiString& Value);
    TOBLPathPrefix IniPrefix() const { return iniPrefix_; }
    void SetIniPrefix(TOBLPathPrefix Value) { iniPrefix_ = Value; }
    BYTE MaxEntries() const { return maxEntries_; }
    // Refused above 26 while AlphaCounter is on.
    void SetMaxEntries(BYTE Value);
    bool NetUser() const { return netUser_; }
    // Turning it on takes the Windows user name into User.
    void SetNetUser(bool Value);
    const AnsiString& User() const { return user_; }
    void SetUser(const AnsiString& Value) { user_ = Value; }
    const AnsiString& RegPath() const { return regPath_; }
    void SetRegPath(const AnsiString& Value) { regPath_ = Value; }
    TOBLRegRootKey RegRoot() const { return regRoot_; }
    void SetRegRoot(TOBLRegRootKey Value) { regRoot_ = Value; }
    TOBLIniTarget Target() const { return target_; }
    // itAuto counts as the registry.
    void SetTarget(TOBLIniTarget Value);
    WORD EncKey() const { return encKey_; }
    void SetEncKey(WORD Value) { encKey_ = Value; }
    bool Encoded() const { return encoded_; }
    void SetEncoded(bool Value) { encoded_ = Value; }

    // ---- Naming rules --------------------------------------------------------------
    // The ini file's full name; fills in IniFile from the program name when it is empty.
    AnsiString GetIniName();
    // The key path, always ending in a backslash.
    AnsiString GetRegPath() const;
    // The stored section for a caller's section; an empty one means the last section used.
    AnsiString GetSectionName(const AnsiString& Section);
    // The last section the rules produced (empty at first).
    const AnsiString& LastSection() const { return lastSection_; }
    AnsiString GetCounterIdent(BYTE N) const;
    virtual AnsiString GetNetUserName();

    // ---- Operations ----------------------------------------------------------------
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident);
    void EraseSection(const AnsiString& Section);
    void ReadSection(const AnsiString& Section, TStrings* Strings);
    // All sections of the file or key, taken without the section rules.
    void ReadSections(TStrings* Strings);
    void ReadSectionValues(const AnsiString& Section, TStrings* Strings);
    bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
    void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
    void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    // With Encoded, a missing value gives Default and a stored one is unscrambled.
    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default);
    void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
    // Lists are the values Ident0, Ident1 ... (or IdentA, IdentB ...) of their own section;
    // reading stops at the first empty entry, writing erases the section first.
    void ReadStrings(const AnsiString& Section, const AnsiString& Ident, TStrings* Strings);
    void ReadStringsExt(const AnsiString& Section, const AnsiString& Ident, BYTE Count, TStrings* Strings);
    void WriteStrings(const AnsiString& Section, const AnsiString& Ident, TStrings* Strings);
    void WriteStringsExt(const AnsiString& Section, const AnsiString& Ident, BYTE Count, TStrings* Strings);

    // ---- Typed values, kept as text through ReadString/WriteString --------------------
    // A read asks with the default's text form and parses the answer back, so a missing
    // value gives the default; a stored text that does not parse raises EConvertError.
    TDateTime ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
    void WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    TDateTime ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
    void WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    TDateTime ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
    void WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
    void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);
    TColor ReadColor(const AnsiString& Section, const AnsiString& Ident, TColor Default);
    void WriteColor(const AnsiString& Section, const AnsiString& Ident, TColor Value);
    TPoint ReadPoint(const AnsiString& Section, const AnsiString& Ident, const TPoint& Default);
    void WritePoint(const AnsiString& Section, const AnsiString& Ident, const TPoint& Value);
    TRect ReadRect(const AnsiString& Section, const AnsiString& Ident, const TRect& Default);
    void WriteRect(const AnsiString& Section, const AnsiString& Ident, const TRect& Value);
    // True when a complete font description was read into the font; otherwise the font
    // is left as it was.
    bool ReadFont(const AnsiString& Section, const AnsiString& Ident, TFont* Font);
    void WriteFont(const AnsiString& Section, const AnsiString& Ident, TFont* Font);
    // Colour lists are the "name=value" lines of a section, taken without the section
    // rules and never scrambled. Writing keeps, of two lines naming one colour, the later.
    void ReadColorList(const AnsiString& Section, TStrings* Strings);
    void WriteColorList(const AnsiString& Section, TStrings* Strings);
    // The published properties of the object, one value each (never scrambled). A
    // property at its default is not stored, and a value stored for it earlier is removed.
    void WriteObject(const AnsiString& Section, TObject* Obj);
    void ReadObject(const AnsiString& Section, TObject* Obj);

    static void Publish(TClassBuilder<TOBLIniCtrl>& c);

private:
    // Runs the routine on a registry ini object of the key path under RegRoot; a reading
    // that finds no key runs nothing, and nothing is created for it.
    template <class Action>
    void WithRegistryIni(bool ReadOnly, Action action);
    bool UsesRegistry() const { return registry_; }
    // Runs the action on the ini file or registry object of the target, freed afterwards.
    template <class Action>
    auto WithStore(bool ReadOnly, Action action);
    AnsiString Scramble(const AnsiString& Value) const;
    AnsiString Unscramble(const AnsiString& Value) const;

    bool alphaCounter_ = false;
    bool common_ = true;
    AnsiString iniFile_;
    TOBLPathPrefix iniPrefix_ = ppWindows;
    BYTE maxEntries_ = 16;
    bool netUser_ = false;
    AnsiString user_;
    AnsiString regPath_;
    TOBLRegRootKey regRoot_ = rpCurrentUser;
    TOBLIniTarget target_ = itAuto;
    WORD encKey_ = 24680;
    bool encoded_ = false;
    bool registry_ = true;
    AnsiString lastSection_;
};

// Stores the published properties of the object in the section, one value per property
// that is stored and writable: ordinals (a set as its bit mask) unless at their declared
// default, floating numbers unless 0, strings unless empty; a property left out this way
// has any earlier value of it removed, so it cannot come back on loading.
void OBLSaveObjectProperties(TCustomIniFile* IniFile, const AnsiString& Section, TObject* Obj);
// Loads what the section holds into the writable published properties of the object;
// values that are absent, or that name no value of an enumeration or set, leave the
// property unchanged.
void OBLLoadObjectProperties(TCustomIniFile* IniFile, const AnsiString& Section, TObject* Obj);
