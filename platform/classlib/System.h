// The root of the class hierarchy: TObject with its metaclass, the null-safe Free, and the
// method pointers behind every event.
//
// Every class of the class library and of the system above it declares itself with
// VENDARO_CLASS as the first line of its body; that gives it a metaclass (name, parent,
// virtual constructor) and the `inherited` alias. The macro leaves the access private, so
// an access specifier follows it. The virtual constructor takes the owner of a component
// (the constructor with a TComponent*), the collection of an item, or nothing. A class that publishes properties or
// methods adds a static Publish function (see TypInfo.h for the pattern):
//
//     class TGauge : public TComponent {
//         VENDARO_CLASS(TGauge, TComponent)
//     public:
//         explicit TGauge(TComponent* owner) : TComponent(owner) {}
//         int Progress() const { return progress_; }
//         void SetProgress(int value) { progress_ = value; }
//         TNotifyEvent OnChange() const { return onChange_; }
//         void SetOnChange(TNotifyEvent value) { onChange_ = value; }
//         static void Publish(TClassBuilder<TGauge>& c) {
//             c.Property("Progress", &TGauge::Progress, &TGauge::SetProgress).Default(0);
//             c.Property("OnChange", &TGauge::OnChange, &TGauge::SetOnChange);
//         }
//     private:
//         int progress_ = 0;
//         TNotifyEvent onChange_;
//     };
//
// Events are TEvent<parameters...>: an object and one of its methods, comparable, with an
// assigned test; `TNotifyEvent ev(this, &TForm1::Button1Click); ev(sender);`.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

class TObject;
class TMetaClass;
using TClass = const TMetaClass*;

// Builds the metaclass of T on first use; defined in TypInfo.h.
struct TClassAccess {
    template <class T>
    static TClass Info();
};

#define VENDARO_CLASS(Name, Parent)                                          \
public:                                                                      \
    using inherited = Parent;                                                \
    static constexpr const char* StaticClassName = #Name;                    \
    static TClass StaticClass() { return TClassAccess::Info<Name>(); }       \
    TClass ClassType() const override { return StaticClass(); }              \
    friend struct TClassAccess;                                              \
                                                                             \
private:

// The code half of a method pointer, erased to one type; only TEvent casts it back to the
// parameter list it was made with.
using TMethodCode = void (TObject::*)();

// Ending an object. There is one way to end an object, whichever is written: `delete`,
// Free, FreeObject, FreeAndNil, TOwned and std::unique_ptr all reach the class's destroying
// operator delete, which first runs BeforeDestruction on the whole object (a component
// marks itself and what it owns destroying there and sends its removal notifications),
// then runs the destructors, most derived first, then gives the memory back. So a peer
// that is told an object goes still finds all of it, its most derived class included.
// An object that is not on the heap (a local, a member) ends by its destructor alone;
// TComponent's destructor then runs the removal protocol itself, late but still before
// anything it owns goes. BeforeDestruction must not raise: there is no way back from it.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static constexpr const char* StaticClassName = "TObject";
    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }

    AnsiString ClassName() const;
    TClass ClassParent() const;
    bool InheritsFrom(TClass cls) const;

    // Runs just before the destructor: the place where an object that others watch tells
    // them it is going, while it is still whole.
    virtual void BeforeDestruction() {}
    // Ends the object as `delete` does. Use FreeObject or FreeAndNil for a pointer that may
    // be null.
    void Free();

    // `delete` of any object of the hierarchy: BeforeDestruction, the destructors, then
    // the memory. The plain form only gives back the memory of an object whose
    // constructor raised; operator new is declared beside them so that the compiler pairs
    // the class's allocation with them.
    void operator delete(TObject* object, std::destroying_delete_t);
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

    // Published methods of the object's class and its ancestors.
    TMethodCode MethodAddress(const AnsiString& name) const;
    AnsiString MethodName(TMethodCode code) const;

    friend struct TClassAccess;
    using inherited = TObject;
};

// Frees the object; nothing happens for null.
void FreeObject(TObject* object);

template <class T>
void FreeAndNil(T*& object)
{
    T* doomed = object;
    object = nullptr;
    FreeObject(doomed);
}

// Owning pointer that frees through the Free protocol: the RAII form of try/finally Free.
struct TObjectDeleter {
    void operator()(TObject* object) const { FreeObject(object); }
};
template <class T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

// Identity of a method's parameter list, so a method found by name is only bound to an
// event of the same signature.
template <class... Args>
struct TSignatureTag {
    static constexpr char id = 0;
};
template <class... Args>
constexpr const void* SignatureOf() { return &TSignatureTag<Args...>::id; }

// An untyped method pointer: object plus method, as the run-time type information and the
// form reader handle events.
struct TMethod {
    TObject* Data = nullptr;
    TMethodCode Code = nullptr;
    const void* Signature = nullptr;

    bool Assigned() const { return Code != nullptr; }
    friend bool operator==(const TMethod& a, const TMethod& b) { return a.Data == b.Data && a.Code == b.Code; }
};

template <class... Args>
class TEvent {
public:
    using Function = void (TObject::*)(Args...);

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <class C>
        requires std::is_base_of_v<TObject, C>
    TEvent(C* object, void (C::*method)(Args...))
        : data_(object), code_(method ? static_cast<Function>(method) : nullptr)
    {
    }
    // An untyped method of the same signature (a mismatch gives an unassigned event).
    explicit TEvent(const TMethod& method)
    {
        if (method.Signature == Signature() && method.Code) {
            data_ = method.Data;
            code_ = std::bit_cast<Function>(method.Code);
        }
    }

    static const void* Signature() { return SignatureOf<Args...>(); }

    bool Assigned() const { return code_ != nullptr; }
    explicit operator bool() const { return Assigned(); }
    TObject* Data() const { return data_; }
    TMethod Method() const { return TMethod{data_, std::bit_cast<TMethodCode>(code_), Signature()}; }

    // Calling an unassigned event does nothing.
    void operator()(Args... args) const
    {
        if (code_)
            (data_->*code_)(std::forward<Args>(args)...);
    }

    friend bool operator==(const TEvent& a, const TEvent& b) { return a.data_ == b.data_ && a.code_ == b.code_; }

private:
    TObject* data_ = nullptr;
    Function code_ = nullptr;
};

template <class... Args>
bool Assigned(const TEvent<Args...>& event) { return event.Assigned(); }
inline bool Assigned(const void* pointer) { return pointer != nullptr; }

using TNotifyEvent = TEvent<TObject*>;

#include "platform/classlib/TypInfo.h"
