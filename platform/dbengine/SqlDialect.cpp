#include "platform/dbengine/SqlDialect.h"

#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/DbiResult.h"
#include "platform/dbengine/SqlLexer.h"
#include "platform/rtl/CodePage.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace {

using Replacements = std::map<std::size_t, std::string>; // token index -> new text

struct Statement {
    std::string_view sql;
    std::vector<SqlToken> tokens;

    bool Is(std::size_t index, std::string_view keyword) const
    {
        return index < tokens.size() && IsKeyword(sql, tokens[index], keyword);
    }
    bool IsSymbol(std::size_t index, char symbol) const
    {
        return index < tokens.size() && tokens[index].kind == SqlTokenKind::Symbol &&
               tokens[index].end - tokens[index].begin == 1 && sql[tokens[index].begin] == symbol;
    }
};

// Text of tokens [first, last) with the replacements applied; what lies between tokens
// (blanks, comments) is kept.
std::string Render(const Statement& st, const Replacements& repl, std::size_t first, std::size_t last)
{
    std::string out;
    for (std::size_t i = first; i < last; ++i) {
        if (i > first)
            out.append(st.sql.substr(st.tokens[i - 1].end, st.tokens[i].begin - st.tokens[i - 1].end));
        auto found = repl.find(i);
        out.append(found != repl.end() ? std::string_view(found->second) : st.tokens[i].TextIn(st.sql));
    }
    return out;
}

std::string Unquote(std::string_view quoted)
{
    const char q = quoted.front();
    std::string out;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        out += quoted[i];
        if (quoted[i] == q && quoted[i + 1] == q)
            ++i;
    }
    return out;
}

std::string QuoteName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

// A quoted file name names the table without its extension.
std::string TableNameOf(std::string_view fileName, SqlDialect dialect)
{
    std::string name(fileName);
    if (dialect == SqlDialect::Paradox && name.size() > 3) {
        std::string ext = name.substr(name.size() - 3);
        for (char& c : ext)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (ext == ".db")
            name.resize(name.size() - 3);
    }
    return QuoteName(name);
}

bool EndsFromList(const Statement& st, std::size_t i)
{
    static constexpr std::string_view enders[] = {"WHERE", "GROUP", "ORDER", "HAVING", "LIMIT", "UNION",
                                                  "EXCEPT", "INTERSECT", "ON", "USING", "SET", "WINDOW"};
    for (std::string_view k : enders)
        if (st.Is(i, k))
            return true;
    return false;
}

bool IsCreateIndex(const Statement& st)
{
    return st.Is(0, "CREATE") && (st.Is(1, "INDEX") || (st.Is(1, "UNIQUE") && st.Is(2, "INDEX")));
}

// Quoted names standing where a table is named become the engine's quoted identifiers.
void RewriteTableNames(const Statement& st, SqlDialect dialect, Replacements& repl)
{
    bool expectTable = false;
    int depth = 0;
    std::vector<int> fromLists; // depths of the FROM lists being read
    const bool createIndex = IsCreateIndex(st);
    for (std::size_t i = 0; i < st.tokens.size(); ++i) {
        const SqlToken& t = st.tokens[i];
        if (expectTable) {
            if (st.Is(i, "IF") || st.Is(i, "NOT") || st.Is(i, "EXISTS") || st.Is(i, "ONLY"))
                continue;
            expectTable = false;
            if (t.kind == SqlTokenKind::String || t.kind == SqlTokenKind::QuotedName) {
                repl[i] = TableNameOf(Unquote(t.TextIn(st.sql)), dialect);
                continue;
            }
        }
        if (st.IsSymbol(i, '(')) {
            ++depth;
        } else if (st.IsSymbol(i, ')')) {
            while (!fromLists.empty() && fromLists.back() >= depth)
                fromLists.pop_back();
            --depth;
        } else if (st.IsSymbol(i, ',')) {
            expectTable = !fromLists.empty() && fromLists.back() == depth;
        } else if (st.Is(i, "FROM")) {
            fromLists.push_back(depth);
            expectTable = true;
        } else if (st.Is(i, "JOIN") || st.Is(i, "INTO") || st.Is(i, "UPDATE") || st.Is(i, "TABLE") ||
                   (createIndex && st.Is(i, "ON"))) {
            expectTable = true;
        }
        if (EndsFromList(st, i) && !fromLists.empty() && fromLists.back() == depth)
            fromLists.pop_back();
    }
}

