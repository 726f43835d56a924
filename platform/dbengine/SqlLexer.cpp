#include "platform/dbengine/SqlLexer.h"

#include "platform/dbengine/DbiError.h"

#include <array>

namespace {

// Character classes, looked up once per byte: statements are mostly names and blanks.
enum : unsigned char { kNameStart = 1, kNameChar = 2, kDigit = 4, kBlank = 8, kSpaceStart = 16 };

constexpr auto kClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        if (c == '_' || letter || c >= 0x80)  // bytes >= 0x80 are name characters
            classes[c] |= kNameStart | kNameChar;
        if (digit)
            classes[c] |= kDigit | kNameChar;
        if (c == '$')
            classes[c] |= kNameChar;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
            classes[c] |= kBlank | kSpaceStart;
        if (c == '-' || c == '/')  // a comment may start here
            classes[c] |= kSpaceStart;
    }
    return classes;
}();

bool Is(unsigned char c, unsigned char cls) { return (kClasses[c] & cls) != 0; }
bool IsNameStart(unsigned char c) { return Is(c, kNameStart); }
bool IsDigit(unsigned char c) { return Is(c, kDigit); }
bool IsNameChar(unsigned char c) { return Is(c, kNameChar); }
bool IsBlank(unsigned char c) { return Is(c, kBlank); }

// Offset past a quoted run starting at 'at' (the opening quote); a doubled closing quote
// stands for itself.
std::size_t SkipQuoted(std::string_view sql, std::size_t at, char close, const char* what)
{
    for (std::size_t i = sql.find(close, at + 1); i != std::string_view::npos; i = sql.find(close, i + 2)) {
        if (close == ']' || i + 1 == sql.size() || sql[i + 1] != close)
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

// The two-byte operators: "<=", ">=", "<>", "!=", "==", "||", "<<", ">>".
std::size_t SymbolLength(std::string_view sql, std::size_t i)
{
    if (i + 1 >= sql.size())
        return 1;
    const char a = sql[i];
    const char b = sql[i + 1];
    const bool pair = (a == '<' && (b == '=' || b == '>' || b == '<')) || (a == '>' && (b == '=' || b == '>')) ||
                      ((a == '!' || a == '=') && b == '=') || (a == '|' && b == '|');
    return pair ? 2 : 1;
}

// Offset past the blanks and comments starting at i.
std::size_t SkipSpace(std::string_view sql, std::size_t i)
{
    while (i < sql.size()) {
        if (IsBlank(static_cast<unsigned char>(sql[i]))) {
            ++i;
        } else if (sql[i] == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            while (i < sql.size() && sql[i] != '\n')
                ++i;
        } else if (sql[i] == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
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

// Calls visit(token) for each token of the text, comments and blanks skipped.
template <class Visit>
void ForEachToken(std::string_view sql, Visit visit)
{
    // The SQL engine stops reading at a NUL: the text after it would be dropped unseen.
    if (sql.find('\0') != std::string_view::npos)
        throw EDbiError("The statement holds a NUL character");
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
        visit(token);
        // Most tokens are followed at once by the next one.
        i = token.end;
        if (i < sql.size() && Is(static_cast<unsigned char>(sql[i]), kSpaceStart))
            i = SkipSpace(sql, i);
    }
}

} // namespace

std::vector<SqlToken> LexSql(std::string_view sql)
{
    std::vector<SqlToken> tokens;
    tokens.reserve(sql.size() / 4 + 4);  // about one token in four bytes of statement text
    ForEachToken(sql, [&](const SqlToken& token) { tokens.push_back(token); });
    return tokens;
}

void SqlSkeleton(std::string_view sql, std::string& skeleton, std::vector<SqlToken>& literals)
{
    skeleton.clear();
    literals.clear();
    std::size_t copied = 0;
    ForEachToken(sql, [&](const SqlToken& token) {
        if (token.kind != SqlTokenKind::String && token.kind != SqlTokenKind::Number)
            return;
        skeleton.append(sql, copied, token.begin - copied);
        skeleton += '\0';
        skeleton += token.kind == SqlTokenKind::String ? 's' : 'n';
        copied = token.end;
        literals.push_back(token);
    });
    skeleton.append(sql, copied, std::string_view::npos);
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
