#include "clientdb/BackupLedger.h"

#include <ctime>
#include <filesystem>

#include "clientdb/Database.h"

namespace zelvan {

namespace {

// One name per file: the same file reached by a relative path, through "..", or through a link
// is copied once.
std::string fileKey(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    auto key = fs::weakly_canonical(path, ec);
    if (ec)
        key = fs::absolute(path, ec).lexically_normal();
    return key.string();
}

} // namespace

BackupResult BackupLedger::ensureBackup(const std::string& databasePath)
{
    if (!m_enabled || backedUp(databasePath))
        return {};
    auto result = backupDatabaseFile(databasePath, std::time(nullptr));
    if (result.ok()) {
        m_files.insert(fileKey(databasePath));
        m_copies.push_back(result.copyPath);
    }
    return result;
}

bool BackupLedger::backedUp(const std::string& databasePath) const
{
    return m_files.contains(fileKey(databasePath));
}

DbError backupBeforeChange(BackupLedger& ledger, const Database& database)
{
    if (!database.isOpen() || database.isReadOnly())
        return {};
    const auto result = ledger.ensureBackup(database.path());
    if (result.ok())
        return {};
    return makeError(DbErrorNumber::BackupFailed,
                     result.error + " Ohne Sicherungskopie wird die Datenbank nicht geändert.");
}

} // namespace zelvan
