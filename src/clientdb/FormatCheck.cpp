#include "clientdb/FormatCheck.h"

#include "clientdb/ClientFormats.h"
#include "clientdb/SqliteHandles.h"

namespace zelvan {

namespace {

DbError tableMissing(std::string_view table)
{
    return makeError(DbErrorNumber::TableNotFound,
                     "Die Tabelle " + std::string(table) +
                         " ist nicht vorhanden.\rDaher können keine Konvertierungsdaten ermittelt werden.\r\r"
                         "Bitte wählen Sie eine andere Datenbank zum Umwandeln aus.");
}

DbError mismatch(ClientFormat format, const std::string& reason)
{
    return makeError(DbErrorNumber::IndexNotFound,
                     "Die Datenbank passt nicht zum Format " + std::string(formatInfo(format).name) + ":\r" + reason);
}

// The table exists and its index has the key fields (comma-separated) that the save seeks by.
DbError checkTable(const Database& database, ClientFormat format, std::string_view table, std::string_view index,
                   std::string_view keyFields)
{
    auto opened = database.openTable(table);
    if (!opened.ok()) {
        if (opened.error().number == static_cast<int>(DbErrorNumber::TableNotFound))
            return tableMissing(table);
        return opened.error();
    }
    TableRecordset recordset = std::move(opened).value();
    if (auto error = recordset.setIndex(index)) {
        // A table whose records cannot be addressed one by one fits the format, it is refused.
        if (error.number == static_cast<int>(DbErrorNumber::NoRowId))
            return error;
        return mismatch(format, error.description);
    }
    return checkKeyFields(recordset, format, keyFields);
}

} // namespace

DbError checkKeyFields(const TableRecordset& table, ClientFormat format, std::string_view keyFields)
{
    std::string keys;
    for (const auto& key : table.keyFields())
        keys += (keys.empty() ? "" : ",") + key;
    if (!sqlite::sameName(keys, keyFields)) {
        return mismatch(format, "Der Schlüssel der Tabelle " + table.tableName() + " ist " + keys + " statt " +
                                    std::string(keyFields) + ".");
    }
    return {};
}

DbError checkFormatTables(const Database& database, ClientFormat format, bool fixedDeductions)
{
    if (format == ClientFormat::Galdo) {
        for (const auto& table : galdoWriteBackTables()) {
            if (table.table == "Festabzug" && !fixedDeductions)
                continue;
            if (auto error = checkTable(database, format, table.table, table.index, table.keyFields))
                return error;
        }
        return {};
    }
    const auto& info = formatInfo(format);
    if (info.mainTable.empty())
        return {};
    const auto definition = database.tableDef(info.mainTable);
    if (!definition.ok())
        return definition.error().number == static_cast<int>(DbErrorNumber::TableNotFound)
                   ? tableMissing(info.mainTable)
                   : definition.error();
    if (format == ClientFormat::Tondra && definition.value().isLinked())
        return {};
    return checkTable(database, format, info.mainTable, info.writeBackIndex, info.keyField);
}

} // namespace zelvan
