// Translations of row statements kept by the statement's shape: its text with the value
// literals left out. A loop that sends the same statement with other values each time
// (an insert per row, a look-up per article) is translated once per shape; the values are
// bound as parameters. A statement seen before in all but its literals is not even lexed
// in full: its skeleton (the text with every literal cut out) leads to its translation and
// to which of its literals are values.
#pragma once

#include "platform/dbengine/LiteralParameters.h"
#include "platform/dbengine/SqlDialect.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class AnsiString;

class TranslationCache {
public:
    explicit TranslationCache(std::size_t capacity = 256) : capacity_(capacity) {}

    // The statement translated for the engine with its value literals lifted, when the
    // dialect makes one statement of it; otherwise `several` gets the statements (their
    // literals still in place) and the answer is empty. Raises EDbiError as the
    // translation does.
    ParameterizedSql Translate(const AnsiString& sql, SqlDialect dialect, std::vector<std::string>& several);
    std::size_t Size() const { return shapes_.size(); }

private:
    // What a skeleton's statements become: the translation, and for each literal of the
    // text whether it is lifted as a value or stays, as the text it had.
    struct Literal {
        bool lifted = false;
        std::string kept; // the literal's text, when it stays in the statement
    };
    struct Plan {
        std::string sql;
        std::vector<Literal> literals;
    };

    // The translation by the skeleton's plan; none when a literal does not fit it (a kept
    // literal of another text, a number too large to lift).
    static std::optional<ParameterizedSql> FollowPlan(const Plan& plan, std::string_view ansi,
                                                      const std::vector<SqlToken>& literals);
    ParameterizedSql TranslateShape(const AnsiString& sql, SqlDialect dialect, std::vector<std::string>& several,
                                    std::vector<std::size_t>& liftedTokens, std::vector<SqlToken>& tokens,
                                    bool& kept);
    void KeepPlan(const std::string& skeleton, std::string_view ansi, const std::vector<SqlToken>& literals,
                  const std::vector<SqlToken>& tokens, const std::vector<std::size_t>& liftedTokens,
                  const std::string& sql);

    std::size_t capacity_;
    std::unordered_map<std::string, std::string> shapes_; // shape -> translated text with '?'
    std::unordered_map<std::string, Plan> plans_;         // skeleton -> its plan
    std::string skeleton_;                                 // of the statement being translated
    std::vector<SqlToken> literals_;
};
