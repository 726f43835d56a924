// What a statement gives back: the description of its columns and all of its rows, read
// in full when the statement runs, so a cursor over them can go forward and back freely
// and other statements may run on the connection while it is walked.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Types of a column as the drivers name them in their table definitions.
enum class DbiFieldType : unsigned char {
    Unknown, String, Smallint, Integer, Float, Currency, Boolean, Date, Time, DateTime, AutoInc, Memo, Blob,
};

struct DbiColumn {
    AnsiString name;
    DbiFieldType type = DbiFieldType::Unknown;
    int size = 0; // declared length of character columns, else 0
};

struct DbiValue {
    enum class Kind : unsigned char { Null, Integer, Float, Text, Blob };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    AnsiString text; // Windows-1252 text, or the bytes of a blob
    // The engine's own text (UTF-8) when `text` could not hold it: a character outside the
    // code page became '?'. Empty when `text` is the value exactly.
    std::string changedText;

    bool IsNull() const { return kind == Kind::Null; }
    bool TextChanged() const { return !changedText.empty(); }
};

using DbiRow = std::vector<DbiValue>;

struct DbiResult {
    std::vector<DbiColumn> columns; // empty for a statement that returns no rows
    std::vector<DbiRow> rows;
    int rowsAffected = 0;

    bool ReturnsRows() const { return !columns.empty(); }
};

// Type and size of a column from the type name of its definition ("CHAR(20)", "MONEY",
// "TEXT (255)"); an empty name is Unknown.
// The greatest declared length of a character column.
constexpr int kMaxColumnLength = 65535;
// A declared column length: decimal digits only (blanks around them allowed), 1 to
// kMaxColumnLength. False, with length untouched, for anything else.
bool ParseColumnLength(std::string_view digits, int& length);
DbiColumn DescribeDeclaredType(const AnsiString& name, const AnsiString& declaredType);
