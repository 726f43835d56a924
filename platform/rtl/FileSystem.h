// The boundary between the system's Windows-form paths ("C:\dir\file", "\" or "/" as
// separators, text in the Windows code page) and the host's POSIX paths (UTF-8).
// Each drive letter maps to a host folder (by default "/"); the Windows and system folders
// are settings, so tests can point all of them at temporary folders.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <string>

namespace FileSystem {

// Host folder that stands for the drive ("C" or 'c'); every drive starts at "/".
void SetDriveRoot(char drive, const std::string& posixRoot);
std::string DriveRoot(char drive);

// Windows-form path to host path. "X:\a\b" and "X:a" lie under the drive's root, "\a" under
// the current drive's root, a relative path stays relative to the current directory.
// Folders and files that exist under another letter case are found, as Windows finds them.
std::string ToPosixPath(const AnsiString& path);
// Host path to Windows form: an absolute path gets the drive whose root holds it (the
// longest root wins, then the earliest letter from C); one under no root keeps no drive.
AnsiString ToWindowsPath(const std::string& posixPath);

// The Windows folder (default "C:\WINDOWS") and the system folder (default
// "C:\WINDOWS\SYSTEM32"), in Windows form, without a trailing backslash.
AnsiString WindowsFolder();
void SetWindowsFolder(const AnsiString& path);
AnsiString SystemFolder();
void SetSystemFolder(const AnsiString& path);

// The process's current directory in Windows form, and changing it (false on failure).
AnsiString CurrentDirectory();
bool ChangeDirectory(const AnsiString& path);

// Back to the defaults: every drive at "/", the default Windows and system folders.
void Reset();

} // namespace FileSystem
