#include "platform/dbengine/TranslationCache.h"

#include "platform/dbengine/SqlLexer.h"
#include "platform/rtl/CodePage.h"

#include <algorithm>

std::optional<ParameterizedSql> TranslationCache::FollowPlan(const Plan& plan, std::string_view ansi,
                                                             const std::vector<SqlToken>& literals)
{
    ParameterizedSql out{plan.sql, {}};
    out.values.reserve(literals.size());
    for (std::size_t k = 0; k < literals.size(); ++k) {
        const std::string_view text = literals[k].TextIn(ansi);
        if (!plan.literals[k].lifted) {
            if (text != plan.literals[k].kept)
                return std::nullopt;
            continue;
        }
        // Read from the text as it came: quotes and digits are the same bytes in both code
        // pages, so only a value with other characters needs converting.
        std::optional<SqlLiteral> value = LiteralValue(literals[k].kind, text);
        if (!value)
            return std::nullopt;
        if (std::any_of(value->text.begin(), value->text.end(), [](char c) { return c & 0x80; })) {
            std::string utf8;
            AppendAnsiAsUtf8(utf8, value->text);
            value->text = std::move(utf8);
        }
        out.values.push_back(std::move(*value));
    }
    return out;
}

ParameterizedSql TranslationCache::Translate(const AnsiString& sql, SqlDialect dialect,
                                             std::vector<std::string>& several)
{
    const std::string_view ansi(sql.c_str(), static_cast<std::size_t>(sql.Length()));
    // The buffers are the cache's own, so a statement of a known skeleton allocates only
    // what it gives back.
    SqlSkeleton(ansi, skeleton_, literals_);
    skeleton_ += static_cast<char>(dialect);
    if (auto found = plans_.find(skeleton_); found != plans_.end())
        if (std::optional<ParameterizedSql> planned = FollowPlan(found->second, ansi, literals_))
            return std::move(*planned);

    std::vector<std::size_t> liftedTokens;
    std::vector<SqlToken> tokens;
    bool kept = false;
    ParameterizedSql translated = TranslateShape(sql, dialect, several, liftedTokens, tokens, kept);
    if (kept)
        KeepPlan(skeleton_, ansi, literals_, tokens, liftedTokens, translated.sql);
    return translated;
}

// The statement through its shape: the text with each lifted literal as '?', and where
// those stand, so a '?' written in the text never passes for a lifted one. `kept` tells
// whether the shape holds for every statement of it.
ParameterizedSql TranslationCache::TranslateShape(const AnsiString& sql, SqlDialect dialect,
                                                  std::vector<std::string>& several,
                                                  std::vector<std::size_t>& liftedTokens,
                                                  std::vector<SqlToken>& tokens, bool& kept)
{
    const std::string utf8 = AnsiToUtf8(sql);
    tokens = LexSql(utf8);
    std::vector<std::size_t> marks;
    ParameterizedSql shape = ParameterizeLiterals(utf8, tokens, &marks, &liftedTokens);
    std::string key = std::move(shape.sql);
    key += '\0';
    key += static_cast<char>(dialect);
    for (std::size_t at : marks)
        key.append(reinterpret_cast<const char*>(&at), sizeof at);
    if (auto found = shapes_.find(key); found != shapes_.end()) {
        kept = true;
        return {found->second, std::move(shape.values)};
    }

    const std::vector<std::string> statements = TranslateStatement(sql, dialect);
    if (statements.size() != 1) {
        several = statements;
        return {};
    }
    ParameterizedSql translated = ParameterizeLiterals(statements.front());
    // The translation rewrites names and types, never a value; a shape is kept only when
    // the values lifted from the translation are those lifted from the text itself, so
    // every later statement of that shape gets the translation it would get on its own.
    if (translated.values == shape.values) {
        if (shapes_.size() >= capacity_)
            shapes_.clear();
        shapes_.emplace(std::move(key), translated.sql);
        kept = true;
    }
    return translated;
}

// A text of the skeleton lexes as this one did, its literals aside: a string lifted here is
// lifted there, a number too when it reads as one, and a literal that stayed stays when
// its text is the same. So the plan gives what the shape would.
void TranslationCache::KeepPlan(const std::string& skeleton, std::string_view ansi,
                                const std::vector<SqlToken>& literals, const std::vector<SqlToken>& tokens,
                                const std::vector<std::size_t>& liftedTokens, const std::string& sql)
{
    Plan plan{sql, std::vector<Literal>(literals.size())};
    std::size_t k = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != SqlTokenKind::String && tokens[i].kind != SqlTokenKind::Number)
            continue;
        if (k == literals.size() || tokens[i].kind != literals[k].kind)
            return;
        plan.literals[k].lifted = std::binary_search(liftedTokens.begin(), liftedTokens.end(), i);
        if (!plan.literals[k].lifted)
            plan.literals[k].kept = std::string(literals[k].TextIn(ansi));
        ++k;
    }
    if (k != literals.size())
        return;
    if (plans_.size() >= capacity_)
        plans_.clear();
    plans_.insert_or_assign(skeleton, std::move(plan));
}
