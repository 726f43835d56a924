#include "obl/core/app/OBLIniCtrl.h"

#include "obl/core/base/Oblstrings.h"
#include "obl/core/base/OblutilsStrings.h"
#include "platform/rtl/FloatConv.h"
#include "obl/core/app/Oblsysin.h"
#include "obl/core/app/oblclass.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileNames.h"

namespace {

constexpr BYTE kLetters = 26;

} // namespace

HKEY OBLGetRootKey(TOBLRegRootKey Root)
{
    switch (Root) {
    case rpClassesRoot: return HKEY_CLASSES_ROOT;
    case rpCurrentUser: return HKEY_CURRENT_USER;
    case rpLocalMachine: return HKEY_LOCAL_MACHINE;
    case rpUsers: return HKEY_USERS;
    case rpCurrentConfig: return HKEY_CURRENT_CONFIG;
    case rpDynData: return HKEY_DYN_DATA;
    }
    return nullptr;
}

// --- TOBLRegIniFile --------------------------------------------------------------------

TOBLRegIniFile::TOBLRegIniFile(HKEY Root, const AnsiString& Path, bool ReadOnly)
{
    SetLazyWrite(true);
    SetFileName(Path);
    SetRootKey(Root);
    if (ReadOnly) {
        SetAccess(KEY_READ);
        OpenKeyReadOnly(Path);
    } else {
        SetAccess(KEY_ALL_ACCESS);
        OpenKey(Path, true);
    }
}

// --- TOBLIniCtrl: properties -----------------------------------------------------------

TOBLIniCtrl::TOBLIniCtrl(TComponent* AOwner) : TOBLCustomComponent(AOwner) {}

void TOBLIniCtrl::Publish(TClassBuilder<TOBLIniCtrl>& c)
{
    c.Property("About", &TOBLIniCtrl::About, &TOBLIniCtrl::SetAbout);
    c.Property("AlphaCounter", &TOBLIniCtrl::AlphaCounter, &TOBLIniCtrl::SetAlphaCounter).Default(false);
    c.Property("Common", &TOBLIniCtrl::Common, &TOBLIniCtrl::SetCommon).Default(true);
    c.Property("IniFile", &TOBLIniCtrl::IniFile, &TOBLIniCtrl::SetIniFile);
    c.Property("IniPrefix", &TOBLIniCtrl::IniPrefix, &TOBLIniCtrl::SetIniPrefix).Default(ppWindows);
    c.Property("MaxEntries", &TOBLIniCtrl::MaxEntries, &TOBLIniCtrl::SetMaxEntries).Default(16);
    c.Property("NetUser", &TOBLIniCtrl::NetUser, &TOBLIniCtrl::SetNetUser).Default(false);
    c.Property("User", &TOBLIniCtrl::User, &TOBLIniCtrl::SetUser);
    c.Property("RegPath", &TOBLIniCtrl::RegPath, &TOBLIniCtrl::SetRegPath);
    c.Property("RegRoot", &TOBLIniCtrl::RegRoot, &TOBLIniCtrl::SetRegRoot).Default(rpCurrentUser);
    c.Property("Target", &TOBLIniCtrl::Target, &TOBLIniCtrl::SetTarget).Default(itAuto);
    c.Property("EncKey", &TOBLIniCtrl::EncKey, &TOBLIniCtrl::SetEncKey).Default(24680);
    c.Property("Encoded", &TOBLIniCtrl::Encoded, &TOBLIniCtrl::SetEncoded).Default(false);
}

void TOBLIniCtrl::SetAlphaCounter(bool Value)
{
    if (Value == alphaCounter_) return;
    alphaCounter_ = Value;
    if (maxEntries_ > kLetters) maxEntries_ = kLetters;
}

void TOBLIniCtrl::SetMaxEntries(BYTE Value)
{
    if (alphaCounter_ && Value > kLetters) return;
    maxEntries_ = Value;
}

