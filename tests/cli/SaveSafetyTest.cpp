// A save never puts one record's bank details into another record, nor over a newer change.
// Each case starts from the demo databases, changes them the way an ordinary program or a
// careless import can, converts, and checks the status, the message and the records after it.

#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "DemoDatabases.h"
#include "bankdir/BankCodeFile.h"
#include "cli/ConvertCommand.h"
#include "cli/TerminalUserInterface.h"
#include "clientdb/ClientDatabase.h"
#include "clientdb/DemoFiles.h"
#include "clientdb/WorkingSetLoader.h"
#include "iban/ConversionRun.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;
using test::executeOn;

// The records of a table that a WHERE condition picks, in the columns the table has now (the load
// may add columns later), each value with its type, so that equal rows are equal byte for byte; and
// those records as they were when picked.
struct Records {
    std::string file;
    std::string select;
    std::vector<std::string> before;

    Records(std::string database, const std::string& table, const std::string& where) : file(std::move(database))
    {
        select = "SELECT " +
                 test::valueOf(file, "SELECT group_concat('\"' || name || '\"', ', ') FROM pragma_table_info('" +
                                         table + "')") +
                 " FROM " + table + " WHERE " + where + " ORDER BY 1";
        before = now();
        EXPECT_FALSE(before.empty()) << where;
    }
    std::vector<std::string> now() const
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        auto rows = test::rowsOf(db, select);
        sqlite3_close(db);
        return rows;
    }
};

struct Case {
    const char* name;
    const char* format;
    const char* file; // the demo database converted
    bool fixedDeductions;
    // Changes to the demo set before the run.
    void (*prepare)(const fs::path& folder);
    // SQL another program runs between load and save; then the run is in-process, else the command.
    const char* meanwhile;
    int status;
    std::vector<std::string> output; // parts of the output, in this order
    const char* table;               // the records checked
    const char* untouched;           // WHERE condition: records that must stay as they were
    const char* written;             // WHERE condition: records that must have been written
};

std::string path(const fs::path& folder, const char* file)
{
    return (folder / file).string();
}

void makeDorvanKeyRepeatable(const fs::path& folder)
{
    executeOn(path(folder, demo::kDorvanFile),
              "DROP INDEX OPKontoNr; CREATE INDEX OPKontoNr ON Personenkonten (OPKontoNr);"
              "INSERT INTO Personenkonten (OPKontoNr, Suchname, Name1, BankBLZ, BankKontoNr, BankName) "
              "VALUES (30005, 'SCHWARZ E', 'Schwarz, Erika', '10010010', '2233448', 'Musterbank Berlin')");
}

void addDorvanRowsWithoutKey(const fs::path& folder)
{
    const auto file = path(folder, demo::kDorvanFile);
    executeOn(file, "PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = replace(sql, 'OPKontoNr INTEGER "
                    "NOT NULL', 'OPKontoNr INTEGER') WHERE name = 'Personenkonten'");
    executeOn(file, "INSERT INTO Personenkonten (OPKontoNr, Suchname, BankBLZ, BankKontoNr) VALUES "
                    "(NULL, 'OHNE', '10010010', '1234565'), ('', 'LEER', '86095604', '7654324')");
}

void linkTondraToDorvan(const fs::path& folder)
{
    ASSERT_EQ(demo::writeLinkedTondraDatabase(folder / "TONDRA3.MDB", path(folder, demo::kDorvanFile)), "");
}

constexpr char kBefore[] = "BEFORE";
constexpr char kAfter[] = "AFTER";
template <const char* kRaise, const char* kWhen = kBefore> void triggerOnDorvan30010(const fs::path& folder)
{
    executeOn(path(folder, demo::kDorvanFile),
              std::string("CREATE TRIGGER Sperre ") + kWhen +
                  " UPDATE ON Personenkonten WHEN old.OPKontoNr = 30010 BEGIN SELECT RAISE(" + kRaise + "); END");
}
constexpr char kRollback[] = "ROLLBACK, 'nein'";
constexpr char kIgnore[] = "IGNORE";
constexpr char kFail[] = "FAIL, 'nein'";

