#include "cli/ConvertCommand.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <system_error>

#include "bankdir/BankCodeFile.h"
#include "cli/ArgumentReader.h"
#include "cli/BankFileLoad.h"
#include "cli/TerminalUserInterface.h"
#include "clientdb/ClientDatabase.h"
#include "clientdb/FormatCheck.h"
#include "clientdb/WorkingSetLoader.h"
#include "clientdb/WorkingSetSaver.h"
#include "iban/ConversionRun.h"

namespace zelvan {

namespace {

struct ConvertArguments {
    ClientFormat format = ClientFormat::None;
    std::string database;
    std::string bankFile;
    bool fixedDeductions = false;
    bool hideRowsWithIban = false;
    bool overwriteBankName = false;
    bool checkAccountDigits = false;
    // No copy of a database before its first change.
    bool withoutBackup = false;
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
    if (reader.error().empty() && parsed.database.empty())
        reader.fail("Die Datenbank fehlt (--db PFAD).");
    if (!reader.error().empty()) {
        err << reader.error()
            << "\nAufruf: zelvan-konverter convert --format N --db PFAD [--bankfile PFAD] [--festabzug] "
               "[--ohne-iban] [--bankname] [--pruefziffer] [--protokoll aus|hinweise|alle] [--ohne-sicherung]\n";
        return std::nullopt;
    }
    return parsed;
}

void showError(UserInterface& ui, std::string text)
{
    ui.showMessage({std::move(text), std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical, 0});
}

// Before anything is added to the database: it opens, it may be written, and it has the tables
// of the format asked for. Otherwise the message is shown and nothing in the file has changed.
// A Tondra database whose Kunden table is linked is loaded from the Marlo database it names,
// so that one is checked the same way, as a Marlo database.
bool databaseFits(const std::string& path, ClientFormat format, bool fixedDeductions, UserInterface& ui)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        const bool exists = std::filesystem::exists(path, ec);
        showError(ui, "Die Datenbank \"" + path + (exists ? "\" ist keine Datei." : "\" wurde nicht gefunden."));
        return false;
    }
    Database database;
    if (auto error = database.open(path)) {
        showError(ui, "Fehler beim Öffnen der Haupt-Datenbank\r" + path + "\rNummer:" + std::to_string(error.number) +
                          "\r" + error.description);
        return false;
    }
    if (database.isReadOnly()) {
        showError(ui, "Die Datenbank \"" + path +
                          "\" ist schreibgeschützt.\rSie wird nicht umgewandelt; nichts wurde "
                          "geändert.");
        return false;
    }
    if (auto error = checkFormatTables(database, format, fixedDeductions)) {
        showError(ui, error.description);
        return false;
    }
    if (format != ClientFormat::Tondra)
        return true;
    const auto customers = database.tableDef("Kunden");
    if (!customers.ok() || !customers.value().isLinked())
        return true;
    return databaseFits(linkedDatabasePath(customers.value().connect, path), ClientFormat::MarloOp, false, ui);
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

    TerminalUserInterface ui(env.out);
    ProgramState state;
    state.format = parsed->format;
    state.databasePath = parsed->database;
    state.fixedDeductions = parsed->format == ClientFormat::Galdo && parsed->fixedDeductions;
    state.backups.setEnabled(!parsed->withoutBackup);

    WorkingSetArray rows;
    Recordset recordset;
    if (!databaseFits(state.databasePath, state.format, state.fixedDeductions, ui))
        return kExitDatabaseError;
    const auto loaded = LoadWorkingSet(state, rows, recordset, {parsed->hideRowsWithIban ? 1 : 0, 0}, ui);
    if (!loaded.succeeded) {
        printCopies(state.backups, env.err);
        return kExitDatabaseError;
    }

    // The bank-name option is not offered for the payroll format.
    const bool bankName = parsed->overwriteBankName && loaded.bankNameOptionAvailable;
    std::optional<AccountCheckDigits> checker;
    if (parsed->checkAccountDigits)
        checker.emplace();
    runConversion(rows, directory, {state.format, bankName, checker ? &*checker : nullptr}, ui);

    SaveReport report;
    const auto saved = SaveWorkingSet(state, rows, {parsed->protocol, bankName, env.programFolder}, report, ui);
    CloseClientDatabase(state, ui);
    printCopies(state.backups, env.err);
    return convertExitStatus(saved);
}

int convertExitStatus(const SaveOutcome& saved)
{
    if (!saved.committed)
        return kExitDatabaseError;
    return saved.rowsNotSaved > 0 ? kExitRowsNotSaved : kExitOk;
}

} // namespace zelvan
