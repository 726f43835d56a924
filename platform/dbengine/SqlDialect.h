// The local SQL of the two drivers, translated into the SQL engine's own dialect.
//
// Statement text arrives in the Windows code page and leaves as UTF-8. Table names may be
// quoted file names ('clienti.db' names table clienti on the Paradox driver); an ALTER TABLE
// with several comma-separated ADD or DROP clauses becomes one ALTER per clause; the
// autoincrement types become the engine's autoincrement key; a character column refuses
// text longer than its declared length; every text type keeps its text as written. A text holds exactly one statement: anything after
// the first one is refused before anything runs.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <string>
#include <string_view>
#include <vector>

enum class SqlDialect : unsigned char { Paradox, Access };

// The engine statements that carry out the one statement of the text, to be applied all or
// none. Raises EDbiError for an empty text, a second statement or an unterminated literal.
std::vector<std::string> TranslateStatement(const AnsiString& text, SqlDialect dialect);

// How the engine declares a column of the drivers' type ("MEMO", "ALPHA(20)", "INTEGER"):
// as written, except that a text type whose name the engine would take for a number type
// gets the engine's TEXT after its first word ("MEMO TEXT", "ALPHA TEXT(20)"). Otherwise
// the engine would store number-like text as a number ("06" as 6, "1e3" as 1000); the
// field type, read from the first word, stays the driver's.
std::string EngineColumnType(std::string_view driverType);
