#include "platform/dbengine/JetDatabase.h"

#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/JetPropertyBlock.h"
#include "platform/dbengine/MdbLibrary.h"
#include "platform/dbengine/SqlDialect.h"
#include "platform/dbengine/SqlLexer.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/StrUtils.h"

#include <sqlite3.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kJetVersionOffset = 0x14;
// The format's own limit: a Jet 4 file holds at most 2 GB.
constexpr std::uintmax_t kMaxJetFileSize = 2ull * 1024 * 1024 * 1024;
constexpr unsigned kCatalogPage = 2;
constexpr char kCatalogTable[] = "MSysObjects";
constexpr char kPropertiesColumn[] = "LvProp";

// The library every source reads through: loaded before the first source is made.
const MdbLibrary& Mdb()
{
    std::string problem;
    return *MdbLoad(problem);
}

unsigned ReadU16(const unsigned char* p) { return p[0] | (p[1] << 8); }

std::uint32_t ReadU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t ReadU64(const unsigned char* p) { return ReadU32(p) | (static_cast<std::uint64_t>(ReadU32(p + 4)) << 32); }

double ReadDouble(const unsigned char* p)
{
    const std::uint64_t bits = ReadU64(p);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

float ReadSingle(const unsigned char* p)
{
    const std::uint32_t bits = ReadU32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// A single keeps the decimal value it was typed as (0.05, not 0.0500000007...): its shortest
// decimal form, read back as a double.
double SingleAsDouble(float value)
{
    char text[32];
    const auto printed = std::to_chars(text, text + sizeof text, value);
    double d = value;
    std::from_chars(text, printed.ptr, d);
    return d;
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

std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Text as the engine keeps it: only what Windows-1252 can hold, so a value reads back and
// compares as the same bytes the programs send.
std::string AsEngineText(std::string utf8)
{
    for (unsigned char c : utf8)
        if (c >= 0x80)
            return AnsiToUtf8(Utf8ToAnsi(utf8));
    return utf8;
}

struct GFreeString {
    char* text;
    ~GFreeString() { Mdb().free(text); }
};

// How a Jet column is declared in the engine's copy, so its field type reads as the
// driver's (String, Memo, Currency, DateTime ...) and its values keep their kind: text as
// written, however much it looks like a number.
std::string DeclaredType(const MdbColumn& col, bool jet3)
{
    switch (col.col_type) {
    case MDB_BOOL: return "BOOLEAN";
    case MDB_BYTE:
    case MDB_INT: return "SMALLINT";
    case MDB_LONGINT: return col.is_long_auto ? "COUNTER" : "INTEGER";
    case MDB_MONEY: return "CURRENCY";
    case MDB_FLOAT: return "REAL";
    case MDB_DOUBLE: return "DOUBLE";
    case MDB_NUMERIC: return "DECIMAL";
    case MDB_DATETIME: return "DATETIME";
    case MDB_TEXT: return "VARCHAR(" + std::to_string(jet3 ? col.col_size : col.col_size / 2) + ")";
    case MDB_REPID: return "VARCHAR(38)";
    case MDB_MEMO: return "MEMO";
    case MDB_BINARY: return "BINARY";
    default: return "BLOB";
    }
}

class JetTableSource final : public DbiTableSource {
public:
    JetTableSource(const std::string& posixFile, const AnsiString& displayName);
    ~JetTableSource() override;

    void BeforeStatement(sqlite3* db, const std::string& sql) override;
    void CheckCompiled(sqlite3_stmt* stmt) override;

private:
    [[noreturn]] void Damaged(const std::string& what) const;
    void Forget();
    [[noreturn]] void ReadOnly() const;
    void ReadFile(const std::string& posixFile);
    void CheckPages() const;
    void CheckCatalogProperties();
    static int PropertiesColumn(MdbTableDef* table);
    void CheckPropertyBlock(MdbColumn* col);
    void ReadCatalog();
    void CheckTables() const;
    void CheckTable(std::size_t definition, const std::string& table) const;
    void CheckInFile(std::size_t page, const std::string& table) const;
    void CheckUsageMap(const unsigned char* map, std::size_t size, const std::string& table) const;
    void Load(sqlite3* db, MdbCatalogEntry* entry);
    void LoadWhole(sqlite3* db, MdbCatalogEntry* entry);
    void CopyRows(sqlite3* db, MdbTableDef* table, const std::string& quotedName);
    void BindValue(sqlite3_stmt* insert, int index, MdbColumn* col);
    void CheckLongValue(const MdbColumn* col) const;
    const unsigned char* Field(const MdbColumn* col, int size) const;

    AnsiString name_;
    std::vector<unsigned char> bytes_;
    std::size_t pageSize_ = 0;
    bool jet3_ = false;
    MdbHandle* mdb_ = nullptr;
    std::map<std::string, MdbCatalogEntry*> tables_; // by name in lower case
};

JetTableSource::JetTableSource(const std::string& posixFile, const AnsiString& displayName) : name_(displayName)
{
    std::string problem;
    if (!MdbLoad(problem))
        throw EDbiError("Cannot read database " + name_ + ": " + Utf8ToAnsi(problem));
    ReadFile(posixFile);
    CheckPages();
    const MdbMessages messages;
    try {
        mdb_ = Mdb().open_buffer(bytes_.data(), bytes_.size(), MDB_NOFLAGS);
        if (!mdb_)
            Damaged("its header cannot be read");
        // The catalog first: libmdb would read what it can of it and go on without the rest.
        CheckTable(kCatalogPage, "the catalog");
        CheckCatalogProperties();
        ReadCatalog();
        CheckTables();
    } catch (const EDbiError& e) {
        Forget();
        throw messages.Added(e);
    } catch (...) {
        Forget();
        throw;
    }
}

void JetTableSource::Forget()
{
    if (mdb_)
        Mdb().close(mdb_);
    mdb_ = nullptr;
}

JetTableSource::~JetTableSource() { Mdb().close(mdb_); }

void JetTableSource::Damaged(const std::string& what) const
{
    throw EDbiError("Cannot read database " + name_ + ": the file is damaged (" + Utf8ToAnsi(what) + ")");
}

void JetTableSource::ReadOnly() const
{
    throw EDbiError("Cannot change " + name_ + ": database opened read-only (a genuine Access file is only read)");
}

void JetTableSource::ReadFile(const std::string& posixFile)
{
    std::ifstream in(posixFile, std::ios::binary | std::ios::ate);
    if (!in)
        throw EDbiError("Cannot open database " + name_ + ": the file cannot be read");
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxJetFileSize)
        Damaged("it is larger than an Access file can be");
    bytes_.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes_.data()), size))
        throw EDbiError("Cannot open database " + name_ + ": the file cannot be read");
    if (bytes_.size() < kJetVersionOffset + 4)
        Damaged("its header is cut short");
    const std::uint32_t version = ReadU32(&bytes_[kJetVersionOffset]);
    if (version != MDB_VER_JET3 && version != MDB_VER_JET4)
        throw EDbiError("Cannot open database " + name_ + ": only Access files of Jet 3 and Jet 4 can be read");
    jet3_ = version == MDB_VER_JET3;
    pageSize_ = jet3_ ? 2048 : 4096;
}

