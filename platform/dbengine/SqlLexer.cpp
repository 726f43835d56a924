#include "platform/dbengine/SqlLexer.h"

#include "platform/dbengine/DbiError.h"

namespace {

bool IsNameStart(unsigned char c) { return c == '_' || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c >= 0x80; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || IsDigit(c) || c == '$'; }
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Offset past a quoted run starting at 'at' (the opening quote); a doubled closing quote
// stands for itself.
std::size_t SkipQuoted(std::string_view sql, std::size_t at, char close, const char* what)
{
    for (std::size_t i = at + 1; i < sql.size(); ++i) {
        if (sql[i] != close)
            continue;
        if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    throw EDbiError(AnsiString("Unterminated ") + what + " in the statement");
}

std::size_t SkipNumber(std::string_view sql, std::size_t i)
{
    while (i < sql.size() && (IsDigit(sql[i]) || sql[i] == '.'))
        ++i;
    if (i < sql.size() && (sql[i] | 0x20) == 'e') {
        std::size_t j = i + 1;
        if (j < sql.size() && (sql[j] == '+' || sql[j] == '-'))
            ++j;
        if (j < sql.size() && IsDigit(sql[j])) {
            while (j < sql.size() && IsDigit(sql[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

std::size_t SymbolLength(std::string_view sql, std::size_t i)
{
    static constexpr std::string_view pairs[] = {"<=", ">=", "<>", "!=", "==", "||", "<<", ">>"};
    for (std::string_view p : pairs)
        if (sql.substr(i, 2) == p)
            return 2;
    return 1;
}

// Offset past the blanks and comments starting at i.
std::size_t SkipSpace(std::string_view sql, std::size_t i)
{
    while (i < sql.size()) {
        if (IsBlank(static_cast<unsigned char>(sql[i]))) {
            ++i;
        } else if (sql.substr(i, 2) == "--") {
            while (i < sql.size() && sql[i] != '\n')
                ++i;
        } else if (sql.substr(i, 2) == "/*") {
            std::size_t close = sql.find("*/", i + 2);
            if (close == std::string_view::npos)
                throw EDbiError("Unterminated comment in the statement");
            i = close + 2;
        } else {
            break;
        }
    }
    return i;
}

} // namespace

std::vector<SqlToken> LexSql(std::string_view sql)
{
    // The SQL engine stops reading at a NUL: the text after it would be dropped unseen.
    if (sql.find('\0') != std::string_view::npos)
        throw EDbiError("The statement holds a NUL character");
    std::vector<SqlToken> tokens;
    tokens.reserve(sql.size() / 4 + 4);  // about one token in four bytes of statement text
    std::size_t i = SkipSpace(sql, 0);
    while (i < sql.size()) {
        const unsigned char c = static_cast<unsigned char>(sql[i]);
        SqlToken token{SqlTokenKind::Symbol, i, i + 1};
        if (IsNameStart(c)) {
            token.kind = SqlTokenKind::Word;
            while (token.end < sql.size() && IsNameChar(static_cast<unsigned char>(sql[token.end])))
                ++token.end;
        } else if (IsDigit(c) || (c == '.' && i + 1 < sql.size() && IsDigit(static_cast<unsigned char>(sql[i + 1])))) {
            token.kind = SqlTokenKind::Number;
            token.end = SkipNumber(sql, i);
        } else if (c == '\'') {
            token.kind = SqlTokenKind::String;
            token.end = SkipQuoted(sql, i, '\'', "string");
        } else if (c == '"') {
            token.kind = SqlTokenKind::QuotedName;
            token.end = SkipQuoted(sql, i, '"', "quoted name");
        } else if (c == '[') {
            token.kind = SqlTokenKind::BracketName;
            token.end = SkipQuoted(sql, i, ']', "bracketed name");
        } else if (c == ';') {
            token.kind = SqlTokenKind::Semicolon;

        } else {
            token.end = i + SymbolLength(sql, i);
        }
        tokens.push_back(token);
        i = SkipSpace(sql, token.end);
    }
    return tokens;
}

bool IsKeyword(std::string_view sql, const SqlToken& token, std::string_view keyword)
{
    if (token.kind != SqlTokenKind::Word || token.end - token.begin != keyword.size())
        return false;
    for (std::size_t k = 0; k < keyword.size(); ++k) {
        char a = sql[token.begin + k];
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - 'a' + 'A');
        char b = keyword[k];
        if (b >= 'a' && b <= 'z')
            b = static_cast<char>(b - 'a' + 'A');
        if (a != b)
            return false;
    }
    return true;
}
