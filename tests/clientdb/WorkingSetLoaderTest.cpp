#include "clientdb/WorkingSetLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AlteredDatabases.h"
#include "DemoFiles.h"
#include "ReadOnlyFile.h"
#include "support/RecordingUserInterface.h"

namespace zelvan {
namespace {

using test::DemoFiles;
using test::RecordingUserInterface;

// One load with its results.
struct Load {
    ProgramState state;
    WorkingSetArray rows;
    Recordset recordset;
    RecordingUserInterface ui;
    LoadOutcome outcome;

    Load(ClientFormat format, const std::string& path, LoadOptions options = {}, bool fixedDeductions = false,
         bool backups = true)
    {
        state.format = format;
        state.databasePath = path;
        state.fixedDeductions = fixedDeductions;
        state.backups.setEnabled(backups);
        run(options);
    }
    void run(LoadOptions options = {}) { outcome = LoadWorkingSet(state, rows, recordset, options, ui); }
};

using Strings = std::vector<std::string>;

// The cells of a row, joined by "|".
std::string cellsOf(const AccountRow& row)
{
    std::string cells;
    for (const auto& cell : row.cells)
        cells += cell + "|";
    return cells;
}

// Marlo: 10020 and 10050 lack the account number, 10030 and 10040 the BLZ (null or empty); 10090
// has blanks for an account number and stays. With IBAN fields, 10060 has an IBAN, 10010 and 100
// an empty one and 10080 blanks. Galdo: banks 4 and 6 have no employees, their rows come first
// (empty key); employee 5's bank does not exist and employee 6 has none. Of the fixed deductions,
// employee 7's line refers to a bank that does not exist.
TEST(WorkingSetLoader, each_format_loads_the_rows_with_bank_details_ordered_by_key)
{
    DemoFiles files;
    const auto marloWithIbans = files.marlo({.ibanFields = demo::IbanFields::All}, "MARL002.MDB");
    struct Case {
        ClientFormat format;
        std::string path;
        int hideRowsWithIban;
        bool fixedDeductions;
        const char* keys;
        const char* cells; // of one of the rows
    };
    const Case cases[] = {
        {ClientFormat::MarloOp, files.marlo(), 0, false, "100 9990 10000 10010 10060 10070 10080 10090 10100",
         "10000|MUELLER BAU|10010010|1234565||||Musterbank Berlin|||"},
        {ClientFormat::MarloOp, marloWithIbans, 1, false, "100 9990 10000 10010 10070 10080 10090 10100",
         "10080|RICHTER|10090000|987654325||   ||Bürgerbank Berlin|||"},
        {ClientFormat::MarloOp, marloWithIbans, 2, false, "100 9990 10000 10010 10060 10070 10080 10090 10100",
         "10060|SCHULZ|70250150|0000123455||DE85702501500000123455||Kreissparkasse München|||"},
        {ClientFormat::Tondra, files.tondra({.ibanFields = demo::IbanFields::AllButHintNumber}), 1, false,
         "20001 20002 20006", "20001|ALTMANN|79050000|3344556679||||Stadtsparkasse Würzburg|||"},
        {ClientFormat::Dorvan, files.dorvan({.ibanFields = demo::IbanFields::All}), 0, false, "30005 30010 30020 30040",
         "30010|WEG LINDENSTR|86095604|4455667785||DE78860956044455667785||Volksbank Leipzig|||"},
        {ClientFormat::Galdo, files.galdo({.ibanFields = false, .bankBic = true}), 0, false, "  1 2 3 4 7 8",
         "1|MEIER|10010010|1234565|MUSBDEBBXXX|||Musterbank Berlin|||"},
        {ClientFormat::Galdo, files.galdo({.ibanFields = true, .bankBic = true}, "GALD002.MDB"), 0, true, "1 1 1 2 5 8",
         "5|LEHMANN|10090000|||||Bürgerbank Berlin||1|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Load load(c.format, c.path, {.hideRowsWithIban = c.hideRowsWithIban}, c.fixedDeductions);
        EXPECT_TRUE(load.ui.messages.empty());
        std::string keys;
        Strings cells;
        for (const auto& row : load.rows) {
            keys += (cells.empty() ? "" : " ") + row[AccountColumn::Key];
            cells.push_back(cellsOf(row));
        }
        EXPECT_EQ(keys, c.keys);
        EXPECT_NE(std::find(cells.begin(), cells.end(), c.cells), cells.end()) << c.cells;
        EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: " + std::to_string(load.rows.size()));
        EXPECT_EQ(load.outcome.columnCount, c.fixedDeductions ? 10u : 9u);
        // Galdo offers neither the bank name nor the IBAN filter.
        EXPECT_EQ(load.outcome.bankNameOptionAvailable, c.format != ClientFormat::Galdo);
        EXPECT_EQ(load.outcome.hideIbanOptionAvailable, c.format != ClientFormat::Galdo);
    }
}

// Only the bank columns can be freed for input, each as long as its field; number columns of a
// STRICT table have no length limit, not the storage size 4.
TEST(WorkingSetLoader, free_input_opens_the_bank_columns_with_the_length_of_their_fields)
{
    struct Case {
        const char* name;
        ClientFormat format;
        bool strict;
        bool fixedDeductions;
        Strings freed;
    };
    const Case cases[] = {
        {"Marlo", ClientFormat::MarloOp, false, false, {"BankBLZ:8", "BankKontoNr:12", "BankBIC:11", "BankIBAN:34"}},
        {"Marlo STRICT",
         ClientFormat::MarloOp,
         true,
         false,
         {"BankBLZ:0", "BankKontoNr:0", "BankBIC:11", "BankIBAN:34"}},
        {"Galdo", ClientFormat::Galdo, false, true, {"BankBIC:11", "BankIBAN:34"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DemoFiles files;
        const auto path = c.format == ClientFormat::Galdo ? files.galdo() : files.marlo();
        if (c.strict) {
            ASSERT_EQ(test::retypeMarlo(path, test::NumberCopy::Strict), "");
        }
        Load load(c.format, path, {.freeManualInput = 1}, c.fixedDeductions);
        Strings freed;
        for (const auto& column : load.outcome.columns) {
            if (column.editable)
                freed.push_back(column.heading + ":" + std::to_string(column.maxLength));
        }
        EXPECT_EQ(freed, c.freed);
        // Switching the option only sets up the columns again.
        EXPECT_TRUE(BindGridColumns(load.recordset, 2)[5].editable);
        for (const auto& column : BindGridColumns(load.recordset, 0))
            EXPECT_FALSE(column.editable);
        load.state.database.close();
    }
}

TEST(WorkingSetLoader, status_texts_busy_pointer_buttons_and_event_turns)
{
    DemoFiles files;
    Load load(ClientFormat::MarloOp, files.marlo());
    EXPECT_EQ(load.ui.statusTexts, (Strings{"Datenbank wird geöffnet, Datenstrukturen werden geprüft/ergänzt...",
                                            "Daten werden eingelesen...", "Bereit"}));
    EXPECT_TRUE(load.ui.wasBusy);
    EXPECT_EQ(load.ui.busyDepth, 0);
    EXPECT_EQ(load.ui.eventTurns, 2);
    EXPECT_FALSE(load.outcome.saveEnabled);
    EXPECT_TRUE(load.outcome.convertEnabled);
}

// Each load that ends without rows: an empty grid, no conversion, and the cause in one message.
TEST(WorkingSetLoader, a_load_that_fails_gives_an_empty_grid_and_at_most_one_message)
{
    DemoFiles files;
    const auto noBanks = files.galdo();
    test::executeOn(noBanks, "DROP TABLE Banken");
    const auto access = files.file("MARL002.MDB", std::string("\0\1\0\0Standard Jet DB", 19));
    const auto marlo = files.marlo({}, "MARL003.MDB");
    struct Case {
        const char* name;
        ClientFormat format;
        std::string path;
        bool closed; // no database stays open, not even the one of the earlier load
        std::string message;
    };
    // The table checks come once the database is open, which then stays open.
    const Case cases[] = {
        {"no path", ClientFormat::MarloOp, "", true, ""},
        {"a missing file", ClientFormat::MarloOp, files.path("MARL404.MDB"), true, ""},
        {"no database", ClientFormat::MarloOp, access, true,
         "Fehler beim Öffnen der Haupt-Datenbank\r" + access +
             "\rNummer:3003\rDie Datei ist eine Access-Datenbank. Sie muss erst in eine SQLite-Datenbank umgewandelt "
             "werden, bevor sie hier bearbeitet werden kann."},
        {"Tondra on a Marlo database", ClientFormat::Tondra, marlo, false,
         "Fehler beim Öffnen der Haupt-Datenbank\r" + marlo +
             "\rNummer:3011\rDie Tabelle Kunden ist in der Datenbank nicht vorhanden."},
        {"Galdo without banks", ClientFormat::Galdo, noBanks, false,
         "Die Tabelle Banken ist nicht vorhanden.\rDaher können keine Konvertierungsdaten ermittelt werden.\r\rBitte "
         "wählen Sie eine andere Datenbank zum Umwandeln aus."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load load(ClientFormat::MarloOp, files.marlo());
        ASSERT_EQ(load.rows.size(), 9u);
        load.state.format = c.format;
        load.state.databasePath = c.path;
        const auto before = test::bytesOf(c.path);
        load.run();
        EXPECT_EQ(test::bytesOf(c.path), before) << "the file stays as it was";
        EXPECT_FALSE(c.closed && load.state.database.isOpen());
        EXPECT_TRUE(load.rows.empty());
        EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: 0");
        EXPECT_TRUE(load.outcome.columns.empty());
        EXPECT_FALSE(load.outcome.convertEnabled);
        EXPECT_EQ(load.ui.messages.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(load.ui.messages.back().text, c.message);
        }
        EXPECT_EQ(load.ui.statusTexts.back(), "Bereit");
        EXPECT_EQ(load.ui.busyDepth, 0);
    }
}

TEST(WorkingSetLoader, a_full_disk_is_named_as_the_cause_when_fields_are_missing)
{
    test::TempDir dir;
    const test::SmallFileSystem disk(dir.path() / "klein");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine lets no file system be mounted here";
    const auto path = (disk.path() / "MARL001.MDB").string();
    ASSERT_EQ(demo::writeMarloDatabase(path, {}), "");
    disk.fill();
    Load load(ClientFormat::MarloOp, path, {}, false, false);
    ASSERT_EQ(load.ui.messages.size(), 1u);
    EXPECT_EQ(load.ui.messages[0].text, "Die fehlenden Felder konnten nicht in die Datenbank eingefügt werden.\r" +
                                            path +
                                            "\rNummer:13\rDer Datenträger ist voll.\rDie Datenbank ist unverändert.");
    EXPECT_TRUE(load.rows.empty());
}

TEST(WorkingSetLoader, a_wal_database_another_program_holds_open_loads_with_its_unmerged_rows)
{
    DemoFiles files;
    const auto path = files.marlo();
    const test::OtherProgram other(path,
                                   "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;"
                                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                                   "INSERT INTO Personenkonten (OPKontoNr, Suchname, BankBLZ, BankKontoNr) "
                                   "SELECT 50000 + i, printf('%.200c', 'x'), '10010010', '1234565' FROM n");
    ASSERT_TRUE(other.ran());
    ASSERT_LT(std::filesystem::file_size(path), std::filesystem::file_size(path + "-wal"));

    Load load(ClientFormat::MarloOp, path);
    EXPECT_TRUE(load.ui.messages.empty()) << load.ui.messages.front().text;
    EXPECT_EQ(load.rows.size(), 309u);
    load.state.database.close();
}

TEST(WorkingSetLoader, a_read_only_marlo_database_behind_a_tondra_link_is_named)
{
    DemoFiles files;
    const auto marlo = files.marlo();
    const auto tondra = files.linkedTondra(marlo);
    const test::ReadOnlyFile readOnly(marlo);
    if (::access(marlo.c_str(), W_OK) == 0)
        GTEST_SKIP() << "the file system lets this user write to read-only files";
    Load load(ClientFormat::Tondra, tondra);
    ASSERT_EQ(load.ui.messages.size(), 2u);
    EXPECT_EQ(load.ui.messages[1].text, "Die fehlenden Felder konnten nicht in die Datenbank eingefügt werden.\r" +
                                            marlo + "\rNummer:8\rDie Datenbankdatei \"" + marlo +
                                            "\" ist schreibgeschützt.\rDie Datenbank ist unverändert.");
    EXPECT_TRUE(load.rows.empty());
}

TEST(WorkingSetLoader, a_result_without_rows)
{
    DemoFiles files;
    const auto path = files.marlo();
    test::executeOn(path, "UPDATE Personenkonten SET BankKontoNr = NULL");
    Load load(ClientFormat::MarloOp, path, {.freeManualInput = 1});
    EXPECT_TRUE(load.rows.empty());
    EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: 0");
    EXPECT_EQ(load.outcome.columnCount, 0u);
    EXPECT_TRUE(load.outcome.columns.empty());
    EXPECT_TRUE(load.outcome.convertEnabled);
    EXPECT_TRUE(load.ui.messages.empty());
}

// The save compares a record with what was loaded from it; the grid's cells may change later.
TEST(WorkingSetLoader, every_row_remembers_the_bank_details_it_was_loaded_with)
{
    DemoFiles files;
    for (const bool fixedDeductions : {false, true}) {
        for (const auto& [format, path] :
             {std::pair{ClientFormat::Dorvan, files.dorvan({.ibanFields = demo::IbanFields::All})},
              std::pair{ClientFormat::Galdo, files.galdo({.ibanFields = true, .bankBic = true})}}) {
            Load load(format, path, {}, fixedDeductions);
            ASSERT_FALSE(load.rows.empty());
            for (const auto& row : load.rows) {
                EXPECT_EQ(row.stored.blz, row[AccountColumn::Blz]);
                EXPECT_EQ(row.stored.account, row[AccountColumn::Account]);
                EXPECT_EQ(row.stored.bic, row[AccountColumn::Bic]);
                EXPECT_EQ(row.stored.iban, row[AccountColumn::Iban]);
            }
        }
    }
}

} // namespace
} // namespace zelvan
