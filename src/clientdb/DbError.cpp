#include "clientdb/DbError.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string_view>

#include "core/SystemErrorCause.h"

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
    {"database or disk is full", "Der Datenträger ist voll"},
    {"unable to open database file", "Die Datenbankdatei kann nicht geöffnet werden"},
    {"disk I/O error", "Ein- oder Ausgabefehler beim Zugriff auf die Datenbankdatei"},
};

// SQLite extended result codes that say more than their primary code -> German description.
constexpr SqliteText kExtendedTexts[] = {
    {SQLITE_READONLY_DIRECTORY,
     "Der Ordner der Datenbank ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht angelegt werden"},
    {SQLITE_READONLY_DBMOVED, "Die Datenbankdatei wurde während der Arbeit verschoben oder gelöscht"},
    {SQLITE_READONLY_RECOVERY, "Die Hilfsdateien der Datenbank (-wal, -shm) können nicht geschrieben werden"},
    {SQLITE_READONLY_CANTINIT, "Die Hilfsdateien der Datenbank (-wal, -shm) können nicht geschrieben werden"},
    {SQLITE_READONLY_CANTLOCK, "Die Hilfsdateien der Datenbank (-wal, -shm) können nicht geschrieben werden"},
    {SQLITE_CANTOPEN_ISDIR, "Der Pfad ist ein Ordner und keine Datenbankdatei"},
};

// Primary codes whose cause can lie in the file system.
constexpr int kFileSystemCodes[] = {SQLITE_PERM, SQLITE_READONLY, SQLITE_IOERR, SQLITE_FULL, SQLITE_CANTOPEN};

// Why this user cannot write to a file or folder (0 when it can). access() also sees an
// immutable file and a read-only file system, which bind root as well. The database file itself
// is never opened for this: closing another handle of it would drop the connection's locks.
int writeError(const std::filesystem::path& path)
{
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

bool isWriteRefusal(int systemError)
{
    return systemError == EACCES || systemError == EPERM || systemError == EROFS;
}

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

DbError sqliteError(int extendedCode, const char* detail, int systemError)
{
    const int primary = extendedCode & 0xff;
    for (const auto& entry : kExtendedTexts) {
        if (entry.code == extendedCode)
            return DbError{primary, std::string(entry.text) + "."};
    }
    DbError error = sqliteError(primary, detail);
    const bool fileSystem =
        std::find(std::begin(kFileSystemCodes), std::end(kFileSystemCodes), primary) != std::end(kFileSystemCodes);
    const auto words = systemErrorWords(systemError);
    if (fileSystem && !words.empty() && error.description.find(words) == std::string::npos) {
        error.description.pop_back(); // the full stop
        error.description += ": " + systemErrorCause(systemError) + ".";
    }
    return error;
}

DbError withWriteCause(DbError error, const std::string& databasePath)
{
    const bool fileSystem =
        std::find(std::begin(kFileSystemCodes), std::end(kFileSystemCodes), error.number) != std::end(kFileSystemCodes);
    if (!fileSystem || databasePath.empty())
        return error;
    std::error_code ec;
    auto folder = std::filesystem::absolute(databasePath, ec).parent_path();
    if (ec || folder.empty())
        folder = ".";
    if (isWriteRefusal(writeError(databasePath))) {
        error.description = "Die Datenbankdatei \"" + databasePath + "\" ist schreibgeschützt.";
    } else if (isWriteRefusal(writeError(folder))) {
        error.description = "Der Ordner \"" + folder.string() +
                            "\" ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht angelegt "
                            "werden.";
    }
    return error;
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
