#include "clientdb/Database.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "clientdb/SqlDialect.h"
#include "clientdb/UntouchedRead.h"

namespace zelvan {

namespace {

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};
// Access files carry one of these at byte 4.
constexpr std::string_view kAccessSignatures[] = {"Standard Jet DB", "Standard ACE DB"};
constexpr std::size_t kAccessSignatureOffset = 4;
constexpr std::size_t kHeaderSize = 100;

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

// Reads the file's first bytes and says why it is no SQLite database, if it is none.
DbError checkHeader(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return sqliteError(SQLITE_CANTOPEN, "Die Datei kann nicht gelesen werden");
    std::array<char, kHeaderSize> bytes{};
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto count = static_cast<std::size_t>(in.gcount());
    const std::string_view header(bytes.data(), count);

    if (header.starts_with(kSqliteHeader)) {
        if (count < kHeaderSize)
            return sqliteError(SQLITE_CORRUPT, nullptr);
        return {};
    }
    for (const auto signature : kAccessSignatures) {
        if (header.substr(std::min(count, kAccessSignatureOffset)).starts_with(signature)) {
            return makeError(DbErrorNumber::AccessDatabase,
                             "Die Datei ist eine Access-Datenbank. Sie muss erst in eine SQLite-Datenbank "
                             "umgewandelt werden, bevor sie hier bearbeitet werden kann.");
        }
    }
    if (count == 0)
        return makeError(DbErrorNumber::NotADatabase, "Die Datei ist leer und keine Datenbank.");
    return makeError(DbErrorNumber::NotADatabase, "Die Datei ist keine SQLite-Datenbank und damit keine "
                                                  "Mandanten-Datenbank.");
}

// A big-endian number of the file header.
std::uint32_t headerNumber(const unsigned char* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

// A file cut off in the middle (a copy broken off) still opens, and its pages would be written
// whole at the next save; its header tells how long it should be. The header is read from the
// file after the schema has been read, when a journal left by an interrupted save has been played
// back. In WAL mode the file holds what was last merged into it and says so in its header: the
// changes still in the -wal file of a program that has the database open do not count.
DbError checkComplete(const std::string& path)
{
    // Page size at byte 16 (1 stands for 65536), change counter at 24, size in pages at 28, and
    // at 92 the change counter for which that size is valid (older writers leave it stale).
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, kHeaderSize> header{};
    if (!in.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size())))
        return {};
    const std::uint32_t pageSizeField = (std::uint32_t{header[16]} << 8) | header[17];
    const std::uintmax_t pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
    const std::uint32_t pages = headerNumber(&header[28]);
    if (pages == 0 || headerNumber(&header[24]) != headerNumber(&header[92]))
        return {};
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(path, ec);
    if (!ec && pageSize * pages > bytes)
        return sqliteError(SQLITE_CORRUPT, "Die Datei ist kürzer, als ihr Kopf angibt: sie wurde abgeschnitten");
    return {};
}

// The bare name of a result column: Personal.Nr -> Nr, [Konto-Nr] -> Konto-Nr.
std::string bareName(const char* columnName)
{
    std::string_view name = columnName == nullptr ? "" : columnName;
    if (!name.empty() && (name.front() == '[' || name.front() == '"') && name.size() >= 2)
        return std::string(name.substr(1, name.size() - 2));
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && name.find_first_of("[\"(") == std::string_view::npos)
        name.remove_prefix(dot + 1);
    return std::string(name);
}

DbError tableMissing(std::string_view table)
{
    return makeError(DbErrorNumber::TableNotFound,
                     "Die Tabelle " + std::string(table) + " ist in der Datenbank nicht vorhanden.");
}

} // namespace

DbError Database::notOpen() const
{
    return makeError(DbErrorNumber::NoDatabaseOpen, "Es ist keine Datenbank geöffnet.");
}

DbError Database::open(const std::string& path)
{
    return openFile(path, {});
}

DbError Database::openUntouched(const std::string& path)
{
    return openFile(path, untouchedReadUri(path));
}

DbError Database::openUnchanging(const std::string& path)
{
    return openFile(path, unchangingReadUri(path));
}

