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

constexpr const char* kMarloStatement =
    "SELECT OPKontoNr, Suchname, BankBLZ, BankKontoNr, BankBIC, BankIBAN, IBANKonvertierHinweis, BankName, "
    "IBANKonvertierNr FROM Personenkonten WHERE Not ISNULL(BankKontoNr) AND BankKontoNr <> '' AND Not "
    "ISNULL(BankBLZ) AND BankBLZ <> '' ORDER BY OPKontoNr";

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

    std::vector<std::string> column(AccountColumn column) const
    {
        std::vector<std::string> values;
        for (const auto& row : rows)
            values.push_back(row[column]);
        return values;
    }
};

using Strings = std::vector<std::string>;

TEST(WorkingSetLoader, statements_per_format_and_option)
{
    ProgramState state;
    state.format = ClientFormat::MarloOp;
    state.tableName = "Personenkonten";
    EXPECT_EQ(workingSetStatement(state, 0), kMarloStatement);
    EXPECT_EQ(workingSetStatement(state, 2), kMarloStatement);
    state.format = ClientFormat::Tondra;
    state.tableName = "Kunden";
    EXPECT_EQ(workingSetStatement(state, 1),
              "SELECT OPKontoNr, Suchname, BankBLZ, BankKontoNr, BankBIC, BankIBAN, IBANKonvertierHinweis, BankName, "
              "IBANKonvertierNr FROM Kunden WHERE Not ISNULL(BankKontoNr) AND BankKontoNr <> '' AND Not "
              "ISNULL(BankBLZ) AND BankBLZ <> '' AND (ISNULL(BankIBAN) OR TRIM$(BankIBAN) = '') ORDER BY OPKontoNr");
    state.format = ClientFormat::Galdo;
    EXPECT_EQ(workingSetStatement(state, 1),
              "SELECT Personal.Nr, Personal.Suchname, Banken.BLZ, Personal.[Konto-Nr], Banken.BankBIC, "
              "Personal.BankIBAN, Personal.IBANKonvertierHinweis, Banken.Bezeichnung, Personal.IBANKonvertierNr FROM "
              "Personal RIGHT JOIN Banken ON Personal.BankNr = Banken.Nr  ORDER BY Personal.Nr");
    state.fixedDeductions = true;
    EXPECT_EQ(workingSetStatement(state, 0),
              "SELECT Personal.Nr, Personal.Suchname, Banken.BLZ, Festabzug.[Konto-Nr], Banken.BankBIC, "
              "Festabzug.BankIBAN, Festabzug.IBANKonvertierHinweis, Banken.Bezeichnung, Festabzug.IBANKonvertierNr, "
              "Festabzug.Zeile FROM Personal, Banken, Festabzug WHERE Festabzug.BankNr = Banken.Nr and Personal.Nr = "
              "Festabzug.PersonalNr ORDER BY Personal.Nr");
}

TEST(WorkingSetLoader, marlo_rows_without_account_or_blz_are_left_out_and_the_rest_ordered_by_key)
{
    DemoFiles files;
    Load load(ClientFormat::MarloOp, files.marlo());
    // 10020 and 10050 lack the account number, 10030 and 10040 the BLZ (null or empty);
    // 10090 has blanks for an account number and stays.
    EXPECT_EQ(load.column(AccountColumn::Key),
              (Strings{"100", "9990", "10000", "10010", "10060", "10070", "10080", "10090", "10100"}));
    const AccountRow& row = load.rows[2];
    EXPECT_EQ(row.cells, (std::array<std::string, kAccountColumnCount>{"10000", "MUELLER BAU", "10010010", "1234565",
                                                                       "", "", "", "Musterbank Berlin", "", ""}));
    EXPECT_EQ(load.rows[7][AccountColumn::Account], "  ");
    EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: 9");
    EXPECT_EQ(load.outcome.columnCount, 9u);
    EXPECT_TRUE(load.ui.messages.empty());
}

TEST(WorkingSetLoader, the_option_hides_rows_with_an_iban_only_when_checked)
{
    DemoFiles files;
    const auto path = files.marlo({.ibanFields = demo::IbanFields::All});
    // 10060 has an IBAN; 10010 and 100 an empty one, 10080 blanks, the others none.
    Load hidden(ClientFormat::MarloOp, path, {.hideRowsWithIban = 1});
    EXPECT_EQ(hidden.column(AccountColumn::Key),
              (Strings{"100", "9990", "10000", "10010", "10070", "10080", "10090", "10100"}));
    EXPECT_EQ(hidden.rows[5][AccountColumn::Iban], "   ");

    for (const int value : {0, 2}) {
        Load shown(ClientFormat::MarloOp, path, {.hideRowsWithIban = value});
        EXPECT_EQ(shown.rows.size(), 9u) << value;
        EXPECT_EQ(shown.rows[4][AccountColumn::Iban], "DE85702501500000123455");
    }
}