// The drivers' autoincrement types are the engine's integer key with autoincrement.
void RewriteAutoIncrement(const Statement& st, SqlDialect dialect, Replacements& repl)
{
    if (!(st.Is(0, "CREATE") && st.Is(1, "TABLE")))
        return;
    const std::string_view type = dialect == SqlDialect::Paradox ? "AUTOINC" : "COUNTER";
    for (std::size_t i = 2; i < st.tokens.size(); ++i)
        if (st.Is(i, type))
            repl[i] = "INTEGER PRIMARY KEY AUTOINCREMENT";
}

std::string PlainName(const Statement& st, const SqlToken& token)
{
    const std::string_view text = token.TextIn(st.sql);
    if (token.kind == SqlTokenKind::QuotedName)
        return Unquote(text);
    if (token.kind == SqlTokenKind::BracketName)
        return std::string(text.substr(1, text.size() - 2));
    return std::string(text);
}

// The engine's type affinity of a declared type is text when the name holds CHAR, CLOB or
// TEXT and no INT.
bool EngineKeepsText(std::string_view declaredType)
{
    std::string upper(declaredType);
    for (char& c : upper)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const auto holds = [&](std::string_view part) { return upper.find(part) != std::string::npos; };
    return !holds("INT") && (holds("CHAR") || holds("CLOB") || holds("TEXT"));
}

// The type word of a column definition "name TYPE..." in [first, last), declared so that
// the engine keeps text as written.
void KeepTextAsWritten(const Statement& st, Replacements& repl, std::size_t first, std::size_t last)
{
    const std::size_t type = first + 1;
    if (type >= last || st.tokens[type].kind != SqlTokenKind::Word)
        return;
    const std::string_view word = st.tokens[type].TextIn(st.sql);
    const std::string declared = EngineColumnType(word);
    if (declared != word)
        repl[type] = declared;
}

// The drivers refuse a text longer than its column's declared length, so a column
// definition "name CHAR(n)" (VARCHAR, TEXT, ALPHA alike) in [first, last) gets a check.
void AddLengthCheck(const Statement& st, Replacements& repl, std::size_t first, std::size_t last)
{
    const std::size_t type = first + 1;
    if (type + 3 >= last || !(st.Is(type, "CHAR") || st.Is(type, "VARCHAR") || st.Is(type, "TEXT") ||
                               st.Is(type, "ALPHA")))
        return;
    if (!st.IsSymbol(type + 1, '('))
        return;
    // A declared length is a plain decimal number in range, or the statement is refused.
    int declared = 0;
    if (st.tokens[type + 2].kind != SqlTokenKind::Number || !st.IsSymbol(type + 3, ')') ||
        !ParseColumnLength(st.tokens[type + 2].TextIn(st.sql), declared)) {
        std::size_t end = type + 2;
        while (end < last && !st.IsSymbol(end, ')'))
            ++end;
        throw EDbiError("Invalid column length: " +
                        AnsiString(std::string(st.sql.substr(st.tokens[type].begin,
                                                             st.tokens[std::min(end, last - 1)].end -
                                                                 st.tokens[type].begin))));
    }
    const SqlToken& name = st.tokens[first];
    if (name.kind != SqlTokenKind::Word && name.kind != SqlTokenKind::QuotedName &&
        name.kind != SqlTokenKind::BracketName)
        return;
    const std::string length = std::to_string(declared);
    repl[type + 3] = ") CONSTRAINT " + QuoteName("value too long for column " + PlainName(st, name) + " (" + length + ")") +
                     " CHECK (length(" + std::string(name.TextIn(st.sql)) + ") <= " + length + ")";
}

// A column definition in [first, last), as the engine declares it.
void DefineColumn(const Statement& st, Replacements& repl, std::size_t first, std::size_t last)
{
    KeepTextAsWritten(st, repl, first, last);
    AddLengthCheck(st, repl, first, last);
}