// What libmdb takes on trust is checked here: the file is made of whole pages and holds the
// catalog, and every data page's row table lies inside its page, each row ending where the
// one before it starts.
void JetTableSource::CheckPages() const
{
    if (bytes_.size() % pageSize_ != 0)
        Damaged("it ends inside a page: the file is cut short");
    const std::size_t pages = bytes_.size() / pageSize_;
    if (pages <= kCatalogPage || bytes_[0] != 0 || bytes_[kCatalogPage * pageSize_] != MDB_PAGE_TABLE)
        Damaged("the catalog is missing");
    const std::size_t countOffset = jet3_ ? 8 : 12;
    for (std::size_t p = 1; p < pages; ++p) {
        const unsigned char* page = &bytes_[p * pageSize_];
        if (page[0] != MDB_PAGE_DATA)
            continue;
        const std::size_t rows = ReadU16(page + countOffset);
        const std::size_t tableEnd = countOffset + 2 + 2 * rows;
        if (tableEnd > pageSize_)
            Damaged("page " + std::to_string(p) + " lists more rows than it can hold");
        std::size_t end = pageSize_;
        for (std::size_t r = 0; r < rows; ++r) {
            const std::size_t start = ReadU16(page + countOffset + 2 + 2 * r) & 0x1FFF;
            if (start < tableEnd || start > end)
                Damaged("a row of page " + std::to_string(p) + " lies outside its place");
            end = start;
        }
    }
}

