#include "platform/dbengine/LiteralParameters.h"

#include "platform/dbengine/SqlLexer.h"

#include <charconv>
#include <optional>

namespace {

bool IsRowStatement(std::string_view sql, const std::vector<SqlToken>& tokens)
{
    if (tokens.empty() || tokens.front().kind != SqlTokenKind::Word) return false;
    for (std::string_view keyword : {"select", "insert", "update", "delete"})
        if (IsKeyword(sql, tokens.front(), keyword)) return true;
    return false;
}

bool IsValueOperator(std::string_view symbol)
{
    for (std::string_view op : {"=", "<", ">", "<=", ">=", "<>", "!=", "=="})
        if (symbol == op) return true;
    return false;
}

std::optional<SqlLiteral> ReadNumber(std::string_view text)
{
    SqlLiteral literal{SqlLiteral::Kind::Integer, {}};
    const char* end = text.data() + text.size();
    if (text.find_first_of(".eE") == std::string_view::npos) {
        const auto [at, ec] = std::from_chars(text.data(), end, literal.integer);
        if (ec == std::errc() && at == end) return literal;
        return std::nullopt;  // too large for an integer: left as the engine reads it
    }
    literal.kind = SqlLiteral::Kind::Real;
    const auto [at, ec] = std::from_chars(text.data(), end, literal.real);
    if (ec == std::errc() && at == end) return literal;
    return std::nullopt;
}

SqlLiteral ReadText(std::string_view quoted)
{
    SqlLiteral literal{SqlLiteral::Kind::Text, {}};
    const std::string_view body = quoted.substr(1, quoted.size() - 2);
    literal.text.reserve(body.size());
    for (std::size_t at = 0; at < body.size();) {
        const std::size_t quote = body.find('\'', at);
        if (quote == std::string_view::npos) {
            literal.text.append(body, at);
            break;
        }
        literal.text.append(body, at, quote + 1 - at);
        at = quote + 2;  // '' stands for one quote
    }
    return literal;
}

}  // namespace

std::optional<SqlLiteral> LiteralValue(SqlTokenKind kind, std::string_view text)
{
    return kind == SqlTokenKind::String ? std::optional(ReadText(text)) : ReadNumber(text);
}

ParameterizedSql ParameterizeLiterals(const std::string& sql) { return ParameterizeLiterals(sql, LexSql(sql)); }

ParameterizedSql ParameterizeLiterals(const std::string& sql, const std::vector<SqlToken>& tokens,
                                      std::vector<std::size_t>* marks, std::vector<std::size_t>* lifted)
{
    ParameterizedSql result;
    if (!IsRowStatement(sql, tokens)) {
        result.sql = sql;
        return result;
    }
    result.sql.reserve(sql.size());
    std::size_t copied = 0;
    int valuesDepth = 0;  // parenthesis depth inside a VALUES clause, 0 outside
    bool valuesNext = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const SqlToken& token = tokens[i];
        const std::string_view text = token.TextIn(sql);
        if (token.kind == SqlTokenKind::Word) {
            valuesNext = IsKeyword(sql, token, "values");
            continue;
        }
        if (token.kind == SqlTokenKind::Symbol) {
            if (text == "(" && (valuesNext || valuesDepth > 0)) ++valuesDepth;
            else if (text == ")" && valuesDepth > 0) --valuesDepth;
            valuesNext = false;
            continue;
        }
        valuesNext = false;
        if (token.kind != SqlTokenKind::String && token.kind != SqlTokenKind::Number) continue;
        if (i == 0 || tokens[i - 1].kind != SqlTokenKind::Symbol) continue;
        const std::string_view before = tokens[i - 1].TextIn(sql);
        const bool inValueList = valuesDepth == 1 && (before == "(" || before == ",");
        if (!inValueList && !IsValueOperator(before)) continue;
        std::optional<SqlLiteral> literal = LiteralValue(token.kind, text);
        if (!literal) continue;
        if (lifted) lifted->push_back(i);
        result.sql.append(sql, copied, token.begin - copied);
        if (marks) marks->push_back(result.sql.size());
        result.sql += '?';
        copied = token.end;
        result.values.push_back(std::move(*literal));
    }
    result.sql.append(sql, copied, std::string::npos);
    return result;
}