void TOBLIniCtrl::SetNetUser(bool Value)
{
    if (Value == netUser_) return;
    netUser_ = Value;
    if (Value) user_ = GetNetUserName();
}

void TOBLIniCtrl::SetIniFile(const AnsiString& Value)
{
    // An empty name stays empty: GetIniName then takes the executable's name.
    if (Value.IsEmpty())
        iniFile_ = Value;
    else
        iniFile_ = ExtractFileExt(Value).IsEmpty() ? ChangeFileExt(Value, ".INI") : Value;
}

void TOBLIniCtrl::SetTarget(TOBLIniTarget Value)
{
    target_ = Value;
    registry_ = Value != itIniFile;
}

// --- Naming rules ----------------------------------------------------------------------

AnsiString TOBLIniCtrl::GetIniName()
{
    if (iniFile_.IsEmpty()) iniFile_ = ChangeFileExt(ParamStr(0), ".INI");
    if (iniPrefix_ == ppFixed) return iniFile_;
    return OBLCreatePathPrefix(iniPrefix_, true) + ExtractFileName(iniFile_);
}

AnsiString TOBLIniCtrl::GetRegPath() const
{
    if (!regPath_.IsEmpty()) return OBLSlashAdd(regPath_);
    return OBLApplication ? OBLApplication->GetDefaultRegPath() : OBLDefaultRegPath(AnsiString(), AnsiString());
}

AnsiString TOBLIniCtrl::GetSectionName(const AnsiString& Section)
{
    if (Section.IsEmpty()) return lastSection_.IsEmpty() ? AnsiString(IDS_COMMON) : lastSection_;
    AnsiString result;
    if (registry_)
        result = Section == IDS_ROOT ? AnsiString() : Section;
    else if (common_)
        result = Section;
    else
        result = Section + "." + (netUser_ ? GetNetUserName() : user_);
    lastSection_ = result;
    return result;
}

AnsiString TOBLIniCtrl::GetCounterIdent(BYTE N) const
{
    return alphaCounter_ ? AnsiString(static_cast<char>(65 + N)) : IntToStr(N);
}

AnsiString TOBLIniCtrl::GetNetUserName() { return OBLSIUserName(); }

// --- Operations ------------------------------------------------------------------------

template <class Action>
auto TOBLIniCtrl::WithStore(bool ReadOnly, Action action)
{
    if (registry_) {
        TOwned<TOBLRegIniFile> registry(new TOBLRegIniFile(OBLGetRootKey(regRoot_), GetRegPath(), ReadOnly));
        return action(*registry);
    }
    TOwned<TIniFile> ini(new TIniFile(GetIniName()));
    return action(*ini);
}

AnsiString TOBLIniCtrl::Scramble(const AnsiString& Value) const { return encoded_ ? OBLEncode(Value, encKey_) : Value; }

AnsiString TOBLIniCtrl::Unscramble(const AnsiString& Value) const
{
    return encoded_ ? OBLDecode(Value, encKey_) : Value;
}

void TOBLIniCtrl::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
    const AnsiString section = GetSectionName(Section);
    WithStore(false, [&](auto& store) { store.DeleteKey(section, Ident); });
}

void TOBLIniCtrl::EraseSection(const AnsiString& Section)
{
    const AnsiString section = GetSectionName(Section);
    WithStore(false, [&](auto& store) { store.EraseSection(section); });
}

void TOBLIniCtrl::ReadSection(const AnsiString& Section, TStrings* Strings)
{
    const AnsiString section = GetSectionName(Section);
    WithStore(true, [&](auto& store) { store.ReadSection(section, Strings); });
}

void TOBLIniCtrl::ReadSections(TStrings* Strings)
{
    WithStore(true, [&](auto& store) { store.ReadSections(Strings); });
}

void TOBLIniCtrl::ReadSectionValues(const AnsiString& Section, TStrings* Strings)
{
    const AnsiString section = GetSectionName(Section);
    WithStore(true, [&](auto& store) { store.ReadSectionValues(section, Strings); });
}