// Rebuilds the Dorvan account table with the key of `keyType`, every other field of `otherType`
// (BankIBAN followed by `ibanRule`) and `tableOptions` after the definition.
void rebuildDorvan(const fs::path& folder, const std::string& keyType, const std::string& otherType,
                   const std::string& tableOptions, const std::string& ibanRule = "")
{
    const auto file = path(folder, demo::kDorvanFile);
    const auto columns =
        test::valueOf(file, "SELECT group_concat('\"' || name || '\" ' || CASE name WHEN 'ID' THEN "
                            "'INTEGER PRIMARY KEY' WHEN 'OPKontoNr' THEN '" +
                                keyType + "' WHEN 'BankIBAN' THEN '" + otherType + ibanRule + "' ELSE '" + otherType +
                                "' END, ', ') FROM pragma_table_info('Personenkonten')");
    executeOn(file, "CREATE TABLE Neu (" + columns + ")" + tableOptions +
                        "; INSERT INTO Neu SELECT * FROM Personenkonten; DROP TABLE Personenkonten; ALTER TABLE Neu "
                        "RENAME TO Personenkonten; CREATE UNIQUE INDEX OPKontoNr ON Personenkonten (OPKontoNr)");
}
void dorvanUntypedKey(const fs::path& folder)
{
    rebuildDorvan(folder, "", "", "");
}
void dorvanWithoutRowId(const fs::path& folder)
{
    rebuildDorvan(folder, "INTEGER", "", " WITHOUT ROWID");
}
// A record never loaded (no BLZ) holds the IBAN that the save gives 30020.
void dorvanIbanUniqueReplace(const fs::path& folder)
{
    rebuildDorvan(folder, "INTEGER", "", "", " UNIQUE ON CONFLICT REPLACE");
    executeOn(path(folder, demo::kDorvanFile),
              "UPDATE Personenkonten SET BankIBAN = 'DE24100100100002233448' WHERE OPKontoNr = 30030");
}

// A field RowID in which every record holds 7, as a copy made with "SELECT rowid, *" can leave.
void repeatedRowIdField(const std::string& file, const std::string& table)
{
    executeOn(file, "ALTER TABLE " + table + " ADD COLUMN RowID INTEGER; UPDATE " + table + " SET RowID = 7");
}
void dorvanRowIdField(const fs::path& folder)
{
    repeatedRowIdField(path(folder, demo::kDorvanFile), "Personenkonten");
}
void dorvanAllRowIdNames(const fs::path& folder)
{
    executeOn(path(folder, demo::kDorvanFile), "ALTER TABLE Personenkonten ADD COLUMN RowId; ALTER TABLE "
                                               "Personenkonten ADD COLUMN _ROWID_; ALTER TABLE Personenkonten ADD "
                                               "COLUMN Oid");
}

// A Galdo database that has the fields the save writes already, so that their change shows.
void galdoWithIbanFields(const fs::path& folder)
{
    ASSERT_EQ(demo::writeGaldoDatabase(folder / demo::kGaldoFile, {.ibanFields = true, .bankBic = true}), "");
}

// A second bank with the BLZ of bank 1, without employees; neither has a BIC yet.
void galdoWithBlzTwice(const fs::path& folder)
{
    galdoWithIbanFields(folder);
    executeOn(path(folder, demo::kGaldoFile),
              "INSERT INTO Banken (Nr, BLZ, Bezeichnung, Ort) VALUES (7, '10010010', 'Musterbank Filiale', 'Berlin');"
              "UPDATE Banken SET BankBIC = NULL WHERE Nr = 1");
}

void galdoRowIdField(const fs::path& folder)
{
    galdoWithIbanFields(folder);
    repeatedRowIdField(path(folder, demo::kGaldoFile), "Personal");
}

// Employee 2 is the only one of bank 2, which has no BIC yet: the row writes bank and employee.
void failAfterGaldoEmployee2(const fs::path& folder)
{
    galdoWithIbanFields(folder);
    executeOn(path(folder, demo::kGaldoFile), "CREATE TRIGGER Sperre AFTER UPDATE ON Personal WHEN old.Nr = 2 "
                                              "BEGIN SELECT RAISE(FAIL, 'nein'); END");
}

void rollbackOnGaldoEmployee8(const fs::path& folder)
{
    galdoWithIbanFields(folder);
    executeOn(path(folder, demo::kGaldoFile), "CREATE TRIGGER Sperre BEFORE UPDATE ON Personal WHEN old.Nr = 8 "
                                              "BEGIN SELECT RAISE(ROLLBACK, 'nein'); END");
}

