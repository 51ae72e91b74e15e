#include "cli/RestoreCommand.h"

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/ArgumentReader.h"
#include "cli/OutputCheck.h"
#include "clientdb/BackupRestore.h"
#include "clientdb/DatabaseBackup.h"
#include "core/CsvField.h"

namespace zelvan {

namespace {

namespace fs = std::filesystem;

struct RestoreArguments {
    ClientFormat format = ClientFormat::None;
    std::string database;
    std::optional<std::string> copy;
};

// Takes an option's value once; a second one is an error.
template <typename T>
void takeOnce(ArgumentReader& reader, const std::string& option, bool& seen, const std::optional<T>& value, T& into)
{
    if (seen)
        reader.fail("Die Option " + option + " ist mehrfach angegeben.");
    seen = true;
    if (value)
        into = *value;
}

std::optional<RestoreArguments> parseArguments(const std::vector<std::string>& args, std::ostream& err)
{
    RestoreArguments parsed;
    bool formatSeen = false;
    bool databaseSeen = false;
    bool copySeen = false;
    ArgumentReader reader(args);
    while (!reader.atEnd() && reader.error().empty()) {
        const auto arg = reader.next();
        if (arg == "--format") {
            takeOnce(reader, arg, formatSeen, reader.formatValue(arg), parsed.format);
        } else if (arg == "--db") {
            takeOnce(reader, arg, databaseSeen, reader.value(arg), parsed.database);
        } else if (arg == "--kopie") {
            std::string copy;
            takeOnce(reader, arg, copySeen, reader.value(arg), copy);
            parsed.copy = copy;
        } else {
            reader.fail("Unbekanntes Argument für \"wiederherstellen\": " + arg);
        }
    }
    if (reader.error().empty() && parsed.format == ClientFormat::None)
        reader.fail("Das Format fehlt (--format 1 bis 4).");
    if (reader.error().empty() && parsed.database.empty())
        reader.fail("Die Datenbank fehlt (--db PFAD).");
    if (reader.error().empty() && parsed.copy && parsed.copy->empty())
        reader.fail("Die Kopie fehlt (--kopie DATEI).");
    if (!reader.error().empty()) {
        err << reader.error() << "\nAufruf: zelvan-konverter wiederherstellen --format N --db PFAD [--kopie DATEI]\n";
        return std::nullopt;
    }
    return parsed;
}

// A copy named without a folder is looked for in the copies' folder of the database as well.
std::string copyPathOf(const std::string& copy, const std::string& database)
{
    std::error_code ec;
    if (fs::exists(copy, ec) || fs::path(copy).has_parent_path())
        return copy;
    const auto inFolder = fs::path(database).parent_path() / kBackupFolderName / copy;
    return fs::exists(inFolder, ec) ? inFolder.string() : copy;
}

int listCopies(const BackupTarget& target, CommandEnvironment& env)
{
    std::string text;
    const auto copies = listBackupCopies(target.path, target.format);
    for (const auto& copy : copies) {
        appendCsvField(text, copy.path);
        text += ';' + copy.time + ';' + std::to_string(copy.bytes) + ';' +
                (copy.records ? std::to_string(*copy.records) : std::string()) + ';';
        text += verdictWord(copy.verdict);
        text += '\n';
    }
    appendCsvField(text, std::to_string(copies.size()) + " Sicherungskopien von " + target.path);
    text += '\n';
    errno = 0;
    env.out << text;
    const int writeError = env.out ? 0 : errno;
    return outputComplete(env.out, env.err, writeError) ? kExitOk : kExitDatabaseError;
}

} // namespace

int runRestoreCommand(const std::vector<std::string>& args, CommandEnvironment& env)
{
    const auto parsed = parseArguments(args, env.err);
    if (!parsed)
        return kExitUsage;
    const auto target = backupTargetOf(parsed->database, parsed->format);
    if (!target.error.empty()) {
        env.err << target.error << '\n';
        return kExitDatabaseError;
    }
    if (!target.linkedFrom.empty())
        env.err << "Die Kundendaten von \"" << target.linkedFrom << "\" liegen in der Marlo-Datenbank \"" << target.path
                << "\"; deren Sicherungskopien werden gezeigt und zurückgespielt.\n";
    if (!parsed->copy)
        return listCopies(target, env);

    const auto outcome = restoreBackupCopy(target, copyPathOf(*parsed->copy, target.path), std::time(nullptr));
    if (outcome.status != RestoreStatus::Done) {
        env.err << outcome.message << '\n';
        return outcome.status == RestoreStatus::CopyUnusable ? kExitUsage : kExitDatabaseError;
    }
    env.out << outcome.message << '\n';
    return outputComplete(env.out, env.err) ? kExitOk : kExitDatabaseError;
}

} // namespace zelvan
