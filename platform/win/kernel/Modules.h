// Modules: LoadLibrary looks file names up in an in-process table; no native code is ever
// loaded. Built in are the program itself (HInstance) and the theme library "UxTheme.dll"
// (see UxTheme.h for making it present or absent); tests may register modules of their own.
// Any other library, such as "RSRC32.DLL", is absent.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <map>
#include <string>

// The running program's own module; resources registered for it are found through it.
extern const HINSTANCE HInstance;

// Entry points of a module by name (case-sensitive, as the original's export names).
using TModuleExports = std::map<std::string, FARPROC>;

// Registers (or replaces) a module under its file name ("NAME.DLL", matched without regard
// to case or folder). While 'available' answers false, loading the module fails as if the
// file were missing; without it the module is always available.
void RegisterModule(const AnsiString& fileName, TModuleExports exports, std::function<bool()> available = {});
void UnregisterModule(const AnsiString& fileName);

// Answers the module's handle (the same one for every load; each load is counted), or 0 with
// ERROR_MOD_NOT_FOUND. A name without extension gets ".DLL". Handles below 32 mean failure.
HMODULE LoadLibraryA(LPCSTR fileName);
inline HMODULE LoadLibrary(LPCSTR fileName) { return LoadLibraryA(fileName); }
// Counts one load down; the last one unloads the module. FALSE for a handle not loaded.
BOOL FreeLibrary(HMODULE module);
// The entry, or nullptr with ERROR_PROC_NOT_FOUND (ERROR_INVALID_HANDLE for a bad module).
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
// nullptr: the program's module; otherwise a loaded module by file name, or 0.
HMODULE GetModuleHandleA(LPCSTR moduleName);
inline HMODULE GetModuleHandle(LPCSTR moduleName) { return GetModuleHandleA(moduleName); }

// The module's file: ParamStr(0) for the program (nullptr or HInstance), the system folder plus
// the registered name for a loaded library. Copies at most size - 1 characters and a zero and
// answers the characters copied; a cut name answers size with ERROR_INSUFFICIENT_BUFFER.
// 0 (ERROR_MOD_NOT_FOUND) for a module not loaded.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
inline DWORD GetModuleFileName(HMODULE module, LPSTR fileName, DWORD size) { return GetModuleFileNameA(module, fileName, size); }

// Exports are stored as untyped entries; this turns a typed function into one.
template <typename F>
FARPROC ModuleEntry(F* function)
{
    return reinterpret_cast<FARPROC>(function);
}
