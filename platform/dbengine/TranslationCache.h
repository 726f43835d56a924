// Translations of row statements kept by the statement's shape: its text with the value
// literals left out. A loop that sends the same statement with other values each time
// (an insert per row, a look-up per article) is lexed once per run of it and translated
// once per shape; the values are bound as parameters.
#pragma once

#include "platform/dbengine/LiteralParameters.h"
#include "platform/dbengine/SqlDialect.h"

#include <cstddef>
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
    std::size_t capacity_;
    std::unordered_map<std::string, std::string> shapes_; // shape -> translated text with '?'
};
