#include "platform/dbengine/TranslationCache.h"

#include "platform/dbengine/SqlLexer.h"
#include "platform/rtl/CodePage.h"

ParameterizedSql TranslationCache::Translate(const AnsiString& sql, SqlDialect dialect,
                                             std::vector<std::string>& several)
{
    const std::string utf8 = AnsiToUtf8(sql);
    // The shape: the text with each lifted literal as '?', and where those stand, so a
    // '?' written in the text never passes for a lifted one.
    std::vector<std::size_t> marks;
    ParameterizedSql shape = ParameterizeLiterals(utf8, LexSql(utf8), &marks);
    std::string key = std::move(shape.sql);
    key += '\0';
    for (std::size_t at : marks)
        key.append(reinterpret_cast<const char*>(&at), sizeof at);
    if (auto found = shapes_.find(key); found != shapes_.end())
        return {found->second, std::move(shape.values)};

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
    }
    return translated;
}
