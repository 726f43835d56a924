// The Windows, system and temporary folders and temporary files, in Windows form.
// Buffer-filling calls follow the original's length rules: when the text and its zero fit,
// they copy both and answer the length without the zero; otherwise they leave the buffer
// alone and answer the size needed including the zero.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <optional>

constexpr UINT MAX_PATH = 260;

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
inline UINT GetWindowsDirectory(LPSTR buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); }
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
inline UINT GetSystemDirectory(LPSTR buffer, UINT size) { return GetSystemDirectoryA(buffer, size); }

// The temporary folder with a trailing backslash: the host's $TMPDIR (or /tmp) in Windows
// form, unless tests set another one.
DWORD GetTempPathA(DWORD size, LPSTR buffer);
inline DWORD GetTempPath(DWORD size, LPSTR buffer) { return GetTempPathA(size, buffer); }
void SetTempPathForTesting(std::optional<AnsiString> windowsPath);

// Name: folder + "\" + the first three characters of prefix + four upper-case hexadecimal
// digits + ".TMP", written into a buffer of at least MAX_PATH characters. With unique 0 a
// free number is chosen and the empty file is created atomically (never an existing one);
// otherwise the name is only built from its low 16 bits. Answers the number (unique itself
// when given), 0 on failure (ERROR_DIRECTORY when the folder does not exist).
UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName);
inline UINT GetTempFileName(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName)
{
    return GetTempFileNameA(pathName, prefix, unique, tempFileName);
}

// Copies text by the length rules above; shared by the kernel's folder queries.
DWORD KernelCopyOut(const AnsiString& text, LPSTR buffer, DWORD size);
