#include "clientdb/DbError.h"

#include <sqlite3.h>

#include <string_view>

namespace zelvan {

namespace {

struct SqliteText {
    int code;
    std::string_view text;
};

// SQLite primary result codes -> German description.
constexpr SqliteText kSqliteTexts[] = {
    {SQLITE_ERROR, "SQL-Fehler"},
    {SQLITE_INTERNAL, "Interner Fehler der Datenbank"},
    {SQLITE_PERM, "Zugriff verweigert"},
    {SQLITE_ABORT, "Vorgang abgebrochen"},
    {SQLITE_BUSY, "Die Datenbank ist von einem anderen Programm gesperrt"},
    {SQLITE_LOCKED, "Eine Tabelle der Datenbank ist gesperrt"},
    {SQLITE_NOMEM, "Nicht genügend Arbeitsspeicher"},
    {SQLITE_READONLY, "Die Datenbank ist schreibgeschützt"},
    {SQLITE_INTERRUPT, "Vorgang unterbrochen"},
    {SQLITE_IOERR, "Ein- oder Ausgabefehler beim Zugriff auf die Datenbankdatei"},
    {SQLITE_CORRUPT, "Die Datenbankdatei ist beschädigt"},
    {SQLITE_NOTFOUND, "Unbekannte Operation"},
    {SQLITE_FULL, "Der Datenträger ist voll"},
    {SQLITE_CANTOPEN, "Die Datenbankdatei kann nicht geöffnet werden"},
    {SQLITE_PROTOCOL, "Fehler beim Sperren der Datenbank"},
    {SQLITE_SCHEMA, "Die Struktur der Datenbank hat sich geändert"},
    {SQLITE_TOOBIG, "Der Wert ist zu groß"},
    {SQLITE_CONSTRAINT, "Der Wert verletzt eine Regel der Tabelle (doppelter oder fehlender Schlüssel)"},
    {SQLITE_MISMATCH, "Datentyp passt nicht"},
    {SQLITE_MISUSE, "Falsche Verwendung der Datenbankschnittstelle"},
    {SQLITE_NOLFS, "Die Datei ist zu groß für dieses System"},
    {SQLITE_AUTH, "Keine Berechtigung"},
    {SQLITE_RANGE, "Parameter außerhalb des gültigen Bereichs"},
    {SQLITE_NOTADB, "Die Datei ist keine Datenbank"},
};

// SQLite's detail messages that are common enough to be worth a German wording.
struct DetailText {
    std::string_view prefix;
    std::string_view text;
};

// Beginning of SQLite's English message -> German wording (the rest of the message follows).
constexpr DetailText kDetailTexts[] = {
    {"no such column: ", "Unbekanntes Feld: "},
    {"no such table: ", "Unbekannte Tabelle: "},
    {"no such function: ", "Unbekannte Funktion: "},
    {"duplicate column name: ", "Das Feld ist schon vorhanden: "},
    {"attempt to write a readonly database", "Die Datenbank ist schreibgeschützt"},
    {"database is locked", "Die Datenbank ist von einem anderen Programm gesperrt"},
    {"file is not a database", "Die Datei ist keine Datenbank"},
    {"database disk image is malformed", "Die Datenbankdatei ist beschädigt"},
};

std::string germanDetail(std::string_view detail)
{
    for (const auto& entry : kDetailTexts) {
        if (detail.starts_with(entry.prefix))
            return std::string(entry.text) + std::string(detail.substr(entry.prefix.size()));
    }
    return std::string(detail);
}

} // namespace

DbError makeError(DbErrorNumber number, std::string description)
{
    return DbError{static_cast<int>(number), std::move(description)};
}

DbError sqliteError(int resultCode, const char* detail)
{
    const int primary = resultCode & 0xff;
    std::string description = "Datenbankfehler";
    for (const auto& entry : kSqliteTexts) {
        if (entry.code == primary)
            description = entry.text;
    }
    if (detail != nullptr && *detail != '\0') {
        const std::string german = germanDetail(detail);
        if (german != description)
            description += " (" + german + ")";
    }
    description += ".";
    return DbError{primary, std::move(description)};
}

} // namespace zelvan