const std::string kChanged = ": inzwischen von einem anderen Programm geändert";
const std::string kRefused = "Die Tabelle Personenkonten wird nicht geändert: ";
const std::string kRuleBroken = ": Der Wert verletzt eine Regel der Tabelle (doppelter oder fehlender Schlüssel)";
const std::string kNothingSaved = "Die Daten konnten nicht gespeichert werden; die Datenbank ist unverändert.\n\n"
                                  "Nr: 3026\nBeschreibung: Die Datenbank hat die Transaktion des Speicherns "
                                  "abgebrochen (";

// Case -> format, file, fixed deductions, preparation, change meanwhile, status,
// output, table, records that stay as they were, records that are written.
// clang-format off
const Case kCases[] = {
    {"repeated_key", "3", demo::kDorvanFile, false, makeDorvanKeyRepeatable, nullptr, 3,
     {"Davon nicht gespeichert: 2\n30005: Schlüssel mehrfach vorhanden\n30005: Schlüssel mehrfach vorhanden\n"},
     "Personenkonten", "OPKontoNr = 30005", "OPKontoNr IN (30010, 30020, 30040)"},
    {"null_and_empty_key", "3", demo::kDorvanFile, false, addDorvanRowsWithoutKey, nullptr, 3,
     {"Davon nicht gespeichert: 2\n: Schlüssel fehlt\n: Schlüssel fehlt\n"},
     "Personenkonten", "OPKontoNr IS NULL OR OPKontoNr = ''", "OPKontoNr IN (30005, 30010, 30020, 30040)"},
    {"linked_table_of_another_format", "2", "TONDRA3.MDB", false, linkTondraToDorvan, nullptr, 1,
     {"Die Datenbank passt nicht zum Format Marlo:\nDer Schlüssel der Tabelle Personenkonten ist ID statt OPKontoNr.\n"},
     "Personenkonten", "1 = 1", nullptr},
    {"blz_changed_meanwhile", "1", demo::kMarloFile, false, nullptr,
     "UPDATE Personenkonten SET BankBLZ = '86095604' WHERE OPKontoNr = 10000", 3,
     {"Davon nicht gespeichert: 1\n10000" + kChanged + "\n"},
     "Personenkonten", "OPKontoNr = 10000", "OPKontoNr = 10010"},
    {"bic_and_iban_changed_meanwhile", "3", demo::kDorvanFile, false, nullptr,
     "UPDATE Personenkonten SET BankBIC = 'GENODEF1A01' WHERE OPKontoNr = 30010;"
     "UPDATE Personenkonten SET BankIBAN = 'DE02100100100002233448' WHERE OPKontoNr = 30020", 3,
     {"Davon nicht gespeichert: 2\n30010" + kChanged + "\n30020" + kChanged + "\n"},
     "Personenkonten", "OPKontoNr IN (30010, 30020)", "OPKontoNr IN (30005, 30040)"},
    {"other_field_changed_meanwhile", "3", demo::kDorvanFile, false, nullptr,
     "UPDATE Personenkonten SET Ort = 'Halle' WHERE OPKontoNr = 30040", 0,
     {"Insgesamt verarbeitete Datensätze: 4\n"},
     nullptr, nullptr, "OPKontoNr IN (30005, 30010, 30020, 30040)"},
    {"employee_account_changed_meanwhile", "4", demo::kGaldoFile, false, nullptr,
     "UPDATE Personal SET \"Konto-Nr\" = '1111111' WHERE Nr = 2", 3,
     {"Davon nicht gespeichert: 1\n2" + kChanged + "\n"},
     "Personal", "Nr = 2", "Nr IN (1, 7, 8)"},
    {"employee_bank_changed_meanwhile", "4", demo::kGaldoFile, false, nullptr,
     "UPDATE Personal SET BankNr = 4 WHERE Nr = 8", 3,
     {"Davon nicht gespeichert: 1\n8" + kChanged + "\n"},
     "Personal", "Nr = 8", "Nr IN (1, 2, 7)"},
    {"bank_bic_changed_meanwhile", "4", demo::kGaldoFile, false, nullptr,
     "UPDATE Banken SET BankBIC = 'MUSBDEBBXXX' WHERE Nr = 1", 3,
     {"Davon nicht gespeichert: 2\n1: BIC der Bank 10010010" + kChanged + "\n8: BIC der Bank 10010010" + kChanged + "\n"},
     "Personal", "Nr IN (1, 8)", "Nr IN (2, 7)"},
    {"deduction_changed_meanwhile", "4", demo::kGaldoFile, true, nullptr,
     "UPDATE Festabzug SET \"Konto-Nr\" = '7777001' WHERE PersonalNr = 1 AND Zeile = 1", 3,
     {"Davon nicht gespeichert: 1\n1" + kChanged + "\n"},
     "Festabzug", "PersonalNr = 1 AND Zeile = 1", "(PersonalNr = 1 AND Zeile > 1) OR PersonalNr IN (2, 8)"},
    {"bank_bic_written_once_per_deduction", "4", demo::kGaldoFile, true, galdoWithIbanFields, nullptr, 0,
     {"Insgesamt verarbeitete Datensätze: 6\n\nDavon mit fehlender KontoNr: 1\n"},
     nullptr, nullptr, "PersonalNr IN (1, 2, 8)"},
    {"banks_without_employees_get_their_bic", "4", demo::kGaldoFile, false, galdoWithIbanFields, nullptr, 0,
     {"Davon mit fehlender KontoNr: "},
     "Banken", "Nr = 6", "Nr = 4"},
    {"bank_blz_twice_in_banken", "4", demo::kGaldoFile, false, galdoWithBlzTwice, nullptr, 0,
     {"Insgesamt verarbeitete Datensätze: 9\n\nDavon mit fehlender KontoNr: 5\n"},
     "Banken", "Nr = 7", "Nr = 1"},
    {"trigger_rolls_back", "3", demo::kDorvanFile, false, triggerOnDorvan30010<kRollback>, nullptr, 1,
     {kNothingSaved},
     "Personenkonten", "1 = 1", nullptr},
    {"trigger_rolls_back_galdo", "4", demo::kGaldoFile, false, rollbackOnGaldoEmployee8, nullptr, 1,
     {kNothingSaved},
     "Banken", "1 = 1", nullptr},
    {"trigger_ignores", "3", demo::kDorvanFile, false, triggerOnDorvan30010<kIgnore>, nullptr, 3,
     {"Davon nicht gespeichert: 1\n30010: Der Datensatz wurde nicht geändert (von der Datenbank übergangen oder nicht mehr vorhanden).\n"},
     "Personenkonten", "OPKontoNr = 30010", "OPKontoNr IN (30005, 30020, 30040)"},
    {"trigger_fails_after_update", "3", demo::kDorvanFile, false, triggerOnDorvan30010<kFail, kAfter>, nullptr, 3,
     {"Davon nicht gespeichert: 1\n30010" + kRuleBroken + " (nein).\n"},
     "Personenkonten", "OPKontoNr = 30010", "OPKontoNr IN (30005, 30020, 30040)"},
    {"employee_fails_after_bank_bic", "4", demo::kGaldoFile, false, failAfterGaldoEmployee2, nullptr, 3,
     {"Davon nicht gespeichert: 1\n2" + kRuleBroken + " (nein).\n"},
     "Banken", "Nr = 2", "Nr = 5"},
    {"rowid_field_repeated_dorvan", "3", demo::kDorvanFile, false, dorvanRowIdField, nullptr, 0,
     {"Insgesamt verarbeitete Datensätze: 4\n"},
     "Personenkonten", "OPKontoNr = 30030", "OPKontoNr IN (30005, 30010, 30020, 30040)"},
    {"rowid_field_repeated_galdo", "4", demo::kGaldoFile, false, galdoRowIdField, nullptr, 0,
     {"Insgesamt verarbeitete Datensätze: "},
     "Personal", "Nr IN (3, 4, 5, 6)", "Nr IN (1, 2, 7, 8)"},
    {"all_rowid_names_are_fields", "3", demo::kDorvanFile, false, dorvanAllRowIdNames, nullptr, 1,
     {kRefused + "Ihre Felder rowid, _rowid_ und oid verdecken die Zeilennummer, daher kann kein Datensatz sicher "
      "einzeln geändert werden.\n"},
     "Personenkonten", "1 = 1", nullptr},
    {"without_rowid", "3", demo::kDorvanFile, false, dorvanWithoutRowId, nullptr, 1,
     {kRefused + "Sie hat keine Zeilennummer (WITHOUT ROWID), daher kann kein Datensatz sicher einzeln geändert "
      "werden.\n"},
     "Personenkonten", "1 = 1", nullptr},
    {"untyped_integer_key", "3", demo::kDorvanFile, false, dorvanUntypedKey, nullptr, 0,
     {"Insgesamt verarbeitete Datensätze: 4\n"},
     "Personenkonten", "OPKontoNr = 30030", "OPKontoNr IN (30005, 30010, 30020, 30040)"},
    {"unique_iban_replaces_no_other_record", "3", demo::kDorvanFile, false, dorvanIbanUniqueReplace, nullptr, 3,
     {"Davon nicht gespeichert: 1\n30020" + kRuleBroken},
     "Personenkonten", "OPKontoNr IN (30020, 30030)", "OPKontoNr IN (30005, 30010, 30040)"},
};
// clang-format on

