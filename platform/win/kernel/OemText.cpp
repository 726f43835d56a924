#include "platform/win/kernel/OemText.h"

#include "platform/rtl/CodePage.h"

#include <cstring>

namespace {

// Converts `length` bytes; the result has the same length, so the copy back is safe in place.
BOOL Convert(LPCSTR source, LPSTR destination, DWORD length, AnsiString (*convert)(const AnsiString&))
{
    if (!source || !destination) return FALSE;
    const AnsiString converted = convert(AnsiString(source, length));
    std::memcpy(destination, converted.data(), length);
    return TRUE;
}

}  // namespace

BOOL CharToOemA(LPCSTR source, LPSTR destination)
{
    if (!source || !destination) return FALSE;
    const DWORD length = static_cast<DWORD>(std::strlen(source));
    Convert(source, destination, length, AnsiToOem);
    destination[length] = '\0';
    return TRUE;
}

BOOL OemToCharA(LPCSTR source, LPSTR destination)
{
    if (!source || !destination) return FALSE;
    const DWORD length = static_cast<DWORD>(std::strlen(source));
    Convert(source, destination, length, OemToAnsi);
    destination[length] = '\0';
    return TRUE;
}

BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length)
{
    return Convert(source, destination, length, AnsiToOem);
}

BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length)
{
    return Convert(source, destination, length, OemToAnsi);
}
