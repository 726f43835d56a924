// Texts of the run time and of the class library, used as format strings for their errors.
#pragma once

// Class library
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SFOpenError = "Cannot open file %s";
inline constexpr const char* SFCreateError = "Cannot create file %s";
inline constexpr const char* SNoTimers = "Not enough timers available";

// Run time
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SInvalidDate = "'%s' is not a valid date";
inline constexpr const char* SInvalidTime = "'%s' is not a valid time";
inline constexpr const char* SInvalidDateTime = "'%s' is not a valid date and time";
inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SArgumentMissing = "No argument for format '%s'";
inline constexpr const char* SInvalidOp = "Invalid floating point operation";
inline constexpr const char* SFileNotFound = "File not found";
inline constexpr const char* SAccessDenied = "File access denied";
inline constexpr const char* SDiskFull = "Disk full";
inline constexpr const char* SFileNotOpen = "File not open";
inline constexpr const char* SInOutError = "I/O error %d";
