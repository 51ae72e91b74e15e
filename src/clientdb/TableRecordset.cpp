#include "clientdb/TableRecordset.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace zelvan {

namespace {

constexpr std::string_view kPrimaryKey = "PrimaryKey";

DbError noCurrentRecord()
{
    return makeError(DbErrorNumber::NoCurrentRecord, "Kein aktueller Datensatz.");
}

// The texts of a one-column query whose parameters are bound from `parameters`.
DbResult<std::vector<std::string>> namesOf(sqlite3* db, std::string_view sql,
                                           std::initializer_list<std::string_view> parameters)
{
    sqlite::Statement statement;
    if (auto error = sqlite::prepare(db, sql, statement))
        return error;
    int index = 0;
    for (const auto parameter : parameters)
        sqlite::bindText(statement.get(), ++index, parameter);
    std::vector<std::string> names;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW)
        names.push_back(sqlite::textOfColumn(statement.get(), 0));
    if (rc != SQLITE_DONE)
        return sqlite::lastError(db, rc);
    return names;
}

// SQLite's names of the row id, in the order they are tried.
constexpr std::array<std::string_view, 3> kRowIdNames{"rowid", "_rowid_", "oid"};

DbError unaddressable(const std::string& table, const std::string& reason)
{
    return makeError(DbErrorNumber::NoRowId, "Die Tabelle " + table + " wird nicht geändert: " + reason +
                                                 ", daher kann kein Datensatz sicher einzeln geändert werden.");
}

// The name through which a record is addressed by its row id: the first of rowid, _rowid_ and
// oid that is no field of the table (a field of that name would be read and matched instead, and
// its values may repeat). Fields with all three names, or no row id (WITHOUT ROWID), are an error.
DbResult<std::string> rowIdName(sqlite3* db, const std::string& table)
{
    const auto withoutRowId =
        namesOf(db, "SELECT wr FROM pragma_table_list WHERE schema = 'main' AND name = ?1 COLLATE NOCASE", {table});
    if (!withoutRowId.ok())
        return withoutRowId.error();
    if (!withoutRowId.value().empty() && withoutRowId.value().front() == "1")
        return unaddressable(table, "Sie hat keine Zeilennummer (WITHOUT ROWID)");
    // table_xinfo also lists generated fields, which hide a name just as well.
    const auto fields = namesOf(db, "SELECT name FROM pragma_table_xinfo(?1)", {table});
    if (!fields.ok())
        return fields.error();
    for (const auto name : kRowIdNames) {
        const auto hides = [name](const std::string& field) { return sqlite::sameName(field, name); };
        if (std::none_of(fields.value().begin(), fields.value().end(), hides))
            return std::string(name);
    }
    return unaddressable(table, "Ihre Felder rowid, _rowid_ und oid verdecken die Zeilennummer");
}

} // namespace

TableRecordset::TableRecordset(sqlite::Connection connection, std::string table, std::vector<std::string> fieldNames)
    : m_connection(std::move(connection)), m_table(std::move(table)), m_fieldNames(std::move(fieldNames))
{
}

