#include "clientdb/SqliteHandles.h"

#include <cctype>
#include <cmath>
#include <cstdint>

namespace zelvan::sqlite {

DbError prepare(sqlite3* db, std::string_view sql, Statement& statement)
{
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    statement.reset(raw);
    if (rc != SQLITE_OK)
        return lastError(db, rc);
    return {};
}

int bindText(sqlite3_stmt* statement, int index, std::string_view text)
{
    return sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

int bind(sqlite3_stmt* statement, int index, const DbValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return bindText(statement, index, *text);
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return sqlite3_bind_int64(statement, index, *number);
    return sqlite3_bind_null(statement, index);
}

DbValue columnValue(sqlite3_stmt* statement, int index)
{
    switch (sqlite3_column_type(statement, index)) {
    case SQLITE_NULL:
        return DbValue{};
    case SQLITE_INTEGER:
        return DbValue{static_cast<std::int64_t>(sqlite3_column_int64(statement, index))};
    case SQLITE_FLOAT:
        return DbValue{loadedText(statement, index)};
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
        const auto length = static_cast<std::size_t>(sqlite3_column_bytes(statement, index));
        return DbValue{std::string(text == nullptr ? "" : text, length)};
    }
    }
}

std::string textOfColumn(sqlite3_stmt* statement, int index)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
    const auto length = static_cast<std::size_t>(sqlite3_column_bytes(statement, index));
    return text == nullptr ? std::string() : std::string(text, length);
}

std::string loadedText(sqlite3_stmt* statement, int index)
{
    if (sqlite3_column_type(statement, index) == SQLITE_FLOAT) {
        // Whole numbers below 2^63 are exact as 64-bit integers; larger ones keep SQLite's text.
        constexpr double kLimit = 9223372036854775808.0;
        const double number = sqlite3_column_double(statement, index);
        if (std::isfinite(number) && std::trunc(number) == number && std::fabs(number) < kLimit)
            return std::to_string(static_cast<std::int64_t>(number));
    }
    return textOfColumn(statement, index);
}

DbError lastError(sqlite3* db, int resultCode)
{
    if (db == nullptr)
        return sqliteError(resultCode, nullptr);
    // The extended code of the connection belongs to this error when its primary part agrees.
    const int extended = sqlite3_extended_errcode(db);
    return sqliteError((extended & 0xff) == (resultCode & 0xff) ? extended : resultCode, sqlite3_errmsg(db),
                       sqlite3_system_errno(db));
}

std::string quoteName(std::string_view name)
{
    std::string out = "\"";
    for (const char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
    return out;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace zelvan::sqlite