bool TOBLIniCtrl::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default)
{
    const AnsiString section = GetSectionName(Section);
    return WithStore(true, [&](auto& store) { return store.ReadBool(section, Ident, Default); });
}

void TOBLIniCtrl::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value)
{
    const AnsiString section = GetSectionName(Section);
    WithStore(false, [&](auto& store) { store.WriteBool(section, Ident, Value); });
}

int TOBLIniCtrl::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default)
{
    const AnsiString section = GetSectionName(Section);
    return WithStore(true, [&](auto& store) { return store.ReadInteger(section, Ident, Default); });
}

void TOBLIniCtrl::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value)
{
    const AnsiString section = GetSectionName(Section);
    WithStore(false, [&](auto& store) { store.WriteInteger(section, Ident, Value); });
}

AnsiString TOBLIniCtrl::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default)
{
    const AnsiString section = GetSectionName(Section);
    return WithStore(true, [&](auto& store) -> AnsiString {
        if (!encoded_) return store.ReadString(section, Ident, Default);
        // The scrambled form of the default need not survive the store, so absence is
        // told apart from a stored empty value by asking with two different defaults.
        const AnsiString stored = store.ReadString(section, Ident, "");
        if (stored.IsEmpty() && store.ReadString(section, Ident, "\x01") == "\x01") return Default;
        return Unscramble(stored);
    });
}

void TOBLIniCtrl::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)
{
    const AnsiString section = GetSectionName(Section);
    WithStore(false, [&](auto& store) { store.WriteString(section, Ident, Scramble(Value)); });
}

void TOBLIniCtrl::ReadStrings(const AnsiString& Section, const AnsiString& Ident, TStrings* Strings)
{
    ReadStringsExt(Section, Ident, maxEntries_, Strings);
}

void TOBLIniCtrl::ReadStringsExt(const AnsiString& Section, const AnsiString& Ident, BYTE Count, TStrings* Strings)
{
    Strings->Clear();
    for (BYTE i = 0; i < Count; ++i) {
        const AnsiString value = ReadString(Section, Ident + GetCounterIdent(i), "");
        if (value.IsEmpty()) break;
        Strings->Add(value);
    }
}

void TOBLIniCtrl::WriteStrings(const AnsiString& Section, const AnsiString& Ident, TStrings* Strings)
{
    WriteStringsExt(Section, Ident, maxEntries_, Strings);
}

void TOBLIniCtrl::WriteStringsExt(const AnsiString& Section, const AnsiString& Ident, BYTE Count, TStrings* Strings)
{
    EraseSection(Section);
    const int n = std::min(Strings->Count(), static_cast<int>(Count));
    for (int i = 0; i < n; ++i)
        WriteString(Section, Ident + GetCounterIdent(static_cast<BYTE>(i)), Strings->Strings(i));
}

// --- Typed values ----------------------------------------------------------------------

TDateTime TOBLIniCtrl::ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default)
{
    return StrToDate(ReadString(Section, Ident, DateToStr(Default)));
}

void TOBLIniCtrl::WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateToStr(Value));
}

TDateTime TOBLIniCtrl::ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default)
{
    return StrToTime(ReadString(Section, Ident, TimeToStr(Default)));
}

void TOBLIniCtrl::WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value)
{
    WriteString(Section, Ident, TimeToStr(Value));
}

TDateTime TOBLIniCtrl::ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default)
{
    return StrToDateTime(ReadString(Section, Ident, DateTimeToStr(Default)));
}

void TOBLIniCtrl::WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateTimeToStr(Value));
}

double TOBLIniCtrl::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default)
{
    return StrToFloat(ReadString(Section, Ident, FloatToStr(Default)));
}

void TOBLIniCtrl::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value)
{
    WriteString(Section, Ident, FloatToStr(Value));
}

TColor TOBLIniCtrl::ReadColor(const AnsiString& Section, const AnsiString& Ident, TColor Default)
{
    return StringToColor(ReadString(Section, Ident, ColorToString(Default)));
}