TEST(WorkingSetLoader, tondra_and_dorvan)
{
    DemoFiles files;
    Load tondra(ClientFormat::Tondra, files.tondra({.ibanFields = demo::IbanFields::AllButHintNumber}),
                {.hideRowsWithIban = 1});
    EXPECT_EQ(tondra.column(AccountColumn::Key), (Strings{"20001", "20002", "20006"}));
    EXPECT_EQ(tondra.state.tableName, "Kunden");

    Load dorvan(ClientFormat::Dorvan, files.dorvan({.ibanFields = demo::IbanFields::All}));
    EXPECT_EQ(dorvan.column(AccountColumn::Key), (Strings{"30005", "30010", "30020", "30040"}));
    EXPECT_EQ(dorvan.column(AccountColumn::BankName),
              (Strings{"Kreissparkasse München", "Volksbank Leipzig", "Musterbank Berlin", "Handelsbank Frankfurt"}));
}

TEST(WorkingSetLoader, galdo_personnel_shows_every_bank_and_only_employees_with_a_bank)
{
    DemoFiles files;
    Load load(ClientFormat::Galdo, files.galdo({.ibanFields = false, .bankBic = true}));
    ASSERT_EQ(load.rows.size(), 8u);
    EXPECT_EQ(load.outcome.columnCount, 9u);
    // Banks 4 and 6 have no employees: their rows come first (empty key); employee 5's bank
    // does not exist and employee 6 has none, so both are missing.
    EXPECT_EQ(load.column(AccountColumn::Key), (Strings{"", "", "1", "2", "3", "4", "7", "8"}));
    Strings emptyRowBanks = {load.rows[0][AccountColumn::BankName], load.rows[1][AccountColumn::BankName]};
    std::sort(emptyRowBanks.begin(), emptyRowBanks.end());
    EXPECT_EQ(emptyRowBanks, (Strings{"Barauszahlung", "Volksbank Leipzig"}));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(load.rows[i][AccountColumn::SearchName], "");
        EXPECT_EQ(load.rows[i][AccountColumn::Account], "");
    }
    EXPECT_EQ(load.rows[2].cells,
              (std::array<std::string, kAccountColumnCount>{"1", "MEIER", "10010010", "1234565", "MUSBDEBBXXX", "", "",
                                                            "Musterbank Berlin", "", ""}));
    EXPECT_EQ(load.rows[6][AccountColumn::Iban], "");
}

TEST(WorkingSetLoader, galdo_fixed_deductions_give_one_row_per_line)
{
    DemoFiles files;
    Load load(ClientFormat::Galdo, files.galdo({.ibanFields = true, .bankBic = true}), {}, true);
    EXPECT_EQ(load.outcome.columnCount, 10u);
    // Employee 7's line refers to a bank that does not exist.
    EXPECT_EQ(load.column(AccountColumn::Key), (Strings{"1", "1", "1", "2", "5", "8"}));
    Strings lines(load.rows.size());
    std::transform(load.rows.begin(), load.rows.begin() + 3, lines.begin(), [](const AccountRow& row) {
        return row[AccountColumn::DeductionLine] + ":" + row[AccountColumn::Account];
    });
    std::sort(lines.begin(), lines.begin() + 3);
    EXPECT_EQ(Strings(lines.begin(), lines.begin() + 3), (Strings{"1:7777000", "2:8888000", "3:9999001"}));
    EXPECT_EQ(load.rows[4][AccountColumn::Account], "");
    EXPECT_EQ(load.rows[4][AccountColumn::Blz], "10090000");
    EXPECT_EQ(load.rows[5][AccountColumn::BankName], "Volksbank Leipzig");
    EXPECT_EQ(load.rows[5][AccountColumn::SearchName], "SCHWARZ");
}