// The column definitions of a CREATE TABLE, as the engine declares them.
void DefineCreateTableColumns(const Statement& st, Replacements& repl)
{
    if (!(st.Is(0, "CREATE") && st.Is(1, "TABLE")))
        return;
    std::size_t i = 2;
    if (st.Is(i, "IF") && st.Is(i + 1, "NOT") && st.Is(i + 2, "EXISTS"))
        i += 3;
    if (!st.IsSymbol(i + 1, '('))
        return;
    int depth = 0;
    std::size_t start = i + 2;
    for (std::size_t k = i + 2; k < st.tokens.size(); ++k) {
        const bool close = st.IsSymbol(k, ')') && depth == 0;
        if (close || (depth == 0 && st.IsSymbol(k, ','))) {
            if (!(st.Is(start, "CONSTRAINT") || st.Is(start, "PRIMARY") || st.Is(start, "UNIQUE") ||
                  st.Is(start, "CHECK") || st.Is(start, "FOREIGN")))
                DefineColumn(st, repl, start, k);
            start = k + 1;
            if (close)
                return;
        } else if (st.IsSymbol(k, '(')) {
            ++depth;
        } else if (st.IsSymbol(k, ')')) {
            --depth;
        }
    }
}

// "ALTER TABLE t ADD a x, ADD COLUMN b y, DROP c": one ALTER per clause. The table may be
// named through the schema of an attached database ("report.t").
std::vector<std::string> SplitAlterTable(const Statement& st, Replacements repl)
{
    const std::size_t clauses = st.IsSymbol(3, '.') && st.tokens.size() > 5 ? 5 : 3;
    const std::string head = "ALTER TABLE " + Render(st, repl, 2, clauses) + " ";
    std::vector<std::size_t> starts{clauses};
    int depth = 0;
    for (std::size_t i = clauses; i < st.tokens.size(); ++i) {
        if (st.IsSymbol(i, '('))
            ++depth;
        else if (st.IsSymbol(i, ')'))
            --depth;
        else if (depth == 0 && st.IsSymbol(i, ',') && (st.Is(i + 1, "ADD") || st.Is(i + 1, "DROP")))
            starts.push_back(i + 1);
    }
    std::vector<std::string> out;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::size_t first = starts[k];
        const std::size_t last = k + 1 < starts.size() ? starts[k + 1] - 1 : st.tokens.size();
        if (!(st.Is(first, "ADD") || st.Is(first, "DROP"))) {
            out.push_back(head + Render(st, repl, first, last));
            continue;
        }
        const std::size_t body = st.Is(first + 1, "COLUMN") ? first + 2 : first + 1;
        if (body >= last)
            throw EDbiError("Column definition missing in ALTER TABLE");
        if (st.Is(first, "ADD"))
            DefineColumn(st, repl, body, last);
        out.push_back(head + (st.Is(first, "ADD") ? "ADD COLUMN " : "DROP COLUMN ") + Render(st, repl, body, last));
    }
    return out;
}

// Drops trailing semicolons; refuses any text after the first statement.
void CheckSingleStatement(std::vector<SqlToken>& tokens)
{
    while (!tokens.empty() && tokens.back().kind == SqlTokenKind::Semicolon)
        tokens.pop_back();
    if (tokens.empty())
        throw EDbiError("The statement is empty");
    for (const SqlToken& t : tokens)
        if (t.kind == SqlTokenKind::Semicolon)
            throw EDbiError("Only one statement can be run at a time: text follows the first statement");
}

} // namespace

std::vector<std::string> TranslateStatement(const AnsiString& text, SqlDialect dialect)
{
    const std::string utf8 = AnsiToUtf8(text);
    Statement st{utf8, LexSql(utf8)};
    CheckSingleStatement(st.tokens);
    Replacements repl;
    RewriteTableNames(st, dialect, repl);
    RewriteAutoIncrement(st, dialect, repl);
    DefineCreateTableColumns(st, repl);
    if (st.Is(0, "ALTER") && st.Is(1, "TABLE") && st.tokens.size() > 3)
        return SplitAlterTable(st, repl);
    return {Render(st, repl, 0, st.tokens.size())};
}

std::string EngineColumnType(std::string_view driverType)
{
    std::size_t wordEnd = 0;
    while (wordEnd < driverType.size() && ((driverType[wordEnd] >= 'A' && driverType[wordEnd] <= 'Z') ||
                                           (driverType[wordEnd] >= 'a' && driverType[wordEnd] <= 'z')))
        ++wordEnd;
    const DbiFieldType kind = DescribeDeclaredType(AnsiString(), AnsiString(std::string(driverType))).type;
    if ((kind != DbiFieldType::String && kind != DbiFieldType::Memo) || EngineKeepsText(driverType))
        return std::string(driverType);
    return std::string(driverType.substr(0, wordEnd)) + " TEXT" + std::string(driverType.substr(wordEnd));
}