void TOBLIniCtrl::WriteColor(const AnsiString& Section, const AnsiString& Ident, TColor Value)
{
    WriteString(Section, Ident, ColorToString(Value));
}

TPoint TOBLIniCtrl::ReadPoint(const AnsiString& Section, const AnsiString& Ident, const TPoint& Default)
{
    return OBLStringToPoint(ReadString(Section, Ident, OBLPointToString(Default)));
}

void TOBLIniCtrl::WritePoint(const AnsiString& Section, const AnsiString& Ident, const TPoint& Value)
{
    WriteString(Section, Ident, OBLPointToString(Value));
}

TRect TOBLIniCtrl::ReadRect(const AnsiString& Section, const AnsiString& Ident, const TRect& Default)
{
    return OBLStringToRect(ReadString(Section, Ident, OBLRectToString(Default)));
}

void TOBLIniCtrl::WriteRect(const AnsiString& Section, const AnsiString& Ident, const TRect& Value)
{
    WriteString(Section, Ident, OBLRectToString(Value));
}

bool TOBLIniCtrl::ReadFont(const AnsiString& Section, const AnsiString& Ident, TFont* Font)
{
    const AnsiString text = ReadString(Section, Ident, "");
    if (text.IsEmpty() || !Font) return false;
    // Only a complete description changes the font; anything else was not read.
    TStringList parts;
    OBLParseToStrList(text, OBLTextFormDelimiter, &parts);
    if (parts.Count() != 7) return false;
    OBLStringToFont(text, Font);
    return true;
}

void TOBLIniCtrl::WriteFont(const AnsiString& Section, const AnsiString& Ident, TFont* Font)
{
    if (Font) WriteString(Section, Ident, OBLFontToString(Font));
}

void TOBLIniCtrl::ReadColorList(const AnsiString& Section, TStrings* Strings)
{
    if (!Strings) return;
    Strings->Clear();
    WithStore(true, [&](auto& store) { store.ReadSectionValues(Section, Strings); });
}

void TOBLIniCtrl::WriteColorList(const AnsiString& Section, TStrings* Strings)
{
    if (!Strings) return;
    WithStore(false, [&](auto& store) {
        for (int i = 0; i < Strings->Count(); ++i) {
            const AnsiString line = Strings->Strings(i);
            const int at = Pos("=", line);
            if (at == 0) continue;
            // The value the list holds for the name: of two lines naming one colour the
            // first one wins, as colour lists stored by other programs expect.
            const AnsiString name = Copy(line, 1, at - 1);
            store.WriteString(Section, name, Strings->Values(name));
        }
    });
}

// --- Objects ---------------------------------------------------------------------------

template <class Action>
void TOBLIniCtrl::WithRegistryIni(bool ReadOnly, Action action)
{
    // Opened at the root first, so that no key is made under HKEY_CURRENT_USER for a
    // store on another root, and then on the key path under RegRoot.
    TOwned<TRegistryIniFile> ini(new TRegistryIniFile("", ReadOnly ? KEY_READ : KEY_ALL_ACCESS));
    TRegIniFile* registry = ini->RegIniFile();
    registry->SetRootKey(OBLGetRootKey(regRoot_));
    const AnsiString path = GetRegPath();
    const bool opened = ReadOnly ? registry->OpenKeyReadOnly(path) : registry->OpenKey(path, true);
    if (!opened) {
        if (ReadOnly) return;
        throw ERegistryException("Failed to create key " + path);
    }
    action(*ini);
}

void TOBLIniCtrl::WriteObject(const AnsiString& Section, TObject* Obj)
{
    if (!Obj) return;
    const AnsiString section = GetSectionName(Section);
    if (registry_) {
        WithRegistryIni(false, [&](TCustomIniFile& ini) { OBLSaveObjectProperties(&ini, section, Obj); });
        return;
    }
    TOwned<TIniFile> ini(new TIniFile(GetIniName()));
    OBLSaveObjectProperties(ini.get(), section, Obj);
}

