#pragma once

#include <sqlite3.h>

#include <string>

namespace zelvan::test {

// How many customers of a Marlo database hold an IBAN; -1 when the file cannot be read.
inline int rowsWithIban(const std::string& database)
{
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM Personenkonten WHERE IFNULL(BankIBAN, '') <> ''", -1,
                               &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

} // namespace zelvan::test
