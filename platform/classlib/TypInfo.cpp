#include "platform/classlib/TypInfo.h"

#include "platform/rtl/NumConv.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

TTypeInfo TTypeInfo::Enumeration(const char* name, const char* commaSeparatedNames)
{
    TTypeInfo info{.Kind = tkEnumeration, .Name = name};
    std::string_view rest(commaSeparatedNames);
    while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        info.EnumNames.emplace_back(item);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return info;
}

AnsiString GetEnumName(PTypeInfo info, int value)
{
    if (!info || value < 0 || value >= static_cast<int>(info->EnumNames.size()))
        return AnsiString();
    return info->EnumNames[static_cast<std::size_t>(value)];
}

int GetEnumValue(PTypeInfo info, const AnsiString& name)
{
    if (!info)
        return -1;
    for (std::size_t i = 0; i < info->EnumNames.size(); ++i)
        if (SameText(info->EnumNames[i], name))
            return static_cast<int>(i);
    return -1;
}

PTypeInfo GetTypeInfo(TypeTag<bool>)
{
    static const TTypeInfo info = TTypeInfo::Enumeration("Boolean", "False, True");
    return &info;
}

PTypeInfo GetTypeInfo(TypeTag<char>)
{
    static const TTypeInfo info{.Kind = tkChar, .Name = "Char"};
    return &info;
}

PTypeInfo GetTypeInfo(TypeTag<double>)
{
    static const TTypeInfo info{.Kind = tkFloat, .Name = "Double"};
    return &info;
}

PTypeInfo GetTypeInfo(TypeTag<float>)
{
    static const TTypeInfo info{.Kind = tkFloat, .Name = "Single"};
    return &info;
}

PTypeInfo GetTypeInfo(TypeTag<AnsiString>)
{
    static const TTypeInfo info{.Kind = tkLString, .Name = "String"};
    return &info;
}

bool TMetaClass::InheritsFrom(TClass other) const
{
    for (TClass c = this; c; c = c->parent_)
        if (c == other)
            return true;
    return false;
}

TObject* TMetaClass::Create(TObject* argument) const
{
    if (!factory_)
        throw EAbstractError("Cannot create an instance of abstract class " + name_);
    return factory_(argument);
}

PPropInfo TMetaClass::FindProperty(const AnsiString& name) const
{
    for (TClass c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->properties_)
            if (SameText(p.Name, name))
                return p.Withdrawn ? nullptr : &p;
    return nullptr;
}

const TPublishedMethod* TMetaClass::FindMethod(const AnsiString& name) const
{
    for (TClass c = this; c; c = c->parent_)
        for (const TPublishedMethod& m : c->methods_)
            if (SameText(m.Name, name))
                return &m;
    return nullptr;
}

const TPublishedMethod* TMetaClass::FindMethod(TMethodCode code) const
{
    for (TClass c = this; c && code; c = c->parent_)
        for (const TPublishedMethod& m : c->methods_)
            if (m.Code == code)
                return &m;
    return nullptr;
}

TPropList GetPropList(TClass cls)
{
    std::vector<TClass> chain;
    for (TClass c = cls; c; c = c->ClassParent())
        chain.push_back(c);
    TPropList list;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->OwnProperties()) {
            auto same = std::find_if(list.begin(), list.end(), [&](PPropInfo q) { return SameText(q->Name, p.Name); });
            if (p.Withdrawn) {
                if (same != list.end())
                    list.erase(same);
            } else if (same != list.end()) {
                *same = &p;
            } else {
                list.push_back(&p);
            }
        }
    return list;
}

PPropInfo GetPropInfo(TClass cls, const AnsiString& name) { return cls ? cls->FindProperty(name) : nullptr; }

PPropInfo GetPropInfo(const TObject* object, const AnsiString& name)
{
    return object ? GetPropInfo(object->ClassType(), name) : nullptr;
}

bool IsPublishedProp(const TObject* object, const AnsiString& name) { return GetPropInfo(object, name) != nullptr; }

bool IsStoredProp(TObject* object, PPropInfo prop)
{
    return prop->StoredFunction ? prop->StoredFunction(object) : prop->StoredConstant;
}

bool IsOrdinalKind(TTypeKind kind)
{
    return kind == tkInteger || kind == tkChar || kind == tkEnumeration || kind == tkSet || kind == tkInt64;
}

bool IsStringKind(TTypeKind kind) { return kind == tkString || kind == tkLString || kind == tkWString; }

namespace {

template <class F>
const F& Accessor(const F& accessor, PPropInfo prop, const char* what)
{
    if (!accessor)
        throw EPropertyError("Property " + prop->Name + " " + what);
    return accessor;
}

PPropInfo Named(TObject* object, const AnsiString& name)
{
    PPropInfo prop = GetPropInfo(object, name);
    if (!prop)
        throw EPropertyError("Property " + name + " does not exist");
    return prop;
}

const char* const kNotReadable = "is not of this kind";
const char* const kNotWritable = "is read-only or not of this kind";

} // namespace

