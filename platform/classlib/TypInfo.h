// Run-time type information: metaclasses, type descriptions and the published property and
// method tables that the form reader and writer, Assign helpers and the settings store walk.
//
// A class publishes with a static Publish function taking TClassBuilder<itself>; properties
// are listed in declaration order from getter and setter member pointers (or any callables,
// or a data member as setter), with the modifiers Default(v), NoDefault() (the default for
// every property), Stored(false) or Stored(&T::IsXStored). A float property without a
// declared default counts 0 as its default; one whose constructor sets another value
// declares it (Default(0.6)), or 0 is never stored and the constructor's value comes back:
//
//     void TOBLGradient::Publish(TClassBuilder<TOBLGradient>& c)
//     {
//         c.Property("Colors", &TOBLGradient::Colors, &TOBLGradient::SetColors).Default(16);
//         c.Property("Style", &TOBLGradient::Style, &TOBLGradient::SetStyle).Default(gsStandard);
//         c.Property("Width", &TOBLGradient::Width,
//                    [](TOBLGradient& g, int v) { g.SetInteger(0, v); });     // indexed setter
//         c.Property("Font", &TOBLGradient::Font, &TOBLGradient::SetFont);  // class: sub-properties
//         c.Property("Version", &TOBLGradient::Version);                      // read-only
//         c.Method("FontChanged", &TOBLGradient::FontChanged);               // published method
//     }
//
// An enumeration gets its name table from VENDARO_ENUM (declares the one-byte scoped enum and
// its names) or VENDARO_ENUM_NAMES (names for an enum declared elsewhere), at global scope:
//
//     VENDARO_ENUM(TGradientStyle, gsStandard, gsHorizontal, gsVertical)
//
// An integer type whose values have names in form descriptions (colours, cursors) is a
// TTypeInfo of kind tkInteger with IdentToInt/IntToIdent, given with .Type(&info).
//
// The property list of a class holds its ancestors' properties first.
#pragma once

#include "platform/classlib/System.h"
#include "platform/classlib/Sets.h"
#include "platform/rtl/Exceptions.h"

#include <bit>
#include <concepts>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

VENDARO_EXCEPTION(EPropertyError, Exception);

enum class TTypeKind : std::uint8_t {
    tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod,
    tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64, tkDynArray
};
using enum TTypeKind;

struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    AnsiString Name;
    std::vector<AnsiString> EnumNames{};          // enumeration: the value names in order
    const TTypeInfo* (*CompType)() = nullptr;     // set: its element type
    TClass (*ClassType)() = nullptr;              // class: its metaclass (resolved on use)
    const void* Signature = nullptr;              // method: identity of the parameter list
    // Integer types with named values (colours, cursors): name to value and back; both
    // answer false for a name or value without counterpart.
    bool (*IdentToInt)(const AnsiString& ident, std::int64_t& value) = nullptr;
    bool (*IntToIdent)(std::int64_t value, AnsiString& ident) = nullptr;

    // An enumeration whose names come as one comma-separated list ("a, b, c").
    static TTypeInfo Enumeration(const char* name, const char* commaSeparatedNames);
};
using PTypeInfo = const TTypeInfo*;

// Name of an enumeration value; empty when out of range.
AnsiString GetEnumName(PTypeInfo info, int value);
// Ordinal of a value name (case-insensitive); -1 when there is none.
int GetEnumValue(PTypeInfo info, const AnsiString& name);

template <class T>
struct TypeTag {};

template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
PTypeInfo GetTypeInfo(TypeTag<T>)
{
    static const TTypeInfo info{.Kind = sizeof(T) > 4 ? tkInt64 : tkInteger, .Name = std::is_signed_v<T> ? "Integer" : "Cardinal"};
    return &info;
}
PTypeInfo GetTypeInfo(TypeTag<bool>);
PTypeInfo GetTypeInfo(TypeTag<char>);
PTypeInfo GetTypeInfo(TypeTag<double>);
PTypeInfo GetTypeInfo(TypeTag<float>);
PTypeInfo GetTypeInfo(TypeTag<AnsiString>);

