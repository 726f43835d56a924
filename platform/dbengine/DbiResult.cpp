#include "platform/dbengine/DbiResult.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct TypeName {
    std::string_view name;
    DbiFieldType type;
};

constexpr TypeName kTypeNames[] = {
    {"CHAR", DbiFieldType::String},        {"VARCHAR", DbiFieldType::String},
    {"TEXT", DbiFieldType::String},        {"ALPHA", DbiFieldType::String},
    {"SMALLINT", DbiFieldType::Smallint},  {"SHORT", DbiFieldType::Smallint},
    {"INTEGER", DbiFieldType::Integer},    {"INT", DbiFieldType::Integer},
    {"LONG", DbiFieldType::Integer},       {"FLOAT", DbiFieldType::Float},
    {"NUMERIC", DbiFieldType::Float},      {"DOUBLE", DbiFieldType::Float},
    {"REAL", DbiFieldType::Float},         {"DECIMAL", DbiFieldType::Float},
    {"MONEY", DbiFieldType::Currency},     {"CURRENCY", DbiFieldType::Currency},
    {"LOGICAL", DbiFieldType::Boolean},    {"BOOLEAN", DbiFieldType::Boolean},
    {"YESNO", DbiFieldType::Boolean},      {"BIT", DbiFieldType::Boolean},
    {"DATE", DbiFieldType::Date},          {"TIME", DbiFieldType::Time},
    {"TIMESTAMP", DbiFieldType::DateTime}, {"DATETIME", DbiFieldType::DateTime},
    {"AUTOINC", DbiFieldType::AutoInc},    {"COUNTER", DbiFieldType::AutoInc},
    {"MEMO", DbiFieldType::Memo},          {"LONGTEXT", DbiFieldType::Memo},
    {"BLOB", DbiFieldType::Blob},          {"BINARY", DbiFieldType::Blob},
};

std::string UpperWord(std::string_view text)
{
    std::string word;
    for (char c : text) {
        if (!(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z'))
            break;
        word += static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
    }
    return word;
}

} // namespace

bool ParseColumnLength(std::string_view digits, int& length)
{
    while (!digits.empty() && digits.front() == ' ')
        digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == ' ')
        digits.remove_suffix(1);
    if (digits.empty() || digits.size() > 10)
        return false;
    long long value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxColumnLength)
        return false;
    length = static_cast<int>(value);
    return true;
}

DbiColumn DescribeDeclaredType(const AnsiString& name, const AnsiString& declaredType)
{
    DbiColumn column{name, DbiFieldType::Unknown, 0};
    const std::string word = UpperWord(declaredType.str());
    for (const TypeName& t : kTypeNames)
        if (word == t.name)
            column.type = t.type;
    if (column.type == DbiFieldType::String) {
        const std::string& text = declaredType.str();
        const std::size_t open = text.find('(');
        const std::size_t close = text.find(')', open == std::string::npos ? 0 : open);
        // A length that is not a plain decimal number in range tells nothing: size 0.
        if (open != std::string::npos && close != std::string::npos)
            ParseColumnLength(std::string_view(text).substr(open + 1, close - open - 1), column.size);
    }
    return column;
}
