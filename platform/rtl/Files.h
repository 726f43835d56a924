// Files and folders by Windows-form name, through the path boundary.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Clock.h"

#include <cstdint>
#include <memory>

// File attributes, with their documented values.
inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x3F;

bool FileExists(const AnsiString& fileName);      // an existing file, not a folder
bool DirectoryExists(const AnsiString& name);
bool CreateDir(const AnsiString& dir);
bool RemoveDir(const AnsiString& dir);
// Creates the folder and every missing folder above it; true when it exists afterwards.
bool ForceDirectories(const AnsiString& dir);
bool DeleteFile(const AnsiString& fileName);
// Fails, as on Windows, when the new name already exists.
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);

AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& dir);

// Free and total bytes of a drive (0 the current one, 1 A:, 2 B:, 3 C: ...); -1 when unknown.
std::int64_t DiskFree(int drive);
std::int64_t DiskSize(int drive);

// File time stamps packed as the DOS date and time (two-second steps, local time).
std::int32_t DateTimeToFileDate(TDateTime value);
TDateTime FileDateToDateTime(std::int32_t fileDate);
// The file's modification stamp, -1 when it does not exist.
std::int32_t FileAge(const AnsiString& fileName);

// Search for the entries matching a name with "*" and "?" in its last part (any letter case).
// Hidden entries (their host names start with "."), system and folder entries are found only
// when their attribute is in the mask; ordinary files always are.
struct TSearchState;
struct TSearchRec {
    std::int32_t Time = 0;      // DOS date and time
    std::int64_t Size = 0;
    int Attr = 0;
    AnsiString Name;            // the name alone, without folder
    int ExcludeAttr = 0;
    std::shared_ptr<TSearchState> FindHandle;
};

// 0 when an entry was found; otherwise the system's error (2 no match, 3 no such folder,
// 18 no more entries).
int FindFirst(const AnsiString& path, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);
