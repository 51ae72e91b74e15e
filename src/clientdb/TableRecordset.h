#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clientdb/DbResult.h"
#include "clientdb/DbValue.h"
#include "clientdb/SqliteHandles.h"

namespace zelvan {

// A table opened for seeking by an index and changing single fields of the record found.
// Index "PrimaryKey" is the table's primary key; any other name is the index of that name.
class TableRecordset {
public:
    TableRecordset() = default;
    TableRecordset(sqlite::Connection connection, std::string table, std::vector<std::string> fieldNames);

    const std::string& tableName() const { return m_table; }

    DbError setIndex(std::string_view indexName);
    const std::vector<std::string>& keyFields() const { return m_keyFields; }

    // Makes the first record whose key fields equal `keys` current; noMatch() tells whether
    // there was none, keyRepeated() whether another record has the same key (an index that is
    // not unique). Only the comparison "=" is offered.
    DbError seek(std::string_view comparison, std::span<const DbValue> keys);
    bool noMatch() const { return m_noMatch; }
    bool keyRepeated() const { return m_keyRepeated; }

    // A field of the current record.
    DbResult<DbValue> value(std::string_view field) const;
    // The position of a field, for reading many records without looking the name up each time;
    // npos when the table has no such field.
    std::size_t fieldPosition(std::string_view field) const;
    // The field at that position of the current record; null without a current record.
    const DbValue& valueAt(std::size_t position) const;

    // Edit, set fields, Update: the changed fields of the current record are stored with one
    // statement, every value bound as a parameter, addressed by the row id. An update that changed
    // no record (a trigger passed it over, or the record is gone) or more than one is an error.
    DbError edit();
    DbError setValue(std::string_view field, DbValue value);
    DbError update();
    void cancelUpdate();

    // Whether triggers run on changes of this table: what they do may fail after the record
    // has been changed.
    bool hasTriggers() const;

    void close();

private:
    const std::string* fieldName(std::string_view name) const;

    sqlite::Connection m_connection; // declared first: released after the statements
    std::string m_table;
    std::vector<std::string> m_fieldNames;
    std::vector<std::string> m_keyFields;
    std::string m_rowIdName = "rowid"; // a name of the row id that no field hides
    sqlite::Statement m_seek;
    std::map<std::string, sqlite::Statement> m_updates; // by the list of changed fields
    bool m_noMatch = true;
    bool m_keyRepeated = false;
    bool m_hasCurrent = false;
    std::int64_t m_currentRowid = 0;
    std::vector<DbValue> m_current;
    bool m_editing = false;
    std::vector<std::pair<std::string, DbValue>> m_pending;
};

} // namespace zelvan