DbError Database::openFile(const std::string& path, const std::string& readOnlyUri)
{
    close();
    namespace fs = std::filesystem;
    if (path.empty())
        return makeError(DbErrorNumber::FileNotFound, "Es ist keine Datenbankdatei angegeben.");
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status))
        return makeError(DbErrorNumber::FileNotFound, "Die Datei " + path + " ist nicht vorhanden.");
    if (fs::is_directory(status)) {
        return makeError(DbErrorNumber::NotADatabase, "Der Pfad " + path + " ist ein Ordner und keine Datenbankdatei.");
    }
    if (auto error = checkHeader(path))
        return error;

    // An absolute path keeps SQLite from reading a name beginning with "file:" as a URI.
    const std::string absolute = fs::absolute(path, ec).string();
    sqlite3* raw = nullptr;
    const int rc = !readOnlyUri.empty()
                       ? sqlite3_open_v2(readOnlyUri.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr)
                       : sqlite3_open_v2(ec ? path.c_str() : absolute.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    sqlite::Connection connection(raw, ConnectionCloser{});
    if (rc != SQLITE_OK)
        return sqlite::lastError(raw, rc);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);

    // Reading the schema proves the file is a readable, undamaged, unlocked database.
    sqlite::Statement probe;
    if (auto error = sqlite::prepare(raw, "SELECT count(*) FROM sqlite_schema", probe))
        return error;
    if (const int step = sqlite3_step(probe.get()); step != SQLITE_ROW)
        return sqlite::lastError(raw, step);
    probe.reset();
    if (auto error = checkComplete(path))
        return error;

    m_connection = std::move(connection);
    m_path = path;
    return {};
}

bool Database::isReadOnly() const
{
    return isOpen() && sqlite3_db_readonly(m_connection.get(), "main") == 1;
}

DbError Database::close()
{
    // A transaction left open is rolled back by SQLite: nothing half written stays behind.
    // Table record sets still holding the connection keep it alive until they close.
    m_connection.reset();
    m_path.clear();
    return {};
}

DbResult<TableDef> Database::tableDef(std::string_view name) const
{
    if (!isOpen())
        return notOpen();
    sqlite3* db = m_connection.get();
    sqlite::Statement statement;
    if (auto error = sqlite::prepare(db,
                                     "SELECT name FROM sqlite_schema WHERE type IN ('table', 'view') "
                                     "AND name = ?1 COLLATE NOCASE",
                                     statement))
        return error;
    sqlite::bindText(statement.get(), 1, name);
    int rc = sqlite3_step(statement.get());
    if (rc == SQLITE_ROW)
        return TableDef{sqlite::textOfColumn(statement.get(), 0), 0, ""};
    if (rc != SQLITE_DONE)
        return sqlite::lastError(db, rc);

    // Not a local table: perhaps a table linked from another database.
    if (auto error = sqlite::prepare(db,
                                     "SELECT name FROM sqlite_schema WHERE type = 'table' "
                                     "AND name = 'LinkedTables' COLLATE NOCASE",
                                     statement))
        return error;
    if (sqlite3_step(statement.get()) != SQLITE_ROW)
        return tableMissing(name);
    if (auto error =
            sqlite::prepare(db, "SELECT Name, Connect FROM LinkedTables WHERE Name = ?1 COLLATE NOCASE", statement))
        return error;
    sqlite::bindText(statement.get(), 1, name);
    rc = sqlite3_step(statement.get());
    if (rc == SQLITE_ROW) {
        return TableDef{sqlite::textOfColumn(statement.get(), 0), kAttachedTable,
                        sqlite::textOfColumn(statement.get(), 1)};
    }
    if (rc != SQLITE_DONE)
        return sqlite::lastError(db, rc);
    return tableMissing(name);
}

DbResult<std::vector<FieldDef>> Database::fields(std::string_view table) const
{
    auto definition = tableDef(table);
    if (!definition.ok())
        return definition.error();
    if (definition.value().isLinked()) {
        return makeError(DbErrorNumber::TableNotFound,
                         "Die Tabelle " + definition.value().name +
                             " ist eine verknüpfte Tabelle; ihre Felder liegen in einer anderen Datenbank.");
    }
    sqlite3* db = m_connection.get();
    sqlite::Statement statement;
    if (auto error = sqlite::prepare(db, "SELECT name, type FROM pragma_table_info(?1) ORDER BY cid", statement))
        return error;
    sqlite::bindText(statement.get(), 1, definition.value().name);
    std::vector<FieldDef> result;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        FieldDef field{sqlite::textOfColumn(statement.get(), 0), sqlite::textOfColumn(statement.get(), 1), 0};
        field.size = sizeOfDeclaredType(field.declaredType);
        result.push_back(std::move(field));
    }
    if (rc != SQLITE_DONE)
        return sqlite::lastError(db, rc);
    return result;
}