struct TableDefGuard {
    MdbTableDef* table;
    ~TableDefGuard() { Mdb().free_tabledef(table); }
};

// A table libmdb can walk: its definition and columns read, and its usage map, which libmdb
// leaves null when the map came out empty and then reads through that null pointer.
bool IsWalkable(MdbTableDef* table)
{
    return table && table->usage_map && Mdb().read_columns(table) && table->num_cols == table->columns->len;
}

// The catalog's own table is walked first, as libmdb walks it, and the property block of
// every row checked before libmdb reads it.
void JetTableSource::CheckCatalogProperties()
{
    MdbCatalogEntry catalog{};
    catalog.mdb = mdb_;
    std::strcpy(catalog.object_name, kCatalogTable);
    catalog.object_type = MDB_TABLE;
    catalog.table_pg = kCatalogPage;
    TableDefGuard guard{Mdb().read_table(&catalog)};
    MdbTableDef* table = guard.table;
    if (!IsWalkable(table))
        Damaged("the catalog cannot be read");
    const int column = PropertiesColumn(table);
    if (column == 0)
        return;
    auto* properties = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, column - 1));
    // Long binary values are read through a bound column; the buffer outlives the reads.
    std::vector<char> bound(mdb_->bind_size + pageSize_);
    Mdb().bind_column(table, column, bound.data(), nullptr);
    Mdb().rewind_table(table);
    unsigned rows = 0;
    while (Mdb().fetch_row(table)) {
        if (++rows > table->num_rows)
            Damaged("the catalog holds more rows than it lists");
        if (properties->cur_value_len > 0)
            CheckPropertyBlock(properties);
    }
}

// The number of the catalog's long binary column of properties, 0 when it has none.
int JetTableSource::PropertiesColumn(MdbTableDef* table)
{
    for (unsigned c = 0; c < table->num_cols; ++c) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, c));
        if (col->col_type == MDB_OLE && SameText(col->name, kPropertiesColumn))
            return static_cast<int>(c + 1);
    }
    return 0;
}

void JetTableSource::CheckPropertyBlock(MdbColumn* col)
{
    CheckLongValue(col);
    std::size_t size = 0;
    void* block = Mdb().ole_read_full(mdb_, col, &size);
    const bool walkable = !block || PropertyBlockCanBeWalked(static_cast<const unsigned char*>(block), size);
    free(block);
    if (!walkable)
        Damaged("the properties of a catalog entry cannot be read");
}

void JetTableSource::ReadCatalog()
{
    if (!Mdb().read_catalog(mdb_, MDB_TABLE))
        Damaged("the catalog cannot be read");
    for (unsigned i = 0; i < mdb_->catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
        if (entry->object_type == MDB_TABLE && Mdb().is_user_table(entry))
            tables_.emplace(LowerAscii(entry->object_name), entry);
    }
}

// Every table of the catalog lies whole in the file: the pages of its definition, the row
// that holds its usage map and each page that map gives it. A file cut short fails here, at
// the opening, rather than at the first statement that names a table it lost.
void JetTableSource::CheckTables() const
{
    for (unsigned i = 0; i < mdb_->catalog->len; ++i) {
        const auto* entry = static_cast<const MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
        if (entry->object_type == MDB_TABLE)
            CheckTable(entry->table_pg, "table " + std::string(entry->object_name));
    }
}

