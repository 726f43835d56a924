#include "platform/classlib/System.h"

TClass TObject::StaticClass()
{
    static const TMetaClass meta("TObject", nullptr, [](TObject*) { return new TObject(); });
    return &meta;
}

AnsiString TObject::ClassName() const { return ClassType()->ClassName(); }

TClass TObject::ClassParent() const { return ClassType()->ClassParent(); }

bool TObject::InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }

void TObject::Free() { delete this; }

void* TObject::operator new(std::size_t size) { return ::operator new(size); }

void TObject::operator delete(void* memory) { ::operator delete(memory); }

void TObject::operator delete(TObject* object, std::destroying_delete_t)
{
    object->BeforeDestruction();
    void* memory = dynamic_cast<void*>(object);
    object->~TObject();
    ::operator delete(memory);
}

TMethodCode TObject::MethodAddress(const AnsiString& name) const
{
    const TPublishedMethod* method = ClassType()->FindMethod(name);
    return method ? method->Code : nullptr;
}

AnsiString TObject::MethodName(TMethodCode code) const
{
    const TPublishedMethod* method = ClassType()->FindMethod(code);
    return method ? method->Name : AnsiString();
}

void FreeObject(TObject* object)
{
    if (object)
        object->Free();
}