DbResult<FieldDef> Database::field(std::string_view table, std::string_view name) const
{
    auto all = fields(table);
    if (!all.ok())
        return all.error();
    for (auto& candidate : all.value()) {
        if (sqlite::sameName(candidate.name, name))
            return std::move(candidate);
    }
    return makeError(DbErrorNumber::FieldNotFound, "Das Feld " + std::string(name) + " ist in der Tabelle " +
                                                       std::string(table) + " nicht vorhanden.");
}

DbError Database::createField(std::string_view table, std::string_view name, FieldType type, int size)
{
    auto definition = tableDef(table);
    if (!definition.ok())
        return definition.error();
    if (field(definition.value().name, name).ok()) {
        return sqliteError(SQLITE_ERROR, ("duplicate column name: " + std::string(name)).c_str());
    }
    const auto& tableName = definition.value().name;
    return execute("ALTER TABLE " + sqlite::quoteName(tableName) + " ADD COLUMN " + sqlite::quoteName(name) + " " +
                   (isStrictTable(tableName) ? strictTypeOf(type) : declaredTypeOf(type, size)));
}

bool Database::isStrictTable(std::string_view table) const
{
    if (!isOpen())
        return false;
    sqlite::Statement statement;
    if (sqlite::prepare(m_connection.get(),
                        "SELECT strict FROM pragma_table_list WHERE schema = 'main' AND name = ?1 COLLATE NOCASE",
                        statement))
        return false;
    sqlite::bindText(statement.get(), 1, table);
    return sqlite3_step(statement.get()) == SQLITE_ROW && sqlite3_column_int(statement.get(), 0) == 1;
}

DbError Database::setAllowZeroLength(std::string_view table, std::string_view name, bool)
{
    const auto found = field(table, name);
    return found.ok() ? DbError{} : found.error();
}

DbResult<Recordset> Database::openRecordset(std::string_view statement) const
{
    if (!isOpen())
        return notOpen();
    sqlite3* db = m_connection.get();
    sqlite::Statement prepared;
    if (auto error = sqlite::prepare(db, translateSql(statement), prepared))
        return error;
    sqlite3_stmt* raw = prepared.get();

    const int columns = sqlite3_column_count(raw);
    std::vector<RecordsetField> fields;
    for (int i = 0; i < columns; ++i) {
        const std::string_view declared = sqlite3_column_decltype(raw, i) ? sqlite3_column_decltype(raw, i) : "";
        fields.push_back({bareName(sqlite3_column_name(raw, i)), sizeOfDeclaredType(declared),
                          declared.find('(') != std::string_view::npos});
    }

    std::vector<std::string> values;
    std::vector<bool> nulls;
    std::vector<bool> numbers;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            const int type = sqlite3_column_type(raw, i);
            values.push_back(type == SQLITE_NULL ? std::string() : sqlite::loadedText(raw, i));
            nulls.push_back(type == SQLITE_NULL);
            numbers.push_back(type == SQLITE_INTEGER || type == SQLITE_FLOAT);
        }
    }
    if (rc != SQLITE_DONE)
        return sqlite::lastError(db, rc);
    return Recordset(std::move(fields), std::move(values), std::move(nulls), std::move(numbers));
}

DbResult<TableRecordset> Database::openTable(std::string_view table) const
{
    auto all = fields(table);
    if (!all.ok())
        return all.error();
    std::vector<std::string> names;
    for (auto& field : all.value())
        names.push_back(std::move(field.name));
    return TableRecordset(m_connection, tableDef(table).value().name, std::move(names));
}

DbError Database::beginTransaction()
{
    // The write lock is taken at once, so a program holding the database is waited for here.
    return execute("BEGIN IMMEDIATE");
}

DbError Database::commitTransaction()
{
    return execute("COMMIT");
}

DbError Database::rollbackTransaction()
{
    return execute("ROLLBACK");
}

bool Database::inTransaction() const
{
    return isOpen() && sqlite3_get_autocommit(m_connection.get()) == 0;
}

DbError Database::execute(std::string_view sql)
{
    if (!isOpen())
        return notOpen();
    sqlite::Statement statement;
    if (auto error = sqlite::prepare(m_connection.get(), sql, statement))
        return error;
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        return sqlite::lastError(m_connection.get(), rc);
    return {};
}

std::string_view sqliteVersion()
{
    return sqlite3_libversion();
}

} // namespace zelvan
