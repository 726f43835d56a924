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

DbiColumn DescribeDeclaredType(const AnsiString& name, const AnsiString& declaredType)
{
    DbiColumn column{name, DbiFieldType::Unknown, 0};
    const std::string word = UpperWord(declaredType.str());
    for (const TypeName& t : kTypeNames)
        if (word == t.name)
            column.type = t.type;
    if (column.type == DbiFieldType::String) {
        const std::size_t open = declaredType.str().find('(');
        if (open != std::string::npos)
            column.size = std::atoi(declaredType.c_str() + open + 1);
    }
    return column;
}
