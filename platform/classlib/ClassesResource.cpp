#include "platform/classlib/Classes.h"

#include "platform/win/kernel/Resources.h"

TResourceStream::TResourceStream(HINSTANCE instance, const AnsiString& resName, LPCSTR resType)
{
    Initialize(instance, resName.c_str(), resType, resName);
}

TResourceStream::TResourceStream(HINSTANCE instance, int resId, LPCSTR resType)
{
    Initialize(instance, MAKEINTRESOURCEA(static_cast<WORD>(resId)), resType, IntToStr(resId));
}

void TResourceStream::Initialize(HINSTANCE instance, LPCSTR name, LPCSTR resType, const AnsiString& shownName)
{
    HRSRC info = FindResourceA(instance, name, resType);
    HGLOBAL data = info ? LoadResource(instance, info) : nullptr;
    if (!data)
        throw EResNotFound(SResNotFound, {shownName});
    SetPointer(static_cast<const char*>(LockResource(data)), static_cast<int>(SizeofResource(instance, info)));
}

int TResourceStream::Write(const void*, int) { throw EStreamError(SCantWriteResourceStreamError); }

TComponent* ReadComponentRes(const AnsiString& resName, TComponent* instance)
{
    TResourceStream stream(nullptr, resName, RT_RCDATA);
    return stream.ReadComponent(instance);
}