template <class T>
    requires std::is_base_of_v<TObject, T>
PTypeInfo GetTypeInfo(TypeTag<T*>)
{
    static const TTypeInfo info{.Kind = tkClass, .Name = T::StaticClassName, .ClassType = &T::StaticClass};
    return &info;
}

template <class E>
PTypeInfo GetTypeInfo(TypeTag<TSet<E>>)
{
    static const TTypeInfo info{.Kind = tkSet, .Name = "set", .CompType = [] { return GetTypeInfo(TypeTag<E>{}); }};
    return &info;
}

template <class... Args>
PTypeInfo GetTypeInfo(TypeTag<TEvent<Args...>>)
{
    static const TTypeInfo info{.Kind = tkMethod, .Name = "event", .Signature = SignatureOf<Args...>()};
    return &info;
}

template <class T>
PTypeInfo TypeInfo() { return GetTypeInfo(TypeTag<T>{}); }

#define VENDARO_ENUM_NAMES(E, ...)                                                          \
    inline PTypeInfo GetTypeInfo(TypeTag<E>)                                                \
    {                                                                                       \
        static const TTypeInfo info = TTypeInfo::Enumeration(#E, #__VA_ARGS__);             \
        return &info;                                                                       \
    }

#define VENDARO_ENUM(E, ...)                                                                \
    enum class E : std::uint8_t { __VA_ARGS__ };                                            \
    using enum E;                                                                           \
    VENDARO_ENUM_NAMES(E, __VA_ARGS__)

// One published property.
struct TPropInfo {
    AnsiString Name;
    PTypeInfo PropType = nullptr;
    bool HasDefault = false;
    std::int64_t Default = 0;                         // ordinal kinds; a set as its mask
    double FloatDefault = 0;                          // float kinds
    bool StoredConstant = true;
    std::function<bool(TObject*)> StoredFunction;     // replaces StoredConstant when set
    bool Withdrawn = false;                           // an inherited one this class does not offer
    // The values a form description may give an integer property: the reader refuses one
    // outside them (with its line) instead of handing the setter a value it would drop.
    std::int64_t ReadMin = INT64_MIN;
    std::int64_t ReadMax = INT64_MAX;

    std::function<std::int64_t(TObject*)> GetOrd;
    std::function<void(TObject*, std::int64_t)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<AnsiString(TObject*)> GetStr;
    std::function<void(TObject*, const AnsiString&)> SetStr;
    std::function<TObject*(TObject*)> GetObject;
    std::function<void(TObject*, TObject*)> SetObject;
    std::function<TMethod(TObject*)> GetMethod;
    std::function<void(TObject*, const TMethod&)> SetMethod;

    TTypeKind Kind() const { return PropType->Kind; }
    bool IsWritable() const { return SetOrd || SetFloat || SetStr || SetObject || SetMethod; }
};
using PPropInfo = const TPropInfo*;
using TPropList = std::vector<PPropInfo>;

struct TPublishedMethod {
    AnsiString Name;
    TMethodCode Code = nullptr;
    const void* Signature = nullptr;
};

// Factory behind a class's virtual constructor; the argument is what the class's
// constructor takes (the owner of a component, the collection of an item) or null.
using TObjectFactory = TObject* (*)(TObject* argument);

class TMetaClass {
public:
    TMetaClass(const char* name, TClass parent, TObjectFactory factory)
        : name_(name), parent_(parent), factory_(factory) {}

    const AnsiString& ClassName() const { return name_; }
    TClass ClassParent() const { return parent_; }
    bool InheritsFrom(TClass other) const;
    bool CanCreate() const { return factory_ != nullptr; }
    // The virtual constructor; raises EAbstractError for a class that cannot be created.
    TObject* Create(TObject* argument = nullptr) const;

    const std::vector<TPropInfo>& OwnProperties() const { return properties_; }
    const std::vector<TPublishedMethod>& OwnMethods() const { return methods_; }
    // Searches this class and its ancestors, case-insensitively.
    PPropInfo FindProperty(const AnsiString& name) const;
    const TPublishedMethod* FindMethod(const AnsiString& name) const;
    const TPublishedMethod* FindMethod(TMethodCode code) const;

    void AddProperty(TPropInfo info) { properties_.push_back(std::move(info)); }
    TPropInfo& LastProperty() { return properties_.back(); }
    void AddMethod(TPublishedMethod method) { methods_.push_back(std::move(method)); }

private:
    AnsiString name_;
    TClass parent_;
    TObjectFactory factory_;
    std::vector<TPropInfo> properties_;
    std::vector<TPublishedMethod> methods_;
};

namespace typinfo_detail {

template <class T> struct IsSet : std::false_type {};
template <class E> struct IsSet<TSet<E>> : std::true_type {};
template <class T> struct IsEvent : std::false_type {};
template <class... A> struct IsEvent<TEvent<A...>> : std::true_type {};

template <class T>
constexpr bool IsOrdinal = std::is_integral_v<T> || std::is_enum_v<T> || IsSet<T>::value;
template <class T>
constexpr bool IsObjectPointer = std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>;

template <class T>
std::int64_t ToOrd(const T& value)
{
    if constexpr (IsSet<T>::value)
        return value.Mask();
    else
        return static_cast<std::int64_t>(value);
}
template <class T>
T FromOrd(std::int64_t value)
{
    if constexpr (IsSet<T>::value)
        return T::FromMask(static_cast<std::uint32_t>(value));
    else if constexpr (std::is_same_v<T, bool>)
        return value != 0;
    else
        return static_cast<T>(value);
}

template <class C, class Set, class V>
void Assign(C& object, const Set& setter, V&& value)
{
    if constexpr (std::is_member_object_pointer_v<Set>)
        object.*setter = std::forward<V>(value);
    else
        std::invoke(setter, object, std::forward<V>(value));
}

template <class T>
TObjectFactory FactoryOf()
{
    if constexpr (std::is_abstract_v<T>) {
        return nullptr;
    } else if constexpr (requires { typename T::ConstructorArgument; }) {
        using A = typename T::ConstructorArgument;
        if constexpr (std::is_constructible_v<T, A*>)
            return [](TObject* argument) -> TObject* { return new T(dynamic_cast<A*>(argument)); };
        else
            return nullptr;
    } else if constexpr (std::is_default_constructible_v<T>) {
        return [](TObject*) -> TObject* { return new T(); };
    } else {
        return nullptr;
    }
}

} // namespace typinfo_detail

template <class C>
class TPropertyBuilder {
public:
    explicit TPropertyBuilder(TPropInfo& info) : info_(info) {}

    template <class V>
    TPropertyBuilder& Default(const V& value)
    {
        info_.HasDefault = true;
        if constexpr (std::is_arithmetic_v<V>) {
            if (info_.Kind() == tkFloat) {
                info_.FloatDefault = static_cast<double>(value);
                return *this;
            }
        }
        info_.Default = typinfo_detail::ToOrd(value);
        return *this;
    }
    TPropertyBuilder& NoDefault() { info_.HasDefault = false; return *this; }
    // A named type in place of the one the getter gives (an integer type with identifiers).
    TPropertyBuilder& Type(PTypeInfo type) { info_.PropType = type; return *this; }
    TPropertyBuilder& Stored(bool stored) { info_.StoredConstant = stored; return *this; }
    // The values the reader takes for an integer property (see TPropInfo::ReadMin).
    TPropertyBuilder& ReadRange(std::int64_t min, std::int64_t max = INT64_MAX)
    {
        info_.ReadMin = min;
        info_.ReadMax = max;
        return *this;
    }
    TPropertyBuilder& Stored(bool (C::*predicate)() const)
    {
        info_.StoredFunction = [predicate](TObject* o) { return (static_cast<C*>(o)->*predicate)(); };
        return *this;
    }

private:
    TPropInfo& info_;
};

template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(TMetaClass& meta) : meta_(meta) {}

    template <class Get, class Set>
    TPropertyBuilder<C> Property(const char* name, Get getter, Set setter)
    {
        using T = std::remove_cvref_t<std::invoke_result_t<Get, const C&>>;
        TPropInfo info = Describe<T>(name, getter);
        Bind<T>(info, setter);
        meta_.AddProperty(std::move(info));
        return TPropertyBuilder<C>(meta_.LastProperty());
    }
    // A read-only property: listed, never written by the filer or the settings store.
    template <class Get>
    TPropertyBuilder<C> Property(const char* name, Get getter)
    {
        using T = std::remove_cvref_t<std::invoke_result_t<Get, const C&>>;
        meta_.AddProperty(Describe<T>(name, getter));
        return TPropertyBuilder<C>(meta_.LastProperty());
    }

    // Redeclares an inherited property (to give it another default, say): it keeps its
    // type, accessors and place in the property list, and takes the modifiers given here.
    // Raises EPropertyError when no ancestor publishes the name.
    TPropertyBuilder<C> Redeclare(const char* name)
    {
        PPropInfo inherited = meta_.ClassParent() ? meta_.ClassParent()->FindProperty(name) : nullptr;
        if (!inherited) throw EPropertyError(AnsiString("No inherited property ") + name + " to redeclare");
        meta_.AddProperty(*inherited);
        return TPropertyBuilder<C>(meta_.LastProperty());
    }

    // Takes an inherited property out of this class's published ones: a descendant that
    // does not offer what its ancestor publishes. Neither listed nor found for this class
    // and its descendants. Raises EPropertyError when no ancestor publishes the name.
    void Withdraw(const char* name)
    {
        Redeclare(name);
        meta_.LastProperty().Withdrawn = true;
    }

    template <class... A>
    void Method(const char* name, void (C::*method)(A...))
    {
        auto code = std::bit_cast<TMethodCode>(static_cast<void (TObject::*)(A...)>(method));
        meta_.AddMethod(TPublishedMethod{name, code, SignatureOf<A...>()});
    }

private:
    static C& Self(TObject* o) { return *static_cast<C*>(o); }

    template <class T, class Get>
    static TPropInfo Describe(const char* name, Get getter)
    {
        using namespace typinfo_detail;
        TPropInfo info;
        info.Name = name;
        info.PropType = TypeInfo<T>();
        if constexpr (IsOrdinal<T>)
            info.GetOrd = [getter](TObject* o) { return ToOrd(std::invoke(getter, Self(o))); };
        else if constexpr (std::is_floating_point_v<T>)
            info.GetFloat = [getter](TObject* o) { return static_cast<double>(std::invoke(getter, Self(o))); };
        else if constexpr (std::is_same_v<T, AnsiString>)
            info.GetStr = [getter](TObject* o) { return AnsiString(std::invoke(getter, Self(o))); };
        else if constexpr (IsObjectPointer<T>)
            info.GetObject = [getter](TObject* o) -> TObject* { return std::invoke(getter, Self(o)); };
        else if constexpr (IsEvent<T>::value)
            info.GetMethod = [getter](TObject* o) { return std::invoke(getter, Self(o)).Method(); };
        else
            static_assert(IsEvent<T>::value, "this property type cannot be published");
        return info;
    }

    template <class T, class Set>
    static void Bind(TPropInfo& info, Set setter)
    {
        using namespace typinfo_detail;
        if constexpr (IsOrdinal<T>)
            info.SetOrd = [setter](TObject* o, std::int64_t v) { Assign(Self(o), setter, FromOrd<T>(v)); };
        else if constexpr (std::is_floating_point_v<T>)
            info.SetFloat = [setter](TObject* o, double v) { Assign(Self(o), setter, static_cast<T>(v)); };
        else if constexpr (std::is_same_v<T, AnsiString>)
            info.SetStr = [setter](TObject* o, const AnsiString& v) { Assign(Self(o), setter, v); };
        else if constexpr (IsObjectPointer<T>)
            info.SetObject = [setter](TObject* o, TObject* v) {
                Assign(Self(o), setter, dynamic_cast<T>(v));
            };
        else
            info.SetMethod = [setter](TObject* o, const TMethod& m) { Assign(Self(o), setter, T(m)); };
    }

    TMetaClass& meta_;
};