DbError TableRecordset::setIndex(std::string_view indexName)
{
    if (!m_connection)
        return makeError(DbErrorNumber::NoDatabaseOpen, "Die Tabelle ist nicht geöffnet.");
    sqlite3* db = m_connection.get();
    m_seek.reset();
    m_keyFields.clear();
    m_hasCurrent = false;
    m_noMatch = true;
    m_keyRepeated = false;

    DbResult<std::vector<std::string>> keys = std::vector<std::string>{};
    if (sqlite::sameName(indexName, kPrimaryKey)) {
        keys = namesOf(db, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk", {m_table});
    } else {
        auto found = namesOf(db,
                             "SELECT name FROM sqlite_schema WHERE type = 'index' AND name = ?1 COLLATE NOCASE "
                             "AND tbl_name = ?2 COLLATE NOCASE",
                             {indexName, m_table});
        if (!found.ok())
            return found.error();
        if (found.value().size() == 1)
            keys = namesOf(db, "SELECT name FROM pragma_index_info(?1) ORDER BY seqno", {found.value().front()});
    }
    if (!keys.ok())
        return keys.error();
    if (keys.value().empty()) {
        return makeError(DbErrorNumber::IndexNotFound, "Der Index " + std::string(indexName) + " ist in der Tabelle " +
                                                           m_table + " nicht vorhanden.");
    }
    auto rowId = rowIdName(db, m_table);
    if (!rowId.ok())
        return rowId.error();
    m_rowIdName = std::move(rowId).value();
    m_keyFields = std::move(keys).value();

    std::string sql = "SELECT " + m_rowIdName;
    for (const auto& name : m_fieldNames)
        sql += ", " + sqlite::quoteName(name);
    sql += " FROM " + sqlite::quoteName(m_table) + " WHERE ";
    for (std::size_t i = 0; i < m_keyFields.size(); ++i)
        sql += (i == 0 ? "" : " AND ") + sqlite::quoteName(m_keyFields[i]) + " = ?" + std::to_string(i + 1);
    // A second record tells that the key is not unique.
    sql += " ORDER BY " + m_rowIdName + " LIMIT 2";
    if (auto error = sqlite::prepare(db, sql, m_seek)) {
        m_keyFields.clear();
        return error;
    }
    return {};
}

DbError TableRecordset::seek(std::string_view comparison, std::span<const DbValue> keys)
{
    m_editing = false;
    m_pending.clear();
    m_hasCurrent = false;
    m_noMatch = true;
    m_keyRepeated = false;
    if (!m_seek)
        return makeError(DbErrorNumber::IndexNotFound, "Für die Tabelle " + m_table + " ist kein Index gesetzt.");
    if (comparison != "=")
        return makeError(DbErrorNumber::UnsupportedComparison, "Suchen ist nur mit dem Vergleich \"=\" möglich.");
    if (keys.size() != m_keyFields.size()) {
        return makeError(DbErrorNumber::WrongKeyCount, "Der Index der Tabelle " + m_table + " hat " +
                                                           std::to_string(m_keyFields.size()) + " Schlüsselfelder, " +
                                                           "gesucht wurde mit " + std::to_string(keys.size()) + ".");
    }
    sqlite3_stmt* statement = m_seek.get();
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    for (std::size_t i = 0; i < keys.size(); ++i)
        sqlite::bind(statement, static_cast<int>(i + 1), keys[i]);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        m_currentRowid = sqlite3_column_int64(statement, 0);
        m_current.clear();
        for (std::size_t i = 0; i < m_fieldNames.size(); ++i)
            m_current.push_back(sqlite::columnValue(statement, static_cast<int>(i + 1)));
        m_hasCurrent = true;
        m_noMatch = false;
        rc = sqlite3_step(statement);
        m_keyRepeated = rc == SQLITE_ROW;
    }
    sqlite3_reset(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return sqlite::lastError(m_connection.get(), rc);
    return {};
}

const std::string* TableRecordset::fieldName(std::string_view name) const
{
    for (const auto& field : m_fieldNames) {
        if (sqlite::sameName(field, name))
            return &field;
    }
    return nullptr;
}

DbResult<DbValue> TableRecordset::value(std::string_view field) const
{
    if (!m_hasCurrent)
        return noCurrentRecord();
    for (std::size_t i = 0; i < m_fieldNames.size(); ++i) {
        if (sqlite::sameName(m_fieldNames[i], field))
            return m_current[i];
    }
    return makeError(DbErrorNumber::FieldNotFound,
                     "Das Feld " + std::string(field) + " ist in der Tabelle " + m_table + " nicht vorhanden.");
}

std::size_t TableRecordset::fieldPosition(std::string_view field) const
{
    for (std::size_t i = 0; i < m_fieldNames.size(); ++i) {
        if (sqlite::sameName(m_fieldNames[i], field))
            return i;
    }
    return std::string::npos;
}

const DbValue& TableRecordset::valueAt(std::size_t position) const
{
    static const DbValue kNull;
    return m_hasCurrent && position < m_current.size() ? m_current[position] : kNull;
}

DbError TableRecordset::edit()
{
    if (!m_hasCurrent)
        return noCurrentRecord();
    m_editing = true;
    m_pending.clear();
    return {};
}

DbError TableRecordset::setValue(std::string_view field, DbValue value)
{
    if (!m_editing)
        return makeError(DbErrorNumber::NotInEditMode, "Der Datensatz ist nicht zum Bearbeiten geöffnet.");
    const std::string* name = fieldName(field);
    if (name == nullptr) {
        return makeError(DbErrorNumber::FieldNotFound,
                         "Das Feld " + std::string(field) + " ist in der Tabelle " + m_table + " nicht vorhanden.");
    }
    for (auto& pending : m_pending) {
        if (pending.first == *name) {
            pending.second = std::move(value);
            return {};
        }
    }
    m_pending.emplace_back(*name, std::move(value));
    return {};
}

DbError TableRecordset::update()
{
    if (!m_editing)
        return makeError(DbErrorNumber::NotInEditMode, "Der Datensatz ist nicht zum Bearbeiten geöffnet.");
    m_editing = false;
    auto pending = std::move(m_pending);
    m_pending.clear();
    if (pending.empty())
        return {};

    std::string key;
    for (const auto& [name, value] : pending)
        key += name + '\n';
    auto& statement = m_updates[key];
    if (!statement) {
        // OR ABORT overrides a REPLACE conflict clause of the table, which would delete another
        // record holding the same unique value.
        std::string sql = "UPDATE OR ABORT " + sqlite::quoteName(m_table) + " SET ";
        for (std::size_t i = 0; i < pending.size(); ++i)
            sql += (i == 0 ? "" : ", ") + sqlite::quoteName(pending[i].first) + " = ?" + std::to_string(i + 1);
        sql += " WHERE " + m_rowIdName + " = ?" + std::to_string(pending.size() + 1);
        if (auto error = sqlite::prepare(m_connection.get(), sql, statement)) {
            m_updates.erase(key);
            return error;
        }
    }
    sqlite3_stmt* raw = statement.get();
    sqlite3_reset(raw);
    sqlite3_clear_bindings(raw);
    for (std::size_t i = 0; i < pending.size(); ++i)
        sqlite::bind(raw, static_cast<int>(i + 1), pending[i].second);
    sqlite3_bind_int64(raw, static_cast<int>(pending.size() + 1), m_currentRowid);
    const int rc = sqlite3_step(raw);
    sqlite3_reset(raw);
    if (rc != SQLITE_DONE)
        return sqlite::lastError(m_connection.get(), rc);
    // A trigger's RAISE(IGNORE) passes the record over without an error.
    const auto changed = sqlite3_changes64(m_connection.get());
    if (changed == 0) {
        return makeError(
            DbErrorNumber::RecordNotChanged,
            "Der Datensatz wurde nicht geändert (von der Datenbank übergangen oder nicht mehr vorhanden).");
    }
    if (changed != 1) {
        return makeError(DbErrorNumber::RecordNotChanged,
                         "Die Änderung hat " + std::to_string(changed) + " Datensätze statt eines getroffen.");
    }

    for (auto& [name, value] : pending) {
        for (std::size_t i = 0; i < m_fieldNames.size(); ++i) {
            if (m_fieldNames[i] == name)
                m_current[i] = std::move(value);
        }
    }
    return {};
}

bool TableRecordset::hasTriggers() const
{
    auto found = namesOf(m_connection.get(),
                         "SELECT name FROM sqlite_schema WHERE type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE "
                         "UNION ALL SELECT name FROM sqlite_temp_schema WHERE type = 'trigger' AND tbl_name = ?1 "
                         "COLLATE NOCASE",
                         {m_table});
    // Not knowing counts as having some: the rows are then written each in its own savepoint.
    return !found.ok() || !found.value().empty();
}

void TableRecordset::cancelUpdate()
{
    m_editing = false;
    m_pending.clear();
}

void TableRecordset::close()
{
    m_updates.clear();
    m_seek.reset();
    m_keyFields.clear();
    m_current.clear();
    m_hasCurrent = false;
    m_noMatch = true;
    m_keyRepeated = false;
    m_editing = false;
    m_pending.clear();
    m_connection.reset();
}

} // namespace zelvan