TEST(WorkingSetLoader, galdo_options_are_unavailable_and_its_bank_table_is_tested)
{
    DemoFiles files;
    Load galdo(ClientFormat::Galdo, files.galdo());
    EXPECT_FALSE(galdo.outcome.bankNameOptionAvailable);
    EXPECT_FALSE(galdo.outcome.hideIbanOptionAvailable);
    Load marlo(ClientFormat::MarloOp, files.marlo());
    EXPECT_TRUE(marlo.outcome.bankNameOptionAvailable);
    EXPECT_TRUE(marlo.outcome.hideIbanOptionAvailable);

    const auto withoutBanks = files.galdo({}, "GALD002.MDB");
    test::executeOn(withoutBanks, "DROP TABLE Banken");
    Load missing(ClientFormat::Galdo, withoutBanks);
    ASSERT_EQ(missing.ui.messages.size(), 1u);
    EXPECT_EQ(missing.ui.messages[0].text, "Die Tabelle Banken ist nicht vorhanden.\rDaher können keine "
                                           "Konvertierungsdaten ermittelt werden.\r\rBitte wählen Sie eine andere "
                                           "Datenbank zum Umwandeln aus.");
    EXPECT_TRUE(missing.rows.empty());
}

TEST(WorkingSetLoader, grid_columns_of_the_account_formats)
{
    DemoFiles files;
    Load load(ClientFormat::MarloOp, files.marlo(), {.freeManualInput = 1});
    const auto& columns = load.outcome.columns;
    ASSERT_EQ(columns.size(), 9u);
    const Strings headings = {
        "OPKontoNr", "Suchname",        "BankBLZ", "BankKontoNr", "BankBIC", "BankIBAN", "IBANKonvertierHinweis",
        "BankName",  "IBANKonvertierNr"};
    const int lengths[] = {0, 0, 8, 12, 11, 34, 0, 0, 0};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].heading, headings[i]);
        EXPECT_EQ(columns[i].editable, lengths[i] > 0) << i;
        EXPECT_EQ(columns[i].bankColumn, lengths[i] > 0) << i;
        EXPECT_EQ(columns[i].maxLength, lengths[i]) << i;
    }
    // Switching the option only sets up the columns again.
    for (const auto& column : BindGridColumns(load.recordset, 0))
        EXPECT_FALSE(column.editable);
    for (const int value : {1, 2}) {
        const auto freed = BindGridColumns(load.recordset, value);
        EXPECT_TRUE(freed[5].editable);
    }
}

TEST(WorkingSetLoader, grid_columns_of_galdo_free_only_bic_and_iban)
{
    DemoFiles files;
    Load load(ClientFormat::Galdo, files.galdo(), {.freeManualInput = 1}, true);
    const auto& columns = load.outcome.columns;
    ASSERT_EQ(columns.size(), 10u);
    const Strings headings = {
        "Nr",          "Suchname",         "BLZ",  "Konto-Nr", "BankBIC", "BankIBAN", "IBANKonvertierHinweis",
        "Bezeichnung", "IBANKonvertierNr", "Zeile"};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].heading, headings[i]);
        EXPECT_EQ(columns[i].editable, i == 4 || i == 5) << i;
    }
    EXPECT_EQ(columns[4].maxLength, 11);
    EXPECT_EQ(columns[5].maxLength, 34);
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

TEST(WorkingSetLoader, no_path_or_a_missing_file_gives_an_empty_grid_without_a_message)
{
    DemoFiles files;
    Load load(ClientFormat::MarloOp, files.marlo());
    ASSERT_TRUE(load.state.database.isOpen());
    for (const auto& path : {std::string(), files.path("MARL404.MDB")}) {
        load.state.databasePath = path;
        load.run();
        EXPECT_TRUE(load.rows.empty());
        EXPECT_EQ(load.recordset.fieldCount(), 0u);
        EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: 0");
        EXPECT_TRUE(load.outcome.columns.empty());
        EXPECT_FALSE(load.outcome.convertEnabled);
        EXPECT_TRUE(load.ui.messages.empty());
        EXPECT_FALSE(load.state.database.isOpen());
        EXPECT_EQ(load.ui.statusTexts.back(), "Bereit");
        EXPECT_EQ(load.ui.busyDepth, 0);
    }
}

TEST(WorkingSetLoader, a_file_that_is_no_database_gives_one_message_with_its_cause_and_an_empty_grid)
{
    DemoFiles files;
    Load load(ClientFormat::MarloOp, files.marlo());
    ASSERT_EQ(load.rows.size(), 9u);
    load.state.databasePath = files.file("MARL002.MDB", std::string("\0\1\0\0Standard Jet DB", 19));
    load.run();
    ASSERT_EQ(load.ui.messages.size(), 1u);
    EXPECT_EQ(load.ui.messages[0].text, "Fehler beim Öffnen der Haupt-Datenbank\r" + load.state.databasePath +
                                            "\rNummer:3003\rDie Datei ist eine Access-Datenbank. Sie muss erst in eine "
                                            "SQLite-Datenbank umgewandelt werden, bevor sie hier bearbeitet werden "
                                            "kann.");
    EXPECT_TRUE(load.rows.empty());
    EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: 0");
    EXPECT_FALSE(load.state.database.isOpen());
    EXPECT_FALSE(load.outcome.convertEnabled);
}