std::int64_t GetOrdProp(TObject* o, PPropInfo p) { return Accessor(p->GetOrd, p, kNotReadable)(o); }
namespace {

// An enumeration takes only the values it has names for and a set only its elements' bits:
// any other value would be written to a form description as a name that does not read.
bool IsNamedOrdinal(PTypeInfo type, std::int64_t v)
{
    if (type->Kind == tkEnumeration)
        return v >= 0 && v < static_cast<std::int64_t>(type->EnumNames.size());
    if (type->Kind == tkSet && type->CompType) {
        const std::size_t bits = type->CompType()->EnumNames.size();
        const std::uint64_t named = bits >= 64 ? ~0ull : (1ull << bits) - 1;
        return v >= 0 && (static_cast<std::uint64_t>(v) & ~named) == 0;
    }
    return true;
}

} // namespace

void SetOrdProp(TObject* o, PPropInfo p, std::int64_t v)
{
    const auto& setter = Accessor(p->SetOrd, p, kNotWritable);
    if (!IsNamedOrdinal(p->PropType, v))
        throw EPropertyError("Invalid property value " + IntToStr(v) + " for " + p->Name);
    setter(o, v);
}
double GetFloatProp(TObject* o, PPropInfo p) { return Accessor(p->GetFloat, p, kNotReadable)(o); }
void SetFloatProp(TObject* o, PPropInfo p, double v) { Accessor(p->SetFloat, p, kNotWritable)(o, v); }

bool IsDefaultFloatValue(PPropInfo p, double v)
{
    if (!p->HasDefault)
        return v == 0;
    // A Single's getter widens 0.6f to 0.60000002..., which must still match a default of 0.6.
    if (p->PropType == TypeInfo<float>())
        return static_cast<float>(v) == static_cast<float>(p->FloatDefault);
    return v == p->FloatDefault;
}
AnsiString GetStrProp(TObject* o, PPropInfo p) { return Accessor(p->GetStr, p, kNotReadable)(o); }
void SetStrProp(TObject* o, PPropInfo p, const AnsiString& v) { Accessor(p->SetStr, p, kNotWritable)(o, v); }
TObject* GetObjectProp(TObject* o, PPropInfo p) { return Accessor(p->GetObject, p, kNotReadable)(o); }
void SetObjectProp(TObject* o, PPropInfo p, TObject* v) { Accessor(p->SetObject, p, kNotWritable)(o, v); }
TMethod GetMethodProp(TObject* o, PPropInfo p) { return Accessor(p->GetMethod, p, kNotReadable)(o); }
void SetMethodProp(TObject* o, PPropInfo p, const TMethod& v) { Accessor(p->SetMethod, p, kNotWritable)(o, v); }

AnsiString GetEnumProp(TObject* o, PPropInfo p)
{
    return GetEnumName(p->PropType, static_cast<int>(GetOrdProp(o, p)));
}

void SetEnumProp(TObject* o, PPropInfo p, const AnsiString& v)
{
    int value = GetEnumValue(p->PropType, v);
    if (value < 0)
        throw EPropertyError("Invalid property value " + v + " for " + p->Name);
    SetOrdProp(o, p, value);
}

std::int64_t GetOrdProp(TObject* o, const AnsiString& n) { return GetOrdProp(o, Named(o, n)); }
void SetOrdProp(TObject* o, const AnsiString& n, std::int64_t v) { SetOrdProp(o, Named(o, n), v); }
AnsiString GetEnumProp(TObject* o, const AnsiString& n) { return GetEnumProp(o, Named(o, n)); }
void SetEnumProp(TObject* o, const AnsiString& n, const AnsiString& v) { SetEnumProp(o, Named(o, n), v); }
double GetFloatProp(TObject* o, const AnsiString& n) { return GetFloatProp(o, Named(o, n)); }
void SetFloatProp(TObject* o, const AnsiString& n, double v) { SetFloatProp(o, Named(o, n), v); }
AnsiString GetStrProp(TObject* o, const AnsiString& n) { return GetStrProp(o, Named(o, n)); }
void SetStrProp(TObject* o, const AnsiString& n, const AnsiString& v) { SetStrProp(o, Named(o, n), v); }
TObject* GetObjectProp(TObject* o, const AnsiString& n) { return GetObjectProp(o, Named(o, n)); }
void SetObjectProp(TObject* o, const AnsiString& n, TObject* v) { SetObjectProp(o, Named(o, n), v); }
TMethod GetMethodProp(TObject* o, const AnsiString& n) { return GetMethodProp(o, Named(o, n)); }
void SetMethodProp(TObject* o, const AnsiString& n, const TMethod& v) { SetMethodProp(o, Named(o, n), v); }
