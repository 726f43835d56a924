// Splits statement text into tokens, keeping each token's place in the text so the dialect
// translation can rewrite single tokens and leave everything else byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class SqlTokenKind : unsigned char {
    Word,        // keyword or plain name (bytes >= 0x80 are name characters)
    Number,
    String,      // '...' with '' for a quote
    QuotedName,  // "..." with "" for a quote
    BracketName, // [...]
    Symbol,      // operators and punctuation, ';' excepted
    Semicolon,
};

struct SqlToken {
    SqlTokenKind kind;
    std::size_t begin; // offset of the first byte in the text
    std::size_t end;   // offset one past the last byte

    std::string_view TextIn(std::string_view sql) const { return sql.substr(begin, end - begin); }
};

// Tokens of the text, comments and blanks skipped. An unterminated literal or comment, or
// a NUL anywhere, raises EDbiError.
std::vector<SqlToken> LexSql(std::string_view sql);
// `skeleton` becomes the text with each string and number literal cut out, a NUL and the
// literal's kind left in its place ('s' or 'n'), and `literals` the literals LexSql finds,
// in order. Two texts have one skeleton exactly when they lex alike and differ at most
// inside their literals. Raises as LexSql does.
void SqlSkeleton(std::string_view sql, std::string& skeleton, std::vector<SqlToken>& literals);

// True when the word token equals the keyword, ignoring ASCII case.
bool IsKeyword(std::string_view sql, const SqlToken& token, std::string_view keyword);
