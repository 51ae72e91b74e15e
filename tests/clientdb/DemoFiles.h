#pragma once

// Client databases written by the demo generator into a temporary folder, for the tests.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "DemoDatabases.h"
#include "support/TempDir.h"

namespace zelvan::test {

class DemoFiles {
public:
    std::string marlo(const demo::AccountDatabaseOptions& options = {}, const std::string& name = "MARL001.MDB")
    {
        return written(name, demo::writeMarloDatabase(m_dir.path() / name, options));
    }
    std::string tondra(const demo::AccountDatabaseOptions& options = {}, const std::string& name = "TONDRA.MDB")
    {
        return written(name, demo::writeTondraDatabase(m_dir.path() / name, options));
    }
    std::string linkedTondra(const std::string& marloFile, const std::string& name = "TONDRA2.MDB")
    {
        return written(name, demo::writeLinkedTondraDatabase(m_dir.path() / name, marloFile));
    }
    std::string dorvan(const demo::AccountDatabaseOptions& options = {}, const std::string& name = "DORV001.MDB")
    {
        return written(name, demo::writeDorvanDatabase(m_dir.path() / name, options));
    }
    std::string galdo(const demo::GaldoDatabaseOptions& options = {}, const std::string& name = "GALD001.MDB")
    {
        return written(name, demo::writeGaldoDatabase(m_dir.path() / name, options));
    }
    std::string file(const std::string& name, const std::string& content) const { return m_dir.write(name, content); }
    std::string path(const std::string& name) const { return (m_dir.path() / name).string(); }

private:
    std::string written(const std::string& name, const std::string& error)
    {
        EXPECT_EQ(error, "");
        return path(name);
    }

    TempDir m_dir;
};

// Runs SQL on a file directly, past the layer under test (to set up odd cases).
inline void executeOn(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    EXPECT_EQ(rc, SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

// Each row of a statement, its values with their types ("3:text|1:5|5:|").
inline std::vector<std::string> rowsOf(sqlite3* db, const std::string& sql)
{
    std::vector<std::string> rows;
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            row += std::to_string(sqlite3_column_type(statement, i)) + ':' + (text ? text : "") + '|';
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
}

// The schema and every row of every table: two files with equal content give equal lines.
inline std::vector<std::string> contentOf(const std::string& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return {"cannot open " + file};
    }
    auto lines = rowsOf(db, "SELECT type, name, sql FROM sqlite_schema ORDER BY name");
    for (const auto& table : rowsOf(db, "SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name")) {
        const auto name = table.substr(2, table.size() - 3);
        lines.push_back("table " + name);
        for (auto& row : rowsOf(db, "SELECT * FROM \"" + name + "\""))
            lines.push_back(std::move(row));
    }
    sqlite3_close(db);
    return lines;
}

} // namespace zelvan::test