// `table` names the table in messages: "table Clienti", "the catalog".
void JetTableSource::CheckTable(std::size_t definition, const std::string& table) const
{
    const std::size_t pages = bytes_.size() / pageSize_;
    const std::size_t countOffset = jet3_ ? 8 : 12;
    const bool catalog = definition == kCatalogPage;
    auto unreadable = [&](const char* part) {
        Damaged(catalog ? table + " cannot be read" : std::string("the ") + part + " of " + table + " cannot be read");
    };
    if (definition == 0)
        unreadable("definition");
    std::size_t seen = 0;
    for (std::size_t page = definition; page != 0; page = ReadU32(&bytes_[page * pageSize_ + 4])) {
        CheckInFile(page, table);
        if (bytes_[page * pageSize_] != MDB_PAGE_TABLE || ++seen > pages)
            unreadable("definition");
    }
    // The usage map is a row of a data page: its number in the low byte, the page above.
    const std::uint32_t mapRow = ReadU32(&bytes_[definition * pageSize_ + mdb_->fmt->tab_usage_map_offset]);
    const std::size_t mapPage = mapRow >> 8, row = mapRow & 0xFF;
    CheckInFile(mapPage, table);
    const unsigned char* page = &bytes_[mapPage * pageSize_];
    if (page[0] != MDB_PAGE_DATA || row >= ReadU16(page + countOffset))
        unreadable("usage map");
    // The page check made every row lie inside its page, each ending where the one before starts.
    const std::size_t start = ReadU16(page + countOffset + 2 + 2 * row) & 0x1FFF;
    const std::size_t end = row == 0 ? pageSize_ : ReadU16(page + countOffset + 2 * row) & 0x1FFF;
    CheckUsageMap(page + start, end - start, table);
}

void JetTableSource::CheckInFile(std::size_t page, const std::string& table) const
{
    if (page >= bytes_.size() / pageSize_)
        Damaged("page " + std::to_string(page) + " of " + table + " lies beyond the end of the file: the file is cut short");
}

// A usage map is a bitmap of pages: of type 0 it follows a first page number in the row
// itself; of type 1 the row lists the pages that hold the bitmaps, each of them covering
// as many pages as it has bits after its 4-byte header.
void JetTableSource::CheckUsageMap(const unsigned char* map, std::size_t size, const std::string& table) const
{
    auto checkBits = [&](const unsigned char* bits, std::size_t bytes, std::size_t first) {
        for (std::size_t b = 0; b < bytes; ++b)
            if (bits[b])
                for (unsigned bit = 0; bit < 8; ++bit)
                    if (bits[b] & (1u << bit))
                        CheckInFile(first + b * 8 + bit, table);
    };
    if (size >= 5 && map[0] == 0) {
        checkBits(map + 5, size - 5, ReadU32(map + 1));
        return;
    }
    if (size >= 1 && map[0] == 1) {
        const std::size_t covered = (pageSize_ - 4) * 8;
        for (std::size_t k = 0; 1 + 4 * k + 4 <= size; ++k) {
            const std::size_t mapPage = ReadU32(map + 1 + 4 * k);
            if (mapPage == 0)
                continue;
            CheckInFile(mapPage, table);
            checkBits(&bytes_[mapPage * pageSize_ + 4], pageSize_ - 4, k * covered);
        }
        return;
    }
    Damaged("the usage map of " + table + " cannot be read");
}

void JetTableSource::BeforeStatement(sqlite3* db, const std::string& sql)
{
    const std::vector<SqlToken> tokens = LexSql(sql);
    static constexpr std::string_view writers[] = {"INSERT", "UPDATE", "DELETE", "REPLACE", "CREATE",
                                                   "DROP",   "ALTER",  "VACUUM", "REINDEX", "PRAGMA"};
    if (!tokens.empty())
        for (std::string_view keyword : writers)
            if (IsKeyword(sql, tokens.front(), keyword))
                ReadOnly();
    // Every name that is one of the file's tables is loaded: a column spelt like a table
    // costs a copy, never a wrong result.
    for (const SqlToken& t : tokens) {
        std::string_view text = t.TextIn(sql);
        std::string name;
        if (t.kind == SqlTokenKind::Word) {
            name = text;
        } else if (t.kind == SqlTokenKind::BracketName) {
            name = text.substr(1, text.size() - 2);
        } else if (t.kind == SqlTokenKind::QuotedName) {
            for (std::size_t i = 1; i + 1 < text.size(); ++i) {
                name += text[i];
                if (text[i] == '"')
                    ++i;
            }
        } else {
            continue;
        }
        const auto found = tables_.find(LowerAscii(name));
        if (found == tables_.end())
            continue;
        // Asked of the engine rather than remembered, so a table whose copy a rollback
        // undid is copied again.
        const bool present = sqlite3_table_column_metadata(db, "main", found->second->object_name, nullptr, nullptr,
                                                           nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!present)
            Load(db, found->second);
    }
}