void TOBLIniCtrl::ReadObject(const AnsiString& Section, TObject* Obj)
{
    if (!Obj) return;
    const AnsiString section = GetSectionName(Section);
    if (registry_) {
        WithRegistryIni(true, [&](TCustomIniFile& ini) { OBLLoadObjectProperties(&ini, section, Obj); });
        return;
    }
    TOwned<TIniFile> ini(new TIniFile(GetIniName()));
    OBLLoadObjectProperties(ini.get(), section, Obj);
}

namespace {

// An ordinal read from outside that the property's type can hold: enumerations and sets
// take only values they have names for.
bool FitsOrdinal(PPropInfo prop, std::int64_t value)
{
    const PTypeInfo type = prop->PropType;
    switch (type->Kind) {
    case tkEnumeration: return value >= 0 && value < static_cast<std::int64_t>(type->EnumNames.size());
    case tkSet: {
        const PTypeInfo element = type->CompType ? type->CompType() : nullptr;
        const std::size_t bits = element ? element->EnumNames.size() : 32;
        const std::uint64_t allowed = bits >= 32 ? 0xFFFFFFFFull : (1ull << bits) - 1;
        return value >= 0 && (static_cast<std::uint64_t>(value) & ~allowed) == 0;
    }
    case tkChar: return value >= 0 && value <= 0xFF;
    default: return true;
    }
}

} // namespace

void OBLSaveObjectProperties(TCustomIniFile* IniFile, const AnsiString& Section, TObject* Obj)
{
    if (!IniFile || !Obj) return;
    for (PPropInfo prop : GetPropList(Obj->ClassType())) {
        if (!prop->IsWritable()) continue;
        const TTypeKind kind = prop->Kind();
        const bool ordinal = IsOrdinalKind(kind), floating = kind == tkFloat, text = IsStringKind(kind);
        if (!ordinal && !floating && !text) continue;
        bool keep = IsStoredProp(Obj, prop);
        if (keep && ordinal) {
            const std::int64_t value = GetOrdProp(Obj, prop);
            keep = !(prop->HasDefault && value == prop->Default);
            if (keep) IniFile->WriteInteger(Section, prop->Name, static_cast<int>(value));
        } else if (keep && floating) {
            const double value = GetFloatProp(Obj, prop);
            keep = !IsDefaultFloatValue(prop, value);
            if (keep) IniFile->WriteFloat(Section, prop->Name, value);
        } else if (keep && text) {
            const AnsiString value = GetStrProp(Obj, prop);
            keep = !value.IsEmpty();
            if (keep) IniFile->WriteString(Section, prop->Name, value);
        }
        // A value written earlier would otherwise be loaded back over the default.
        if (!keep && IniFile->ValueExists(Section, prop->Name)) IniFile->DeleteKey(Section, prop->Name);
    }
}

void OBLLoadObjectProperties(TCustomIniFile* IniFile, const AnsiString& Section, TObject* Obj)
{
    if (!IniFile || !Obj) return;
    for (PPropInfo prop : GetPropList(Obj->ClassType())) {
        if (!prop->IsWritable()) continue;
        const TTypeKind kind = prop->Kind();
        if (IsOrdinalKind(kind)) {
            const std::int64_t current = GetOrdProp(Obj, prop);
            const std::int64_t value = IniFile->ReadInteger(Section, prop->Name, static_cast<int>(current));
            if (value != current && FitsOrdinal(prop, value)) SetOrdProp(Obj, prop, value);
        } else if (kind == tkFloat) {
            const double current = GetFloatProp(Obj, prop);
            const double value = IniFile->ReadFloat(Section, prop->Name, current);
            if (value != current) SetFloatProp(Obj, prop, value);
        } else if (IsStringKind(kind)) {
            const AnsiString current = GetStrProp(Obj, prop);
            const AnsiString value = IniFile->ReadString(Section, prop->Name, current);
            if (value != current) SetStrProp(Obj, prop, value);
        }
    }
}
