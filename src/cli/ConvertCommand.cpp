#include "cli/ConvertCommand.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>

#include "bankdir/BankCodeFile.h"
#include "batch/DatabaseConversion.h"
#include "cli/ArgumentReader.h"
#include "cli/BankFileLoad.h"
#include "cli/ConvertFolderCommand.h"
#include "cli/OutputCheck.h"
#include "cli/TerminalUserInterface.h"
#include "clientdb/WorkingSetSaver.h"

namespace zelvan {

namespace {

struct ConvertArguments {
    ClientFormat format = ClientFormat::None;
    std::string database;
    // --alle: every database of the format under this folder.
    std::string folder;
    std::string bankFile;
    bool fixedDeductions = false;
    bool hideRowsWithIban = false;
    bool overwriteBankName = false;
    bool checkAccountDigits = false;
    // No copy of a database before its first change.
    bool withoutBackup = false;
    // Work on temporary copies; no original changes.
    bool dryRun = false;
    ProtocolOption protocol = ProtocolOption::Off;
};

struct ProtocolWord {
    std::string_view word;
    ProtocolOption option;
};

// The values of --protokoll.
constexpr std::array kProtocolWords{
    ProtocolWord{"aus", ProtocolOption::Off},
    ProtocolWord{"hinweise", ProtocolOption::HintsOnly},
    ProtocolWord{"alle", ProtocolOption::AllData},
};

std::optional<ConvertArguments> parseArguments(const std::vector<std::string>& args, const std::string& programFolder,
                                               std::ostream& err)
{
    ConvertArguments parsed;
    parsed.bankFile = bankCodeFilePath(programFolder);
    ArgumentReader reader(args);
    while (!reader.atEnd() && reader.error().empty()) {
        const auto arg = reader.next();
        if (arg == "--format") {
            if (const auto format = reader.formatValue(arg))
                parsed.format = *format;
        } else if (arg == "--db") {
            if (auto path = reader.value(arg))
                parsed.database = *path;
        } else if (arg == "--alle") {
            if (auto path = reader.value(arg))
                parsed.folder = *path;
        } else if (arg == "--bankfile") {
            if (auto path = reader.value(arg))
                parsed.bankFile = *path;
        } else if (arg == "--festabzug") {
            parsed.fixedDeductions = true;
        } else if (arg == "--ohne-iban") {
            parsed.hideRowsWithIban = true;
        } else if (arg == "--bankname") {
            parsed.overwriteBankName = true;
        } else if (arg == "--pruefziffer") {
            parsed.checkAccountDigits = true;
        } else if (arg == "--probelauf") {
            parsed.dryRun = true;
        } else if (arg == "--ohne-sicherung") {
            parsed.withoutBackup = true;
        } else if (arg == "--protokoll") {
            if (auto word = reader.value(arg)) {
                const auto it = std::find_if(kProtocolWords.begin(), kProtocolWords.end(),
                                             [&](const ProtocolWord& known) { return known.word == *word; });
                if (it == kProtocolWords.end())
                    reader.fail("Ungültiger Wert für --protokoll: \"" + *word + "\" (aus, hinweise oder alle).");
                else
                    parsed.protocol = it->option;
            }
        } else {
            reader.fail("Unbekanntes Argument für \"convert\": " + arg);
        }
    }
    if (reader.error().empty() && parsed.format == ClientFormat::None)
        reader.fail("Das Format fehlt (--format 1 bis 4).");
    if (reader.error().empty() && !parsed.database.empty() && !parsed.folder.empty())
        reader.fail("--db und --alle schließen einander aus: eine Datenbank oder alle eines Ordners.");
    if (reader.error().empty() && parsed.database.empty() && parsed.folder.empty())
        reader.fail("Die Datenbank fehlt (--db PFAD oder --alle ORDNER).");
    if (!reader.error().empty()) {
        err << reader.error()
            << "\nAufruf: zelvan-konverter convert --format N --db PFAD [--bankfile PFAD] [--festabzug] "
               "[--ohne-iban] [--bankname] [--pruefziffer] [--protokoll aus|hinweise|alle] [--ohne-sicherung] "
               "[--probelauf]\n"
               "        zelvan-konverter convert --format N --alle ORDNER [--bankfile PFAD] [--ohne-iban] "
               "[--bankname] [--pruefziffer] [--protokoll aus|hinweise|alle] [--ohne-sicherung] [--probelauf]\n";
        return std::nullopt;
    }
    return parsed;
}

// Where the copies of this run lie, beside the output that standard output carries.
void printCopies(const BackupLedger& backups, std::ostream& err)
{
    for (const auto& copy : backups.copies())
        err << "Sicherungskopie: " << copy << '\n';
}

} // namespace

int runConvertCommand(const std::vector<std::string>& args, CommandEnvironment& env)
{
    const auto parsed = parseArguments(args, env.programFolder, env.err);
    if (!parsed)
        return kExitUsage;

    BankDirectory directory;
    if (!loadBankFileForCommand(parsed->bankFile, env.programFolder, directory, env.err))
        return kExitUsage;

    std::optional<AccountCheckDigits> checker;
    if (parsed->checkAccountDigits)
        checker.emplace();
    const ConversionSettings settings{parsed->hideRowsWithIban,
                                      parsed->overwriteBankName,
                                      checker ? &*checker : nullptr,
                                      parsed->protocol,
                                      env.programFolder,
                                      {},
                                      parsed->dryRun};
    if (!parsed->folder.empty())
        return runConvertFolder({parsed->format, parsed->folder, settings, !parsed->withoutBackup}, directory, env);

    TerminalUserInterface ui(env.out);
    ProgramState state;
    state.format = parsed->format;
    state.databasePath = parsed->database;
    state.fixedDeductions = parsed->format == ClientFormat::Galdo && parsed->fixedDeductions;
    state.backups.setEnabled(!parsed->withoutBackup);
    const auto converted = convertDatabase(state, directory, settings, ui);
    printCopies(state.backups, env.err);
    for (const auto& path : converted.saved.unwrittenFiles)
        env.err << "Die Datei \"" << path << "\" konnte nicht geschrieben werden.\n";
    const bool outputWritten = outputComplete(env.out, env.err, ui.writeError());
    return converted.loaded ? convertExitStatus(converted.saved, outputWritten) : kExitDatabaseError;
}

int convertExitStatus(const SaveOutcome& saved, bool outputWritten)
{
    if (!saved.committed)
        return kExitDatabaseError;
    if (!saved.unwrittenFiles.empty() || !outputWritten)
        return kExitReportNotWritten;
    return saved.rowsNotSaved > 0 ? kExitRowsNotSaved : kExitOk;
}

} // namespace zelvan