template <class T>
TClass TClassAccess::Info()
{
    static const TMetaClass meta = [] {
        TMetaClass m(T::StaticClassName, T::inherited::StaticClass(), typinfo_detail::FactoryOf<T>());
        if constexpr (requires(TClassBuilder<T>& b) { T::Publish(b); }) {
            TClassBuilder<T> builder(m);
            T::Publish(builder);
        }
        return m;
    }();
    return &meta;
}

// Property lists and lookup (ancestors' properties first, case-insensitive names). A
// redeclared property stands in its ancestor's place in the list; a withdrawn one leaves it.
TPropList GetPropList(TClass cls);
PPropInfo GetPropInfo(TClass cls, const AnsiString& name);
PPropInfo GetPropInfo(const TObject* object, const AnsiString& name);
bool IsPublishedProp(const TObject* object, const AnsiString& name);
bool IsStoredProp(TObject* object, PPropInfo prop);

// Property access. A missing or read-only property, or one of another kind, raises
// EPropertyError; so does an enumeration value without a name, or a set with bits past its
// elements (the property keeps its value).
std::int64_t GetOrdProp(TObject* object, PPropInfo prop);
void SetOrdProp(TObject* object, PPropInfo prop, std::int64_t value);
AnsiString GetEnumProp(TObject* object, PPropInfo prop);
void SetEnumProp(TObject* object, PPropInfo prop, const AnsiString& value);
double GetFloatProp(TObject* object, PPropInfo prop);
// Whether a float value is its property's default, which the filer and settings store leave
// out: the declared default compared in the property's own precision, or 0 when none is
// declared.
bool IsDefaultFloatValue(PPropInfo prop, double value);
void SetFloatProp(TObject* object, PPropInfo prop, double value);
AnsiString GetStrProp(TObject* object, PPropInfo prop);
void SetStrProp(TObject* object, PPropInfo prop, const AnsiString& value);
TObject* GetObjectProp(TObject* object, PPropInfo prop);
void SetObjectProp(TObject* object, PPropInfo prop, TObject* value);
TMethod GetMethodProp(TObject* object, PPropInfo prop);
void SetMethodProp(TObject* object, PPropInfo prop, const TMethod& value);

std::int64_t GetOrdProp(TObject* object, const AnsiString& name);
void SetOrdProp(TObject* object, const AnsiString& name, std::int64_t value);
AnsiString GetEnumProp(TObject* object, const AnsiString& name);
void SetEnumProp(TObject* object, const AnsiString& name, const AnsiString& value);
double GetFloatProp(TObject* object, const AnsiString& name);
void SetFloatProp(TObject* object, const AnsiString& name, double value);
AnsiString GetStrProp(TObject* object, const AnsiString& name);
void SetStrProp(TObject* object, const AnsiString& name, const AnsiString& value);
TObject* GetObjectProp(TObject* object, const AnsiString& name);
void SetObjectProp(TObject* object, const AnsiString& name, TObject* value);
TMethod GetMethodProp(TObject* object, const AnsiString& name);
void SetMethodProp(TObject* object, const AnsiString& name, const TMethod& value);

// Ordinal kinds: integer, character, enumeration (Boolean included) and set.
bool IsOrdinalKind(TTypeKind kind);
bool IsStringKind(TTypeKind kind);