struct RunResult {
    int status = -1;
    std::string output;
};

RunResult runCommand(const Case& c, const fs::path& folder)
{
    std::vector<std::string> args{"convert", "--format", c.format, "--db", path(folder, c.file)};
    if (c.fixedDeductions)
        args.emplace_back("--festabzug");
    const auto result = test::runCommand(args);
    return {result.status, result.out + result.err};
}

// What the command does, with another program's change between load and save.
RunResult runWithChangeMeanwhile(const Case& c, const fs::path& folder, const std::function<void()>& beforeSave)
{
    std::ostringstream out;
    TerminalUserInterface ui(out);
    ProgramState state;
    state.format = static_cast<ClientFormat>(std::stoi(c.format));
    state.databasePath = path(folder, c.file);
    state.fixedDeductions = c.fixedDeductions;
    WorkingSetArray rows;
    Recordset recordset;
    EXPECT_TRUE(LoadWorkingSet(state, rows, recordset, {}, ui).succeeded);
    BankDirectory directory;
    loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory);
    runConversion(rows, directory, {state.format, false}, ui);
    executeOn(state.databasePath, c.meanwhile);
    beforeSave();
    const auto cells = rows;
    SaveReport report;
    const auto saved = SaveWorkingSet(state, rows, {ProtocolOption::Off, false, folder.string()}, report, ui);
    CloseClientDatabase(state, ui);
    // Nothing the user sees is changed by the save, saved or not.
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].cells, cells[i].cells) << i;
    return {convertExitStatus(saved), out.str()};
}

