// Genuine Access files through TDatabase and TQuery with the "MSACCESS" driver: the
// Northwind sample (Jet 3) and a table of dates (Jet 4), read from the shared fixtures.
#include "tests/platform/classlib/db/DbTestSupport.h"

#include "platform/rtl/DateTime.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kJetFolder = std::filesystem::path(VENDARO_SOURCE_DIR) / ".." / "shared" / "jet";

std::vector<char> Bytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, const std::vector<char>& bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class JetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::is_regular_file(kJetFolder / "nwind.mdb") ||
            !std::filesystem::is_regular_file(kJetFolder / "DateTestDatabase.mdb"))
            GTEST_SKIP() << "the genuine Access fixtures are missing: no " << kJetFolder.string();
    }

    // A database set up as the import program sets its source: read-only flag, no login,
    // "OPEN MODE=READ/WRITE".
    void Use(const std::filesystem::path& file)
    {
        db.SetDatabaseName("PVenDar4");
        db.SetDriverName("MSACCESS");
        db.SetLoginPrompt(false);
        db.SetReadOnly(true);
        db.Params()->Clear();
        db.Params()->Add("DATABASE NAME=" + file.string());
        db.Params()->Add("OPEN MODE=READ/WRITE");
        query.SetDatabaseName("PVenDar4");
    }

    AnsiString Value(const AnsiString& sql, const AnsiString& field)
    {
        OpenQuery(query, sql);
        EXPECT_FALSE(query.IsEmpty()) << sql.str();
        const AnsiString value = query.FieldByName(field)->AsString();
        query.Close();
        return value;
    }

    TempFolder folder;
    TDatabase db{nullptr};
    TQuery query{nullptr};
};

