// The translation of the drivers' SQL: either an engine error or statements; the same
// text always translates the same way, and every declared length it checks is in range.
#include "FuzzTarget.h"

#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/SqlDialect.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AnsiString text(std::string(reinterpret_cast<const char*>(data), size));
    for (SqlDialect dialect : {SqlDialect::Paradox, SqlDialect::Access}) {
        try {
            const std::vector<std::string> first = TranslateStatement(text, dialect);
            FUZZ_CHECK(!first.empty());
            FUZZ_CHECK(TranslateStatement(text, dialect) == first);
        } catch (const EDbiError&) {
        }
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
    };
}