TEST(SaveSafety, each_case_saves_the_right_rows_names_the_others_and_ends_with_its_status)
{
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto folder = dir.path();
        ASSERT_EQ(demo::writeDemoDatabases(folder), "");
        if (c.prepare)
            c.prepare(folder);
        const auto database = path(folder, c.file);
        // The records are looked at in the database the rows come from.
        const auto recordsFile = std::string(c.file) == "TONDRA3.MDB" ? path(folder, demo::kDorvanFile) : database;
        std::optional<Records> untouched, written;
        const auto look = [&] {
            const char* table =
                c.table ? c.table
                        : (c.fixedDeductions ? "Festabzug"
                                             : (std::string(c.format) == "4" ? "Personal" : "Personenkonten"));
            if (c.untouched)
                untouched.emplace(recordsFile, table, c.untouched);
            if (c.written)
                written.emplace(recordsFile, table, c.written);
        };
        RunResult run;
        if (c.meanwhile) {
            run = runWithChangeMeanwhile(c, folder, look);
        } else {
            look();
            run = runCommand(c, folder);
        }

        EXPECT_EQ(run.status, c.status) << run.output;
        if (c.status == 0) {
            EXPECT_EQ(run.output.find("nicht gespeichert"), std::string::npos) << run.output;
        }
        std::size_t at = 0;
        for (const auto& part : c.output) {
            at = run.output.find(part, at);
            EXPECT_NE(at, std::string::npos) << part << "\nin:\n" << run.output;
        }
        if (untouched) {
            EXPECT_EQ(untouched->now(), untouched->before);
        }
        if (written) {
            const auto after = written->now();
            ASSERT_EQ(after.size(), written->before.size());
            for (std::size_t i = 0; i < after.size(); ++i)
                EXPECT_NE(after[i], written->before[i]) << "not written: " << after[i];
        }
        EXPECT_EQ(test::valueOf(recordsFile, "PRAGMA integrity_check"), "ok");
    }
}

} // namespace
} // namespace zelvan