TEST_F(JetTest, NorthwindTablesCountTheirRows)
{
    Use(kJetFolder / "nwind.mdb");
    const struct {
        const char* sql;
        const char* count;
    } cases[] = {
        {"select count(*) as n from Customers", "91"},
        {"select count(*) as n from Orders", "830"},
        {"select count(*) as n from [Order Details]", "2155"},
        {"select count(*) as n from \"Order Details\" where Quantity >= 100", "23"},
        {"select count(*) as n from Products", "77"},
        {"select count(*) as n from Ums\xE4tze", "830"},
        // A join of two tables, both loaded by the one statement.
        {"select count(*) as n from Orders o join Customers c on o.CustomerID = c.CustomerID "
         "where c.Country = 'Germany'",
         "122"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Value(c.sql, "n"), c.count) << c.sql;
}

TEST_F(JetTest, NorthwindValuesKeepTheirTypes)
{
    Use(kJetFolder / "nwind.mdb");
    // Text with accents comes back in Windows-1252.
    OpenQuery(query, "select * from Customers where CustomerID = 'BERGS'");
    EXPECT_EQ(query.FieldByName("CompanyName")->AsString(), "Berglunds snabbk\xF6p");
    EXPECT_EQ(query.FieldByName("City")->AsString(), "Lule\xE5");
    EXPECT_EQ(query.FieldByName("CompanyName")->DataType(), ftString);
    EXPECT_EQ(query.FieldByName("CompanyName")->Size(), 40);
    EXPECT_TRUE(query.FieldByName("Region")->IsNull());
    EXPECT_EQ(query.RecordCount(), 1);

    // A where on accented text.
    EXPECT_EQ(Value("select CustomerID from Customers where City = 'M\xFCnchen'", "CustomerID"), "FRANK");

    // Currency, date and integer columns.
    OpenQuery(query, "select * from Orders where OrderID = 10330");
    EXPECT_EQ(query.FieldByName("Freight")->DataType(), ftCurrency);
    EXPECT_DOUBLE_EQ(query.FieldByName("Freight")->AsFloat(), 12.75);
    EXPECT_EQ(query.FieldByName("OrderDate")->DataType(), ftDateTime);
    EXPECT_EQ(query.FieldByName("OrderDate")->AsFloat(), EncodeDate(1994, 11, 16));
    EXPECT_EQ(query.FieldByName("EmployeeID")->DataType(), ftInteger);
    EXPECT_EQ(query.FieldByName("EmployeeID")->AsInteger(), 3);
    EXPECT_EQ(query.FieldByName("ShipAddress")->AsString(), "Carrera 52 con Ave. Bol\xEDvar #65-98 Llano Largo");

    // A single keeps its decimal value; a small integer and a currency of the same row.
    OpenQuery(query, "select * from [Order Details] where OrderID = 10250 and ProductID = 51");
    EXPECT_EQ(query.FieldByName("Discount")->DataType(), ftFloat);
    EXPECT_EQ(query.FieldByName("Discount")->AsFloat(), 0.15);
    EXPECT_EQ(query.FieldByName("Quantity")->DataType(), ftSmallint);
    EXPECT_EQ(query.FieldByName("Quantity")->AsInteger(), 35);
    EXPECT_DOUBLE_EQ(query.FieldByName("UnitPrice")->AsFloat(), 42.4);

    // Yes/No columns are the engine's booleans.
    OpenQuery(query, "select ProductID, Discontinued from Products where ProductID in (1, 5) order by ProductID");
    EXPECT_EQ(query.FieldByName("Discontinued")->DataType(), ftBoolean);
    EXPECT_EQ(query.FieldByName("Discontinued")->AsString(), "False");
    query.Next();
    EXPECT_EQ(query.FieldByName("Discontinued")->AsString(), "True");

    // A memo as text, a picture as a blob.
    OpenQuery(query, "select * from Categories where CategoryID = 1");
    EXPECT_EQ(query.FieldByName("Description")->DataType(), ftMemo);
    EXPECT_EQ(query.FieldByName("Description")->AsString(), "Soft drinks, coffees, teas, beers, and ales");
    EXPECT_EQ(query.FieldByName("Picture")->DataType(), ftBlob);
    EXPECT_GT(query.FieldByName("Picture")->AsString().Length(), 1000);
    query.Close();
}

TEST_F(JetTest, OrderAndWhereWorkOnText)
{
    Use(kJetFolder / "nwind.mdb");
    OpenQuery(query, "select CustomerID from Customers where Country = 'Mexico' order by CustomerID desc");
    std::vector<std::string> ids;
    for (query.First(); !query.Eof(); query.Next())
        ids.push_back(query.FieldByName("CustomerID")->AsString().str());
    EXPECT_EQ(ids, (std::vector<std::string>{"TORTU", "PERIC", "CENTC", "ANTON", "ANATR"}));
    // A name that is no table of the file is the engine's error.
    EXPECT_NE(Pos("no such table", DatabaseErrorOf([&] { OpenQuery(query, "select * from tblAnagrafiche"); })), 0);
}

TEST_F(JetTest, Jet4DatesAreTheExactDays)
{
    Use(kJetFolder / "DateTestDatabase.mdb");
    OpenQuery(query, "select * from DateTest order by IDCol");
    const struct {
        int id;
        TDateTime dateTime, date, time;
        const char* text;
    } rows[] = {
        {1, EncodeDate(2021, 12, 2), EncodeDate(2021, 12, 2), EncodeDate(2021, 12, 2), "Hello"},
        {2, EncodeDate(9999, 1, 1), EncodeDate(9999, 1, 1), EncodeDate(9999, 1, 1), "Year 9999"},
        {3, EncodeDate(1898, 1, 1), EncodeDate(1899, 1, 1), EncodeDate(1900, 1, 1), "Pre-1900 years"},
        {4, EncodeDate(632, 1, 1), EncodeDate(633, 1, 1), EncodeDate(634, 1, 1), "Pre-1000 years"},
    };
    for (const auto& r : rows) {
        ASSERT_FALSE(query.Eof());
        EXPECT_EQ(query.FieldByName("IDCol")->AsInteger(), r.id);
        EXPECT_EQ(query.FieldByName("DateTimeCol")->DataType(), ftDateTime);
        EXPECT_EQ(query.FieldByName("DateTimeCol")->AsFloat(), r.dateTime) << r.id;
        EXPECT_EQ(query.FieldByName("DateCol")->AsFloat(), r.date) << r.id;
        EXPECT_EQ(query.FieldByName("TimeCol")->AsFloat(), r.time) << r.id;
        EXPECT_EQ(query.FieldByName("LongTextCol")->AsString(), r.text);
        query.Next();
    }
    // Jet 4 text (UCS-2 in the file) with a line break inside.
    EXPECT_EQ(Value("select LongTextCol from DateTest where IDCol = 6", "LongTextCol"), "New line\r\nin field");
    EXPECT_EQ(Value("select ShortTextCol from DateTest where IDCol = 2", "ShortTextCol"), "Year 1999");
}

// Memo text that looks like a number comes out of the copy of a genuine table as written,
// as a memo. None of the fixtures' memos looks like a number, so the first row's memo of
// the Jet 4 table (stored in the row: "Hello", compressed UCS-2 behind its FF FE mark) is
// given five digits of the same length; its text column beside it keeps "Hello".
TEST_F(JetTest, NumberLikeMemoTextKeepsItsDigits)
{
    std::vector<char> bytes = Bytes(kJetFolder / "DateTestDatabase.mdb");
    constexpr std::size_t kMemoText = 0x14FEB;
    ASSERT_EQ(std::string(&bytes[kMemoText - 2], 7), "\xFF\xFEHello");
    ASSERT_EQ(std::string(&bytes[kMemoText + 5], 7), "\xFF\xFEHello") << "the text column's value follows";
    std::copy_n("00042", 5, &bytes[kMemoText]);
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    WriteBytes(file, bytes);
    Use(file);
    OpenQuery(query, "select LongTextCol, ShortTextCol, typeof(LongTextCol) as kind from DateTest where IDCol = 1");
    EXPECT_EQ(query.FieldByName("LongTextCol")->DataType(), ftMemo);
    EXPECT_EQ(query.FieldByName("LongTextCol")->AsString(), "00042");
    EXPECT_EQ(query.FieldByName("kind")->AsString(), "text");
    EXPECT_EQ(query.FieldByName("ShortTextCol")->AsString(), "Hello");
    query.Close();
    // What the copy declares: the memo as text, so no memo value can turn into a number.
    EXPECT_EQ(Value("select type from pragma_table_info('DateTest') where name = 'LongTextCol'", "type"), "MEMO TEXT");
}

TEST_F(JetTest, EveryWriteIsRefusedAndTheFileStaysAsItWas)
{
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    std::filesystem::copy_file(kJetFolder / "nwind.mdb", file);
    const std::vector<char> before = Bytes(file);
    const auto modified = std::filesystem::last_write_time(file);
    Use(file);
    const char* writes[] = {
        "insert into Customers (CustomerID, CompanyName) values('NEWCO', 'New')",
        "update Customers set City = 'Roma' where CustomerID = 'BERGS'",
        "delete from [Order Details]",
        "alter table Customers add column Note TEXT(20)",
        "create table tblNew (id INTEGER)",
        "drop table Shippers",
        "create index ixCity on Customers (City)",
        "with c as (select 1) insert into Shippers (ShipperID) select * from c",
    };
    for (const char* sql : writes)
        EXPECT_NE(Pos("database opened read-only", DatabaseErrorOf([&] { Exec(query, sql); })), 0) << sql;
    // Nothing was changed even in the copy the statements run on.
    EXPECT_EQ(Value("select count(*) as n from Shippers", "n"), "3");
    EXPECT_EQ(Value("select City from Customers where CustomerID = 'BERGS'", "City"), "Lule\xE5");
    db.Close();
    EXPECT_TRUE(Bytes(file) == before);
    EXPECT_EQ(std::filesystem::last_write_time(file), modified);
}

TEST_F(JetTest, TheFileIsToldByContentNotByName)
{
    // A Jet file under another name opens as one.
    const std::filesystem::path renamed = folder.Path() / "northwind.dat";
    std::filesystem::copy_file(kJetFolder / "nwind.mdb", renamed);
    Use(renamed);
    EXPECT_EQ(Value("select count(*) as n from Shippers", "n"), "3");
    db.Close();
    // An empty file and a file of text are no database: the engine's error at Open.
    WriteBytes(folder.Path() / "empty.mdb", {});
    std::ofstream(folder.Path() / "text.mdb") << "Standard text, not a Jet DB: nothing a database would hold.";
    for (const char* name : {"empty.mdb", "text.mdb"}) {
        Use(folder.Path() / name);
        EXPECT_NE(Pos("not a database", DatabaseErrorOf([&] { db.Open(); })), 0) << name;
        EXPECT_FALSE(db.Connected());
    }
}

// Every table of the file read in full; the engine's error or nothing, never a crash.
AnsiString ReadAllTables(TDatabase& db, TQuery& query)
{
    return DatabaseErrorOf([&] {
        db.Open();
        for (const char* table : {"Customers", "Orders", "[Order Details]", "Products", "Shippers", "Categories",
                                  "Employees", "Suppliers", "Ums\xE4tze"}) {
            OpenQuery(query, AnsiString("select * from ") + table);
            query.Close();
        }
    });
}

TEST_F(JetTest, TruncatedFilesGiveTheEnginesError)
{
    const std::vector<char> whole = Bytes(kJetFolder / "nwind.mdb");
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    // Cut inside a page, at a page boundary, inside the catalog, and within the header.
    for (std::size_t size : {whole.size() - 1000, whole.size() / 2 / 2048 * 2048, std::size_t{2 * 2048}, std::size_t{100}}) {
        WriteBytes(file, std::vector<char>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
        Use(file);
        const AnsiString message = ReadAllTables(db, query);
        EXPECT_NE(Pos("damaged", message), 0) << size << ": " << message.str();
        db.Close();
    }
}

// A genuine file cut short at a page boundary is damaged: the opening fails on it, so the
// connection test fails, and libmdb never reads past the end (nothing on the terminal).
TEST_F(JetTest, FilesCutShortFailAtTheOpening)
{
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    for (const auto& [name, pageSize] : {std::pair{"nwind.mdb", 2048}, std::pair{"DateTestDatabase.mdb", 4096}}) {
        const std::vector<char> whole = Bytes(kJetFolder / name);
        const std::size_t pages = whole.size() / pageSize;
        for (std::size_t kept : {pages / 2, pages * 3 / 4, pages / 4}) {
            WriteBytes(file, std::vector<char>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(kept * pageSize)));
            Use(file);
            testing::internal::CaptureStderr();
            const AnsiString message = DatabaseErrorOf([&] { db.Open(); });
            const std::string terminal = testing::internal::GetCapturedStderr();
            EXPECT_NE(Pos("the file is cut short", message), 0) << name << ", " << kept << " pages: " << message.str();
            EXPECT_FALSE(db.Connected()) << name << ", " << kept << " pages";
            EXPECT_EQ(terminal, "") << name << ", " << kept << " pages";
            db.Close();
        }
    }
}

// Page noise from a fixed seed, so every run damages the same bytes.
void Noise(std::vector<char>& bytes, std::size_t from, std::size_t to, unsigned seed)
{
    for (std::size_t i = from; i < to; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(seed >> 16);
    }
}

// The Jet 3 data page that lists the most rows: one of the order tables' pages.
std::size_t BusiestDataPage(const std::vector<char>& bytes)
{
    std::size_t best = 0, bestRows = 0;
    for (std::size_t p = 1; p < bytes.size() / 2048; ++p) {
        const auto* page = reinterpret_cast<const unsigned char*>(&bytes[p * 2048]);
        const std::size_t rows = page[8] | (page[9] << 8);
        if (page[0] == 0x01 && rows > bestRows)
            best = p, bestRows = rows;
    }
    return best;
}

TEST_F(JetTest, ADamagedPageGivesTheEnginesError)
{
    const std::vector<char> whole = Bytes(kJetFolder / "nwind.mdb");
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    const std::size_t page = BusiestDataPage(whole);
    ASSERT_GT(page, 2u);
    const std::size_t at = page * 2048;
    const struct {
        const char* what;
        std::size_t from, to;
        bool mustFail;
    } cases[] = {
        {"the whole page", at, at + 2048, true},
        {"its row count", at + 8, at + 10, true},
        {"its row table", at + 10, at + 40, true},
        {"the rows themselves", at + 1024, at + 2048, false},
    };
    for (const auto& c : cases) {
        std::vector<char> damaged = whole;
        Noise(damaged, c.from, c.to, 7);
        if (c.from == at + 8) // more rows than the page can hold
            damaged[at + 8] = damaged[at + 9] = 0x7F;
        WriteBytes(file, damaged);
        Use(file);
        const AnsiString message = ReadAllTables(db, query);
        if (c.mustFail || message != "(no error)") {
            EXPECT_NE(Pos("damaged", message), 0) << c.what << ": " << message.str();
        }
        db.Close();
    }
}

// What libmdb reports while it reads goes into the engine's error, not onto the terminal:
// here a data page that names another table as its owner, which libmdb skips with a warning.
TEST_F(JetTest, TheAccessLibrarysMessagesGoIntoTheEnginesError)
{
    std::vector<char> damaged = Bytes(kJetFolder / "nwind.mdb");
    const std::size_t page = BusiestDataPage(damaged);
    ASSERT_GT(page, 2u);
    damaged[page * 2048 + 4] = static_cast<char>(damaged[page * 2048 + 4] + 1);
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    WriteBytes(file, damaged);
    Use(file);
    testing::internal::CaptureStderr();
    const AnsiString message = ReadAllTables(db, query);
    const std::string terminal = testing::internal::GetCapturedStderr();
    EXPECT_NE(Pos("damaged", message), 0) << message.str();
    EXPECT_NE(Pos("(the Access library reported: warning: page " + IntToStr(static_cast<int>(page)) + " from map doesn't match",
                  message),
              0)
        << message.str();
    EXPECT_EQ(terminal, "");
}

TEST_F(JetTest, ACatalogPropertyChunkOfLengthZeroGivesTheEnginesError)
{
    // Every property block's first chunk claims no length: walked on trust it never ends.
    std::vector<char> damaged = Bytes(kJetFolder / "nwind.mdb");
    const std::string signature("KKD\0", 4);
    std::size_t blocks = 0;
    for (auto at = std::search(damaged.begin(), damaged.end(), signature.begin(), signature.end()); at != damaged.end();
         at = std::search(at + 4, damaged.end(), signature.begin(), signature.end()), ++blocks)
        std::fill(at + 4, at + 8, '\0');
    ASSERT_GT(blocks, 0u);
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    WriteBytes(file, damaged);
    Use(file);
    const AnsiString message = ReadAllTables(db, query);
    EXPECT_NE(Pos("damaged (the properties of a catalog entry cannot be read)", message), 0) << message.str();
}

TEST_F(JetTest, ACatalogWhoseUsageMapIsEmptyGivesTheEnginesError)
{
    // The Jet 4 catalog's usage map pointer moved to a row that holds nothing.
    std::vector<char> damaged = Bytes(kJetFolder / "DateTestDatabase.mdb");
    damaged[2 * 4096 + 55] = 0x7F;
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    WriteBytes(file, damaged);
    Use(file);
    const AnsiString message = ReadAllTables(db, query);
    EXPECT_NE(Pos("damaged (the catalog cannot be read)", message), 0) << message.str();
}

TEST_F(JetTest, NoiseAnywhereNeverCrashes)
{
    const std::vector<char> whole = Bytes(kJetFolder / "nwind.mdb");
    const std::filesystem::path file = folder.Path() / "dbVendaroBase4.mdb";
    const std::size_t pages = whole.size() / 2048;
    for (std::size_t k = 1; k <= 10; ++k) {
        std::vector<char> damaged = whole;
        const std::size_t page = k * (pages - 1) / 10;
        Noise(damaged, page * 2048, page * 2048 + 2048, static_cast<unsigned>(k));
        WriteBytes(file, damaged);
        Use(file);
        const AnsiString message = ReadAllTables(db, query);
        if (message != "(no error)") {
            EXPECT_TRUE(Pos("damaged", message) != 0 || Pos("no such table", message) != 0)
                << page << ": " << message.str();
        }
        db.Close();
    }
}

} // namespace
