// Resources compiled into the programs: a table that a program's start-up and tests register
// into (bitmaps, strings, raw data, form descriptions), read back through the original calls.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <vector>

// A resource type or name is a number below 0x10000 passed as a pointer, or a text.
// Written as templates so that the window system's header may declare the same helpers for
// its cursor names without the two colliding.
template <typename = void>
inline LPSTR MAKEINTRESOURCEA(WORD id)
{
    return reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(id));
}
template <typename = void>
inline LPSTR MAKEINTRESOURCE(WORD id)
{
    return reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(id));
}
template <typename = void>
inline bool IS_INTRESOURCE(LPCSTR value)
{
    return reinterpret_cast<std::uintptr_t>(value) <= 0xFFFF;
}

inline const LPCSTR RT_CURSOR = MAKEINTRESOURCEA(1);
inline const LPCSTR RT_BITMAP = MAKEINTRESOURCEA(2);
inline const LPCSTR RT_ICON = MAKEINTRESOURCEA(3);
inline const LPCSTR RT_MENU = MAKEINTRESOURCEA(4);
inline const LPCSTR RT_DIALOG = MAKEINTRESOURCEA(5);
inline const LPCSTR RT_STRING = MAKEINTRESOURCEA(6);
inline const LPCSTR RT_FONT = MAKEINTRESOURCEA(8);
inline const LPCSTR RT_RCDATA = MAKEINTRESOURCEA(10);
inline const LPCSTR RT_GROUP_ICON = MAKEINTRESOURCEA(14);
inline const LPCSTR RT_VERSION = MAKEINTRESOURCEA(16);

// Registers (or replaces) a resource of a module (nullptr stands for the program, HInstance).
// Names and type names match without regard to case. Replacing data invalidates pointers
// handed out for the old data.
void RegisterResource(HMODULE module, LPCSTR type, LPCSTR name, std::vector<BYTE> data);
// A bitmap from the bytes of a .bmp file: the 14-byte file header is dropped, as a resource
// compiler does. False when the bytes are no bitmap file.
bool RegisterBitmapFileResource(HMODULE module, LPCSTR name, const std::vector<BYTE>& fileBytes);
void RegisterStringResource(HMODULE module, UINT id, const AnsiString& text);
// Forgets every resource and string of the module.
void RemoveModuleResources(HMODULE module);

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
inline HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type) { return FindResourceA(module, name, type); }
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
// Compiled-in data needs no freeing: FALSE, as the original answers.
BOOL FreeResource(HGLOBAL data);

// Copies at most size - 1 characters and a zero; answers the characters copied, 0 when the
// string does not exist (the buffer then holds an empty text).
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);
inline int LoadString(HINSTANCE instance, UINT id, LPSTR buffer, int size) { return LoadStringA(instance, id, buffer, size); }

// The system's check-box bitmap: a 4 x 3 grid of 13 x 13 cells (columns: unchecked, checked,
// unchecked pushed, checked pushed; rows: check box, radio button, three-state box).
constexpr WORD OBM_CHECKBOXES = 32759;

// A bitmap resource of the module as a device-dependent bitmap of the display's depth.
// With module nullptr the name is a system bitmap (OBM_CHECKBOXES). 0 when not found or
// when the stored data is not a well-formed bitmap.
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
inline HBITMAP LoadBitmap(HINSTANCE instance, LPCSTR name) { return LoadBitmapA(instance, name); }
