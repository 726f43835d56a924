// Basic types of the window-system and drawing stand-in, with the widths the
// system relies on: 32-bit LONG/DWORD/BOOL, pointer-width WPARAM/LPARAM/LRESULT.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = std::int32_t;
using BOOL = std::int32_t;
using CHAR = char;
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using LPVOID = void*;
using LPCVOID = const void*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using ATOM = WORD;
using COLORREF = DWORD;
using HRESULT = LONG;
using LANGID = WORD;
using LCID = DWORD;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Typed opaque handles; 0 (nullptr) is "no handle".
#define VENDARO_DECLARE_HANDLE(name) struct name##__ { int unused; }; using name = name##__*
using HANDLE = void*;
VENDARO_DECLARE_HANDLE(HWND);
VENDARO_DECLARE_HANDLE(HDC);
VENDARO_DECLARE_HANDLE(HPEN);
VENDARO_DECLARE_HANDLE(HBRUSH);
VENDARO_DECLARE_HANDLE(HFONT);
VENDARO_DECLARE_HANDLE(HBITMAP);
VENDARO_DECLARE_HANDLE(HRGN);
VENDARO_DECLARE_HANDLE(HPALETTE);
VENDARO_DECLARE_HANDLE(HICON);
VENDARO_DECLARE_HANDLE(HMENU);
VENDARO_DECLARE_HANDLE(HINSTANCE);
VENDARO_DECLARE_HANDLE(HKEY);
VENDARO_DECLARE_HANDLE(HRSRC);
using HGDIOBJ = void*;
using HCURSOR = HICON;
using HMODULE = HINSTANCE;
using HGLOBAL = HANDLE;
using HTHEME = HANDLE;
using FARPROC = void (*)();

struct POINT { LONG x; LONG y; };
struct SIZE { LONG cx; LONG cy; };
struct RECT { LONG left; LONG top; LONG right; LONG bottom; };
using LPRECT = RECT*;
using LPPOINT = POINT*;

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(DWORD_PTR v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(static_cast<LONG>(MAKELONG(lo, hi))); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(MAKELONG(lo, hi)); }
// Mouse coordinates packed in an LPARAM are signed 16-bit values.
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lp))); }

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16); }
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