TEST(WorkingSetLoader, a_read_only_file_is_named_as_the_cause_when_fields_are_missing)
{
    DemoFiles files;
    const auto path = files.marlo();
    const test::ReadOnlyFile readOnly(path);
    if (::access(path.c_str(), W_OK) == 0)
        GTEST_SKIP() << "the file system lets this user write to read-only files";
    Load load(ClientFormat::MarloOp, path);
    ASSERT_EQ(load.ui.messages.size(), 1u);
    EXPECT_EQ(load.ui.messages[0].text, "Die fehlenden Felder konnten nicht in die Datenbank eingefügt werden.\r" +
                                            path + "\rNummer:8\rDie Datenbankdatei \"" + path +
                                            "\" ist schreibgeschützt.\rDie Datenbank ist unverändert.");
    EXPECT_EQ(load.ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(load.outcome.succeeded);
    EXPECT_TRUE(load.rows.empty());
    EXPECT_FALSE(load.outcome.convertEnabled);
    EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: 0");
    EXPECT_FALSE(load.state.database.isOpen());
}

TEST(WorkingSetLoader, a_read_only_folder_is_named_as_the_cause_when_fields_are_missing)
{
    DemoFiles files;
    const auto path = files.marlo();
    const auto folder = std::filesystem::path(path).parent_path().string();
    const test::ReadOnlyFolder readOnly(folder);
    if (!readOnly.holds())
        GTEST_SKIP() << "the file system lets this user write to read-only folders";
    // Without a backup (convert --ohne-sicherung); with one, the copy fails first and says why.
    Load load(ClientFormat::MarloOp, path, {}, false, false);
    ASSERT_EQ(load.ui.messages.size(), 1u);
    const auto& text = load.ui.messages[0].text;
    EXPECT_TRUE(text.starts_with("Die fehlenden Felder konnten nicht in die Datenbank eingefügt werden.\r" + path +
                                 "\rNummer:"))
        << text;
    EXPECT_TRUE(text.ends_with("\rDer Ordner \"" + folder +
                               "\" ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht angelegt "
                               "werden.\rDie Datenbank ist unverändert."))
        << text;
    EXPECT_TRUE(load.rows.empty());
    EXPECT_EQ(test::runSql(path, "SELECT BankIBAN FROM Personenkonten"), "no such column: BankIBAN");
}

TEST(WorkingSetLoader, a_lock_held_past_the_waiting_time_is_named_as_the_cause)
{
    DemoFiles files;
    const auto path = files.marlo();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    Load load(ClientFormat::MarloOp, path);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_EQ(load.ui.messages.size(), 1u);
    EXPECT_EQ(load.ui.messages[0].text, "Die fehlenden Felder konnten nicht in die Datenbank eingefügt werden.\r" +
                                            path +
                                            "\rNummer:5\rDie Datenbank ist von einem anderen Programm gesperrt.\r"
                                            "Die Datenbank ist unverändert.");
    EXPECT_TRUE(load.rows.empty());
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

TEST(WorkingSetLoader, bank_columns_stored_as_numbers_load_as_their_digits)
{
    struct Case {
        test::NumberCopy copy;
        Strings keys;
        Strings accounts;
    };
    // Digit texts become numbers (0000123455 keeps no leading zeros); the STRICT copy has no
    // place for the blank account of 10090, which becomes null and is left out like it.
    const Case cases[] = {
        {test::NumberCopy::Integer,
         {"100", "9990", "10000", "10010", "10060", "10070", "10080", "10090", "10100"},
         {"1000", "9988776655", "1234565", "7654324", "123455", "4711", "987654325", "  ", "123"}},
        {test::NumberCopy::Real,
         {"100", "9990", "10000", "10010", "10060", "10070", "10080", "10090", "10100"},
         {"1000", "9988776655", "1234565", "7654324", "123455", "4711", "987654325", "  ", "123"}},
        {test::NumberCopy::Strict,
         {"100", "9990", "10000", "10010", "10060", "10070", "10080", "10100"},
         {"1000", "9988776655", "1234565", "7654324", "123455", "4711", "987654325", "123"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.copy));
        DemoFiles files;
        const auto path = files.marlo();
        ASSERT_EQ(test::retypeMarlo(path, c.copy), "");
        Load load(ClientFormat::MarloOp, path);
        EXPECT_TRUE(load.ui.messages.empty()) << load.ui.messages.front().text;
        EXPECT_EQ(load.column(AccountColumn::Key), c.keys);
        EXPECT_EQ(load.column(AccountColumn::Account), c.accounts);
        EXPECT_EQ(load.rows.front()[AccountColumn::Blz], "10090000");
        EXPECT_EQ(load.rows.front().stored.account, "1000");
        load.state.database.close();
    }
}

TEST(WorkingSetLoader, a_strict_table_gets_text_fields_whose_input_length_comes_from_the_field_list)
{
    DemoFiles files;
    const auto path = files.marlo();
    ASSERT_EQ(test::retypeMarlo(path, test::NumberCopy::Strict), "");
    Load load(ClientFormat::MarloOp, path, {0, 1});
    ASSERT_EQ(load.ui.messages.size(), 0u);
    EXPECT_EQ(test::runSql(path, "INSERT INTO Personenkonten (OPKontoNr, IBANKonvertierNr) VALUES (1, 'x')"),
              "cannot store TEXT value in INTEGER column Personenkonten.IBANKonvertierNr");
    std::vector<std::pair<std::string, int>> freed;
    for (const auto& column : load.outcome.columns) {
        if (column.editable)
            freed.emplace_back(column.heading, column.maxLength);
    }
    // BLZ and account are INTEGER columns here: no length limit, not the storage size 4.
    EXPECT_EQ(freed, (std::vector<std::pair<std::string, int>>{
                         {"BankBLZ", 0}, {"BankKontoNr", 0}, {"BankBIC", 11}, {"BankIBAN", 34}}));
    load.state.database.close();
}

TEST(WorkingSetLoader, a_wal_database_another_program_holds_open_loads_with_its_unmerged_rows)
{
    DemoFiles files;
    const auto path = files.marlo();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;"
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                           "INSERT INTO Personenkonten (OPKontoNr, Suchname, BankBLZ, BankKontoNr) "
                           "SELECT 50000 + i, printf('%.200c', 'x'), '10010010', '1234565' FROM n",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_LT(std::filesystem::file_size(path), std::filesystem::file_size(path + "-wal"));

    Load load(ClientFormat::MarloOp, path);
    EXPECT_TRUE(load.ui.messages.empty()) << load.ui.messages.front().text;
    EXPECT_TRUE(load.outcome.succeeded);
    EXPECT_EQ(load.rows.size(), 309u);
    load.state.database.close();
    sqlite3_close(other);
}

TEST(WorkingSetLoader, a_linked_tondra_database_loads_the_marlo_rows)
{
    DemoFiles files;
    const auto marlo = files.marlo();
    Load load(ClientFormat::Tondra, files.linkedTondra(marlo));
    EXPECT_TRUE(load.outcome.redirected);
    EXPECT_EQ(load.state.format, ClientFormat::MarloOp);
    EXPECT_EQ(load.state.databasePath, marlo);
    EXPECT_EQ(load.rows.size(), 9u);
    EXPECT_EQ(load.ui.messages.size(), 1u);
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

TEST(WorkingSetLoader, populate_recordset_leaves_the_cursor_on_the_first_record)
{
    Recordset recordset({{"a", 0}}, {"1", "2", "3"}, {false, false, false});
    recordset.moveLast();
    EXPECT_EQ(recordset.position(), 2u);
    PopulateRecordset(recordset);
    EXPECT_EQ(recordset.position(), 0u);
    EXPECT_EQ(recordset.recordCount(), 3u);
    Recordset empty;
    PopulateRecordset(empty);
    EXPECT_EQ(empty.recordCount(), 0u);
}

TEST(WorkingSetLoader, a_database_that_could_not_be_copied_is_not_loaded_and_only_the_reason_is_shown)
{
    DemoFiles files;
    const auto path = files.marlo();
    files.file("Sicherung_ZELVAN", "eine Datei");
    Load load(ClientFormat::MarloOp, path);
    EXPECT_FALSE(load.outcome.succeeded);
    ASSERT_EQ(load.ui.messages.size(), 1u);
    EXPECT_TRUE(
        load.ui.messages[0].text.starts_with("Fehler beim Öffnen der Haupt-Datenbank\r" + path + "\rNummer:3040\r"))
        << load.ui.messages[0].text;
    EXPECT_TRUE(load.rows.empty());
    EXPECT_EQ(load.outcome.gridCaption, "Anzahl Datensätze: 0");
    EXPECT_EQ(load.ui.statusTexts.back(), "Bereit");
}

} // namespace
} // namespace zelvan
