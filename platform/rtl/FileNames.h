// File-name routines over Windows-form paths. They work on the text alone ("\" and ":" end
// a folder part), except ExpandFileName, which starts from the current directory.
#pragma once

#include "platform/rtl/AnsiString.h"

// 1-based position of the last byte of s that occurs in delimiters; 0 when none does.
int LastDelimiter(const AnsiString& delimiters, const AnsiString& s);

// "C:\dir\" of "C:\dir\file.txt": everything up to and including the last "\" or ":".
AnsiString ExtractFilePath(const AnsiString& fileName);
// The same without the trailing "\" unless it is the root ("C:\dir", but "C:\").
AnsiString ExtractFileDir(const AnsiString& fileName);
// "C:" of "C:\dir\file", "\\server\share" of a network path, otherwise empty.
AnsiString ExtractFileDrive(const AnsiString& fileName);
// "file.txt": everything after the last "\" or ":".
AnsiString ExtractFileName(const AnsiString& fileName);
// ".txt": from the last "." of the name part, or empty when it has none.
AnsiString ExtractFileExt(const AnsiString& fileName);
// The name with its extension replaced (or extension added when there was none).
AnsiString ChangeFileExt(const AnsiString& fileName, const AnsiString& extension);

AnsiString IncludeTrailingBackslash(const AnsiString& path);
AnsiString ExcludeTrailingBackslash(const AnsiString& path);

// The full Windows-form path: a relative name starts at the current directory, "\x" at the
// current drive's root; "/" becomes "\", "." and ".." parts are resolved (never above the
// root); a trailing "\" stays.
AnsiString ExpandFileName(const AnsiString& fileName);
