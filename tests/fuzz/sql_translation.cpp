// The translation of the drivers' SQL: either an engine error or statements; the same
// text always translates the same way, and every declared length it checks is in range.
// The translation cache, kept across inputs, gives each text what it would get alone.
#include "FuzzTarget.h"

#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/SqlDialect.h"
#include "platform/dbengine/TranslationCache.h"

namespace {

// The cache's answer against the uncached one: the same statements, or the same refusal.
void CheckCache(TranslationCache& cache, const AnsiString& text, SqlDialect dialect)
{
    std::vector<std::string> want;
    bool refused = false;
    try {
        want = TranslateStatement(text, dialect);
    } catch (const EDbiError&) {
        refused = true;
    }
    std::vector<std::string> several;
    ParameterizedSql got;
    try {
        got = cache.Translate(text, dialect, several);
    } catch (const EDbiError&) {
        FUZZ_CHECK(refused);
        return;
    }
    FUZZ_CHECK(!refused);
    if (want.size() != 1) {
        FUZZ_CHECK(several == want);
        return;
    }
    const ParameterizedSql alone = ParameterizeLiterals(want.front());
    FUZZ_CHECK(several.empty() && got.sql == alone.sql && got.values == alone.values);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AnsiString text(std::string(reinterpret_cast<const char*>(data), size));
    for (SqlDialect dialect : {SqlDialect::Paradox, SqlDialect::Access}) {
        try {
            const std::vector<std::string> first = TranslateStatement(text, dialect);
            FUZZ_CHECK(!first.empty());
            FUZZ_CHECK(TranslateStatement(text, dialect) == first);
        } catch (const EDbiError&) {
        }
        static TranslationCache cache;
        CheckCache(cache, text, dialect);
    }
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    return {
        "CREATE TABLE 'clienti.db' (id AUTOINC, codice CHAR(20) UNIQUE, nome VARCHAR(40), fido MONEY)",
        "ALTER TABLE t ADD COLUMN a NUMERIC(10,2), DROP b, add c CHAR(5) DEFAULT 'x, y'",
        "select [a b], \"c\"\"d\" from 'tbl.db' where x = 'it''s' -- note\n",
        "insert into studio (citt\xE0) values('perch\xE9')",
        "delete from a; delete from b",
        // Regressions: declared lengths out of range.
        "CREATE TABLE t (a CHAR(4294967297))",
        "CREATE TABLE t (a VARCHAR(1e20))",
        "CREATE TABLE t (a CHAR(-5))",
        // Text types the engine would take for numbers; a table named through a schema.
        "CREATE TABLE t (a ALPHA(2), m MEMO, l LONGTEXT)",
        "ALTER TABLE report.[DDT-Intestazione] ADD COLUMN Ritenuta TEXT (255), ADD n memo",
        // Statements of one skeleton whose literals lift otherwise.
        "select a from t where a=5 and b='x' order by 1",
        "select a from t where a=99999999999999999999999 and b='y' order by 2",
    };
}
