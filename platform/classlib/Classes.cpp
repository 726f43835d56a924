#include "platform/classlib/Classes.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// Class registry

namespace {

std::vector<TClass>& ClassList()
{
    static std::vector<TClass> classes;
    return classes;
}

} // namespace

void RegisterClass(TClass cls)
{
    for (TClass c = cls; c; c = c->ClassParent()) {
        TClass known = GetClass(c->ClassName());
        if (known == c)
            break;
        if (known)
            throw EFilerError(SDuplicateClass, {c->ClassName()});
        ClassList().push_back(c);
        if (c == TPersistent::StaticClass())
            break;
    }
}

void RegisterClasses(std::initializer_list<TClass> classes)
{
    for (TClass c : classes)
        RegisterClass(c);
}

void UnRegisterClass(TClass cls)
{
    auto& list = ClassList();
    list.erase(std::remove(list.begin(), list.end(), cls), list.end());
}

TClass GetClass(const AnsiString& name)
{
    for (TClass c : ClassList())
        if (SameText(c->ClassName(), name))
            return c;
    return nullptr;
}

TClass FindClass(const AnsiString& name)
{
    TClass cls = GetClass(name);
    if (!cls)
        throw EClassNotFound(SClassNotFound, {name});
    return cls;
}

// ---------------------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* source)
{
    if (!source)
        AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source)
{
    AnsiString sourceName = source ? source->ClassName() : AnsiString("nil");
    throw EConvertError(SAssignError, {sourceName, ClassName()});
}

AnsiString TPersistent::GetNamePath()
{
    AnsiString result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        AnsiString ownerPath = owner->GetNamePath();
        if (!ownerPath.IsEmpty())
            result = ownerPath + "." + result;
    }
    return result;
}
