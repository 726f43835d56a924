#include "obl/core/app/OBLIniCtrl.h"

#include "obl/core/base/Oblstrings.h"
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
