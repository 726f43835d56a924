// The small part of the component object model the shell services use: result codes,
// interface identifiers, IUnknown and the task allocator.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstddef>

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
// An error code of the kernel services as a result code (0 stays 0).
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error)
{
    return error == 0 ? S_OK : static_cast<HRESULT>((error & 0xFFFF) | 0x80070000u);
}

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using IID = GUID;
using REFIID = const IID&;
bool operator==(const GUID& a, const GUID& b);

extern const IID IID_IUnknown;
extern const IID IID_IMalloc;

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

class IMalloc : public IUnknown {
public:
    virtual void* Alloc(std::size_t size) = 0;
    virtual void* Realloc(void* block, std::size_t size) = 0;
    virtual void Free(void* block) = 0;
    // The block's size in bytes; (size_t)-1 for a block this allocator did not make.
    virtual std::size_t GetSize(void* block) = 0;
    // 1 when the allocator made the block, 0 when not (nullptr: -1, as the original).
    virtual int DidAlloc(void* block) = 0;
    virtual void HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};

// The task allocator behind CoTaskMemAlloc and the shell's IMalloc: one heap, so a block from
// either may be freed by the other. Freeing nullptr does nothing.
void* CoTaskMemAlloc(std::size_t size);
void* CoTaskMemRealloc(void* block, std::size_t size);
void CoTaskMemFree(void* block);
// The allocator object (a process-wide one; AddRef/Release keep no count that matters).
IMalloc* TaskAllocator();