void JetTableSource::CheckCompiled(sqlite3_stmt* stmt)
{
    if (!sqlite3_stmt_readonly(stmt))
        ReadOnly();
}

void JetTableSource::Load(sqlite3* db, MdbCatalogEntry* entry)
{
    const MdbMessages messages;
    try {
        LoadWhole(db, entry);
    } catch (const EDbiError& e) {
        throw messages.Added(e);
    }
}

void JetTableSource::LoadWhole(sqlite3* db, MdbCatalogEntry* entry)
{
    TableDefGuard guard{Mdb().read_table(entry)};
    MdbTableDef* table = guard.table;
    if (!IsWalkable(table) || table->num_cols == 0)
        Damaged("the definition of table " + std::string(entry->object_name) + " cannot be read");
    const std::string quotedName = QuoteName(entry->object_name);
    std::string create = "CREATE TABLE " + quotedName + " (";
    for (unsigned c = 0; c < table->num_cols; ++c) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, c));
        create += (c ? ", " : "") + QuoteName(col->name) + " " + EngineColumnType(DeclaredType(*col, jet3_));
    }
    create += ")";
    // All or nothing: a table that cannot be read whole leaves no copy behind.
    if (sqlite3_exec(db, "SAVEPOINT jet_load", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EDbiError(Utf8ToAnsi(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
    try {
        if (sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw EDbiError("Cannot read table " + Utf8ToAnsi(entry->object_name) + " of " + name_ + ": " +
                                Utf8ToAnsi(sqlite3_errmsg(db)),
                            sqlite3_extended_errcode(db));
        CopyRows(db, table, quotedName);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO jet_load; RELEASE jet_load", nullptr, nullptr, nullptr);
        throw;
    }
    sqlite3_exec(db, "RELEASE jet_load", nullptr, nullptr, nullptr);
}

void JetTableSource::CopyRows(sqlite3* db, MdbTableDef* table, const std::string& quotedName)
{
    std::string sql = "INSERT INTO " + quotedName + " VALUES (";
    for (unsigned c = 0; c < table->num_cols; ++c)
        sql += c ? ",?" : "?";
    sql += ")";
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &insert, nullptr) != SQLITE_OK)
        throw EDbiError(Utf8ToAnsi(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
    struct Finalize {
        sqlite3_stmt* stmt;
        ~Finalize() { sqlite3_finalize(stmt); }
    } finalize{insert};
    // Long binary values are read through a bound column; the buffer outlives the reads.
    std::vector<std::vector<char>> bound;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        if (col->col_type == MDB_OLE) {
            bound.emplace_back(mdb_->bind_size + pageSize_);
            Mdb().bind_column(table, static_cast<int>(c + 1), bound.back().data(), nullptr);
        }
    }
    Mdb().rewind_table(table);
    const std::string name = table->name;
    unsigned rows = 0;
    while (Mdb().fetch_row(table)) {
        // The table's own count bounds the walk, so a damaged page chain cannot run on.
        if (++rows > table->num_rows)
            Damaged("table " + name + " holds more rows than it lists");
        for (unsigned c = 0; c < table->num_cols; ++c)
            BindValue(insert, static_cast<int>(c + 1), static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c)));
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw EDbiError("Cannot read table " + Utf8ToAnsi(name) + " of " + name_ + ": " +
                                Utf8ToAnsi(sqlite3_errmsg(db)),
                            sqlite3_extended_errcode(db));
        sqlite3_reset(insert);
    }
    // A page that could not be read or a row that could not be cracked is skipped by libmdb:
    // the count tells.
    if (rows != table->num_rows)
        Damaged("table " + name + " lists " + std::to_string(table->num_rows) + " rows, " + std::to_string(rows) +
                " can be read");
}

// The bytes of a fixed-size value of the current row, inside the page that holds it.
const unsigned char* JetTableSource::Field(const MdbColumn* col, int size) const
{
    if (col->cur_value_start < 0 || col->cur_value_len < size ||
        static_cast<std::size_t>(col->cur_value_start) + static_cast<std::size_t>(size) > pageSize_)
        Damaged("a value of column " + std::string(col->name) + " lies outside its page");
    return mdb_->pg_buf + col->cur_value_start;
}

// A memo or long binary value is a reference to other pages: its stated length must fit
// the file before libmdb follows it (and allocates for it).
void JetTableSource::CheckLongValue(const MdbColumn* col) const
{
    const unsigned char* header = Field(col, MDB_MEMO_OVERHEAD);
    const std::uint32_t length = ReadU32(header) & 0x3FFFFFFF;
    if (length > bytes_.size())
        Damaged("a value of column " + std::string(col->name) + " is longer than the file");
}

void JetTableSource::BindValue(sqlite3_stmt* insert, int index, MdbColumn* col)
{
    const int len = col->cur_value_len;
    if (col->col_type == MDB_BOOL) {
        // A Yes/No value is its bit in the row's null mask: the row reads it as "null" when false.
        sqlite3_bind_int(insert, index, len == 0 ? 1 : 0);
        return;
    }
    if (len <= 0) {
        sqlite3_bind_null(insert, index);
        return;
    }
    switch (col->col_type) {
    case MDB_BYTE: sqlite3_bind_int(insert, index, *Field(col, 1)); break;
    case MDB_INT: sqlite3_bind_int(insert, index, static_cast<std::int16_t>(ReadU16(Field(col, 2)))); break;
    case MDB_LONGINT: sqlite3_bind_int(insert, index, static_cast<std::int32_t>(ReadU32(Field(col, 4)))); break;
    case MDB_MONEY:
        // Currency is a count of ten-thousandths.
        sqlite3_bind_double(insert, index, static_cast<double>(static_cast<std::int64_t>(ReadU64(Field(col, 8)))) / 10000.0);
        break;
    case MDB_FLOAT: sqlite3_bind_double(insert, index, SingleAsDouble(ReadSingle(Field(col, 4)))); break;
    case MDB_DOUBLE:
    // Jet's date is the run-time library's TDateTime: days since 1899-12-30 plus the
    // fraction of the day, taken as it is.
    case MDB_DATETIME: sqlite3_bind_double(insert, index, ReadDouble(Field(col, 8))); break;
    case MDB_NUMERIC: {
        Field(col, 17);
        GFreeString text{Mdb().numeric_to_string(mdb_, col->cur_value_start, col->col_scale, col->col_prec)};
        if (!text.text)
            sqlite3_bind_null(insert, index);
        else
            sqlite3_bind_double(insert, index, std::strtod(text.text, nullptr));
        break;
    }
    case MDB_TEXT:
    case MDB_MEMO: {
        if (col->col_type == MDB_MEMO)
            CheckLongValue(col);
        else
            Field(col, len);
        GFreeString text{Mdb().col_to_string(mdb_, mdb_->pg_buf, col->cur_value_start, col->col_type, len)};
        if (!text.text) {
            sqlite3_bind_null(insert, index);
            break;
        }
        const std::string value = AsEngineText(text.text);
        sqlite3_bind_text(insert, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        break;
    }
    case MDB_REPID: {
        Field(col, 16);
        GFreeString text{Mdb().uuid_to_string(mdb_->pg_buf, col->cur_value_start)};
        if (text.text)
            sqlite3_bind_text(insert, index, text.text, -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(insert, index);
        break;
    }
    case MDB_BINARY: sqlite3_bind_blob(insert, index, Field(col, len), len, SQLITE_TRANSIENT); break;
    case MDB_OLE: {
        CheckLongValue(col);
        std::size_t size = 0;
        void* data = Mdb().ole_read_full(mdb_, col, &size);
        if (data)
            sqlite3_bind_blob64(insert, index, data, size, SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(insert, index);
        free(data);
        break;
    }
    default: sqlite3_bind_null(insert, index); break;
    }
}

} // namespace

std::unique_ptr<DbiConnection> OpenJetDatabase(const std::string& posixFile, const AnsiString& displayName)
{
    return std::make_unique<DbiConnection>(std::make_unique<JetTableSource>(posixFile, displayName),
                                           SqlDialect::Access);
}
