// The values a row statement carries as literals, lifted out as parameters.
//
// The programs paste every value into the statement text, so two inserts of a loop differ only
// in their literals. With the literals bound as parameters the statements share one text, and
// the engine compiles it once instead of once per row. Only literals that stand as values are
// lifted: after a comparison or assignment operator, and in the list of a VALUES clause;
// numbers anywhere else (ORDER BY 1, LIMIT) keep their meaning as text.
#pragma once

#include "platform/dbengine/SqlLexer.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct SqlLiteral {
    enum class Kind : unsigned char { Text, Integer, Real };
    Kind kind;
    std::string text;       // Text: the value, quotes removed and '' undone
    long long integer = 0;  // Integer
    double real = 0;        // Real

    bool operator==(const SqlLiteral&) const = default;
};

struct ParameterizedSql {
    std::string sql;                 // the text with '?' for each lifted literal
    std::vector<SqlLiteral> values;  // in order of the '?'
};

// The statement with its value literals lifted; DDL and other statements come back unchanged.
ParameterizedSql ParameterizeLiterals(const std::string& sql);
// The same for text already split into its tokens; `marks` (when given) gets the offset in
// the result of each '?' that stands for a lifted literal, `lifted` the index of its token.
ParameterizedSql ParameterizeLiterals(const std::string& sql, const std::vector<SqlToken>& tokens,
                                      std::vector<std::size_t>* marks = nullptr,
                                      std::vector<std::size_t>* lifted = nullptr);
// The value a string or number token's text stands for, as it is lifted; none for a number
// the engine reads otherwise (too large for an integer, or not one number).
std::optional<SqlLiteral> LiteralValue(SqlTokenKind kind, std::string_view text);
