// What an Access database file is, told by its content rather than its name.
#pragma once

#include <string>

enum class AccessFileKind : unsigned char { NotADatabase, Engine, Jet };

// What the file holds, told by its first bytes (not by its name): an engine (SQLite)
// database, a Jet database, or neither (an empty or unreadable file is neither).
AccessFileKind AccessFileKindOf(const std::string& posixFile);
