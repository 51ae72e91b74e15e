#include "clientdb/WorkingSetSaver.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "AlteredDatabases.h"
#include "DemoFiles.h"
#include "clientdb/ClientDatabase.h"
#include "clientdb/WorkingSetLoader.h"
#include "core/Windows1252.h"
#include "iban/ConversionRun.h"
#include "support/RecordingUserInterface.h"
#include "support/RuleTestDirectory.h"

namespace zelvan {
namespace {

using test::DemoFiles;

// The first value of the first row, "NULL" for null, "" when there is no row.
std::string query(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(statement, 0);
        value = text ? reinterpret_cast<const char*>(text) : "NULL";
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

// A loaded working set, ready to be changed and saved.
struct Session {
    ProgramState state;
    WorkingSetArray rows;
    Recordset recordset;
    test::RecordingUserInterface ui;
    SaveReport report;

    Session(ClientFormat format, const std::string& path, bool fixedDeductions = false)
    {
        state.format = format;
        state.databasePath = path;
        state.fixedDeductions = fixedDeductions;
        const auto outcome = LoadWorkingSet(state, rows, recordset, {}, ui);
        EXPECT_TRUE(outcome.succeeded);
        ui.messages.clear();
    }
    AccountRow& row(const std::string& key)
    {
        for (auto& candidate : rows) {
            if (candidate[AccountColumn::Key] == key)
                return candidate;
        }
        ADD_FAILURE() << "no row " << key;
        return rows.front();
    }
    SaveOutcome save(SaveOptions options = {})
    {
        options.programFolder = "/nirgends/";
        return SaveWorkingSet(state, rows, options, report, ui);
    }
    const std::string& summary() const { return ui.messages.back().text; }
    // The end of the summary once the protocol has been written beside the database.
    std::string folderLine() const { return "\r\n\r\nProtokoll und CSV-Dateien im Ordner: " + folder(); }
    std::string folder() const { return std::filesystem::path(state.databasePath).parent_path().string() + "/"; }
};

void fill(AccountRow& row, const std::string& bic, const std::string& iban, const std::string& hint)
{
    row[AccountColumn::Bic] = bic;
    row[AccountColumn::Iban] = iban;
    row[AccountColumn::Hint] = hint;
}

const std::string kHint101 = "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber";
const std::string kHint3 = "3-BLZ ist nicht im Bundesbank-Bestand";

} // namespace

void PrintTo(ClientFormat format, std::ostream* os)
{
    *os << "Format" << static_cast<int>(format);
}

namespace {

class AccountFormatSave : public testing::TestWithParam<ClientFormat> {
protected:
    std::string database()
    {
        switch (GetParam()) {
        case ClientFormat::Tondra:
            return m_files.tondra();
        case ClientFormat::Dorvan:
            return m_files.dorvan({demo::IbanFields::All});
        default:
            return m_files.marlo();
        }
    }
    std::string table() const { return GetParam() == ClientFormat::Tondra ? "Kunden" : "Personenkonten"; }
    DemoFiles m_files;
};

TEST_P(AccountFormatSave, writes_bank_fields_hint_number_and_counts)
{
    const auto path = database();
    Session session(GetParam(), path);
    ASSERT_GE(session.rows.size(), 3u);
    auto& first = session.rows[0];
    auto& second = session.rows[1];
    auto& third = session.rows[2];
    const auto bankName = first[AccountColumn::BankName];
    fill(first, "  TESTDEFFXXX ", " DE96500604000000011404 ", "");
    fill(second, "TESTDEFF   ", "DE02500604000000000001", kHint101);
    fill(third, "", "", kHint3);
    first[AccountColumn::Account] = "11404";      // edited in the grid
    first[AccountColumn::BankName] = "Neue Bank"; // written only with the option

    const auto outcome = session.save();

    EXPECT_TRUE(outcome.committed);
    EXPECT_FALSE(outcome.changesLeft());
    // The bank fields and the hint of a row as stored, "|" between them.
    const auto stored = [&](const AccountRow& row) {
        return query(path, "SELECT printf('%s|%s|%s|%s|%s|%s', BankBIC, BankIBAN, BankKontoNr, IBANKonvertierHinweis, "
                           "ifnull(IBANKonvertierNr, 'NULL'), BankName) FROM " +
                               table() + " WHERE OPKontoNr = '" + row[AccountColumn::Key] + "'");
    };
    EXPECT_EQ(stored(first), "TESTDEFFXXX|DE96500604000000011404|11404||NULL|" + bankName);
    EXPECT_EQ(stored(second), "TESTDEFF|DE02500604000000000001|" + second[AccountColumn::Account] + "|" + kHint101 +
                                  "|101|" + second[AccountColumn::BankName]);
    EXPECT_EQ(stored(third),
              "||" + third[AccountColumn::Account] + "|" + kHint3 + "|3|" + third[AccountColumn::BankName]);
    EXPECT_EQ(session.summary(), "Insgesamt verarbeitete Datensätze: " + std::to_string(session.rows.size()) +
                                     "\r\n\r\nDavon mit Konvertierhinweis: 1\r\nDavon mit Fehlerhinweis: 1");
    EXPECT_EQ(session.ui.statusTexts.back(), "Bereit");
    EXPECT_EQ(session.ui.busyDepth, 0);
}

TEST_P(AccountFormatSave, bank_name_is_written_with_the_option_even_when_empty)
{
    const auto path = database();
    Session session(GetParam(), path);
    session.rows[0][AccountColumn::BankName] = "";
    session.rows[1][AccountColumn::BankName] = "Neue Bank";
    session.save({ProtocolOption::Off, true, {}});
    const auto key = [&](int i) { return "'" + session.rows[static_cast<std::size_t>(i)][AccountColumn::Key] + "'"; };
    EXPECT_EQ(query(path, "SELECT BankName FROM " + table() + " WHERE OPKontoNr = " + key(0)), "");
    EXPECT_EQ(query(path, "SELECT BankName FROM " + table() + " WHERE OPKontoNr = " + key(1)), "Neue Bank");
}

INSTANTIATE_TEST_SUITE_P(Formats, AccountFormatSave,
                         testing::Values(ClientFormat::MarloOp, ClientFormat::Tondra, ClientFormat::Dorvan));

TEST(WorkingSetSaver, a_locked_database_is_left_as_it_was_and_the_changes_stay)
{
    DemoFiles files;
    const auto path = files.marlo();
    Session session(ClientFormat::MarloOp, path);
    const auto key = session.rows[0][AccountColumn::Key];
    const auto before =
        query(path, "SELECT ifnull(BankIBAN, 'NULL') FROM Personenkonten WHERE OPKontoNr = '" + key + "'");
    for (auto& row : session.rows)
        fill(row, "TESTDEFFXXX", "DE96500604000000011404", "");

    const auto outcome = [&] {
        const test::LockingConnection other(path);
        return session.save({ProtocolOption::HintsOnly, false, {}});
    }();

    EXPECT_FALSE(outcome.committed);
    EXPECT_TRUE(outcome.changesLeft());
    ASSERT_EQ(session.ui.messages.size(), 1u);
    EXPECT_TRUE(session.ui.messages[0].text.starts_with("Die Daten konnten nicht gespeichert werden"));
    EXPECT_NE(session.ui.messages[0].text.find("Nr: 5\r\nBeschreibung: "), std::string::npos)
        << session.ui.messages[0].text;
    EXPECT_EQ(query(path, "SELECT ifnull(BankIBAN, 'NULL') FROM Personenkonten WHERE OPKontoNr = '" + key + "'"),
              before);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path).parent_path() / kProtocolFileName));
}

// The protocol beside a database, back in UTF-8.
std::string protocolOf(const std::string& database)
{
    return windows1252ToUtf8(test::bytesOf(std::filesystem::path(database).parent_path() / kProtocolFileName));
}

TEST(WorkingSetSaver, unsaved_rows_are_listed_in_the_summary_up_to_ten)
{
    struct Case {
        std::size_t deleted;
        const char* tail; // after the tenth listed row
    };
    const Case cases[] = {{10, ""}, {11, "\r\n... und 1 weitere"}, {13, "\r\n... und 3 weitere"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deleted);
        DemoFiles files;
        const auto path = files.marlo({demo::IbanFields::None, 20});
        Session session(ClientFormat::MarloOp, path);
        ASSERT_GT(session.rows.size(), c.deleted);
        std::string expected = "\r\nDavon nicht gespeichert: " + std::to_string(c.deleted);
        for (std::size_t i = 0; i < c.deleted; ++i) {
            const auto& key = session.rows[i][AccountColumn::Key];
            test::executeOn(path, "DELETE FROM Personenkonten WHERE OPKontoNr = '" + key + "'");
            fill(session.rows[i], "TESTDEFFXXX", "DE96500604000000011404", kHint101);
            if (i < 10)
                expected += "\r\n" + key + ": Datensatz nicht gefunden";
        }
        expected += c.tail + session.folderLine();

        const auto outcome = session.save({ProtocolOption::AllData, false, {}});

        EXPECT_EQ(outcome.rowsNotSaved, static_cast<int>(c.deleted));
        // A deleted row counts only as not saved, neither with its IBAN nor with its hint.
        EXPECT_EQ(outcome.counts.ibans + outcome.counts.hinted, 0);
        EXPECT_TRUE(outcome.changesLeft());
        EXPECT_TRUE(session.summary().ends_with(expected)) << session.summary();
        // The protocol lists every one of them.
        const auto protocol = protocolOf(path);
        const auto& last = session.rows[c.deleted - 1][AccountColumn::Key];
        EXPECT_NE(protocol.find(" Grund: Datensatz nicht gefunden  OPKontoNr: " + last + "\r\n"), std::string::npos)
            << protocol;
    }
}

TEST(WorkingSetSaver, two_saves_in_a_row_and_an_empty_working_set)
{
    DemoFiles files;
    const auto path = files.marlo();
    Session session(ClientFormat::MarloOp, path);
    fill(session.rows[0], "A", "B", kHint101);
    session.save({ProtocolOption::HintsOnly, false, {}});
    fill(session.rows[0], "C", "D", "");
    session.save({ProtocolOption::HintsOnly, false, {}});
    const auto key = session.rows[0][AccountColumn::Key];
    EXPECT_EQ(
        query(path, "SELECT BankIBAN || IBANKonvertierHinweis FROM Personenkonten WHERE OPKontoNr = '" + key + "'"),
        "D");
    EXPECT_EQ(session.summary(),
              "Insgesamt verarbeitete Datensätze: " + std::to_string(session.rows.size()) + session.folderLine());
    EXPECT_EQ(session.ui.messages.back().folder, session.folder()); // the box offers to open it

    session.rows.clear();
    EXPECT_TRUE(session.save().committed);
    EXPECT_EQ(session.summary(), "Insgesamt verarbeitete Datensätze: 0");
}

TEST(WorkingSetSaver, a_record_changed_meanwhile_is_refused_until_the_rows_are_loaded_again)
{
    DemoFiles files;
    const auto path = files.marlo();
    Session session(ClientFormat::MarloOp, path);
    const auto key = session.rows[0][AccountColumn::Key];
    const auto where = " FROM Personenkonten WHERE OPKontoNr = " + key;
    fill(session.rows[0], "TESTDEFFXXX", "DE96500604000000011404", "");
    test::executeOn(path, "UPDATE Personenkonten SET BankKontoNr = '4444' WHERE OPKontoNr = " + key);
    const auto typed = session.rows;

    for (int save = 0; save < 2; ++save) {
        const auto outcome = session.save();
        EXPECT_TRUE(outcome.committed);
        EXPECT_EQ(outcome.rowsNotSaved, 1);
        EXPECT_TRUE(session.summary().ends_with("\r\nDavon nicht gespeichert: 1\r\n" + key +
                                                ": inzwischen von einem anderen Programm geändert"))
            << session.summary();
        EXPECT_EQ(query(path, "SELECT BankKontoNr || ifnull(BankIBAN, 'NULL')" + where), "4444NULL");
        EXPECT_EQ(session.rows[0].cells, typed[0].cells); // what the user sees stays
    }

    Session reloaded(ClientFormat::MarloOp, path);
    fill(reloaded.rows[0], "TESTDEFFXXX", "DE96500604000000011404", "");
    EXPECT_EQ(reloaded.save().rowsNotSaved, 0);
    EXPECT_EQ(query(path, "SELECT BankKontoNr || BankIBAN" + where), "4444DE96500604000000011404");
}

TEST(WorkingSetSaver, a_typed_iban_or_bic_that_fails_its_check_is_not_written_and_named_with_the_reason)
{
    DemoFiles files;
    const auto path = files.marlo({demo::IbanFields::All});
    const std::string invalid = "DE99120300000000202051";
    // Stored long ago: a value as loaded is never checked and does not block its row.
    test::executeOn(path, "UPDATE Personenkonten SET BankIBAN = '" + invalid +
                              "' WHERE OPKontoNr = (SELECT max(OPKontoNr) FROM Personenkonten)");
    Session session(ClientFormat::MarloOp, path);
    ASSERT_GT(session.rows.size(), 3u);
    fill(session.rows[0], "", invalid, "");
    fill(session.rows[1], "COBADEF", "", "");
    fill(session.rows[2], "COBADEFFXXX", "GB29NWBK60161331926819", "");
    session.rows.back()[AccountColumn::Bic] = "COBADEFFXXX";
    for (auto& row : session.rows)
        row.typedFor = TypedFor{row[AccountColumn::Blz], row[AccountColumn::Account]};

    const auto outcome = session.save();

    EXPECT_EQ(outcome.rowsNotSaved, 2);
    EXPECT_TRUE(session.summary().ends_with("\r\nDavon nicht gespeichert: 2\r\n" + session.rows[0][AccountColumn::Key] +
                                            ": Die Prüfziffer der IBAN stimmt nicht.\r\n" +
                                            session.rows[1][AccountColumn::Key] + ": Ein BIC hat 8 oder 11 Stellen."))
        << session.summary();
    const auto banked = [&](const AccountRow& row) {
        const std::string select = "SELECT ifnull(BankBIC, '') || ' ' || ifnull(BankIBAN, '') FROM Personenkonten";
        return query(path, select + " WHERE OPKontoNr = '" + row[AccountColumn::Key] + "'");
    };
    EXPECT_EQ(banked(session.rows[0]), session.rows[0].stored.bic + " " + session.rows[0].stored.iban);
    EXPECT_EQ(banked(session.rows[1]), session.rows[1].stored.bic + " " + session.rows[1].stored.iban);
    EXPECT_EQ(banked(session.rows[2]), "COBADEFFXXX GB29NWBK60161331926819");
    EXPECT_EQ(banked(session.rows.back()), "COBADEFFXXX " + invalid);
    // Written, the typed values count as loaded: a new conversion may replace them.
    EXPECT_FALSE(session.rows[2].typedFor);
}

// The window has no format check of its own before a load: the save itself refuses an index
// that would find other records than the loaded ones.
TEST(WorkingSetSaver, a_table_keyed_otherwise_than_its_format_is_not_written_at_all)
{
    DemoFiles files;
    const auto path = files.dorvan({demo::IbanFields::All});
    Session session(ClientFormat::MarloOp, path);
    ASSERT_FALSE(session.rows.empty());
    for (auto& row : session.rows)
        fill(row, "TESTDEFFXXX", "DE96500604000000011404", "");

    const auto outcome = session.save();

    EXPECT_FALSE(outcome.committed);
    EXPECT_EQ(outcome.rowsNotSaved, static_cast<int>(session.rows.size()));
    EXPECT_EQ(session.summary(), "Die Daten konnten nicht gespeichert werden; die Datenbank ist unverändert.\r\n\r\n"
                                 "Nr: 3013\r\nBeschreibung: Die Datenbank passt nicht zum Format Marlo:\r"
                                 "Der Schlüssel der Tabelle Personenkonten ist ID statt OPKontoNr.");
    EXPECT_EQ(query(path, "SELECT count(*) FROM Personenkonten WHERE BankBIC = 'TESTDEFFXXX'"), "0");
}

TEST(WorkingSetSaver, unwritable_report_files_are_named_in_the_summary)
{
    DemoFiles files;
    const auto path = files.marlo();
    std::filesystem::create_directory(std::filesystem::path(path).parent_path() / kProtocolFileName);
    Session session(ClientFormat::MarloOp, path);
    const auto outcome = session.save({ProtocolOption::AllData, false, {}});
    EXPECT_TRUE(outcome.committed);
    ASSERT_EQ(outcome.unwrittenFiles.size(), 1u);
    EXPECT_NE(
        session.summary().find("\r\nDie Datei \"" + outcome.unwrittenFiles[0] + "\" konnte nicht geschrieben werden."),
        std::string::npos);
    // No protocol, so no folder to look in.
    EXPECT_EQ(session.summary().find("Protokoll und CSV-Dateien im Ordner"), std::string::npos) << session.summary();
    EXPECT_EQ(session.ui.messages.back().folder, "");
}

class GaldoSave : public testing::TestWithParam<bool> {};

TEST_P(GaldoSave, writes_iban_to_the_person_or_deduction_and_bic_to_the_bank)
{
    const bool fixedDeductions = GetParam();
    DemoFiles files;
    const auto path = files.galdo();
    Session session(ClientFormat::Galdo, path, fixedDeductions);
    int missing = 0;
    for (auto& row : session.rows) {
        if (row[AccountColumn::Account].size() < 2) {
            ++missing;
            fill(row, "BANKDEFFXXX", "", "");
        } else {
            fill(row, "PERSDEFFXXX", "DE96500604000000011404", kHint101);
        }
        row[AccountColumn::BankName] = "nie";
    }
    ASSERT_GT(session.rows.size(), 2u);

    const auto outcome = session.save({ProtocolOption::HintsOnly, true, {}});

    EXPECT_TRUE(outcome.committed);
    const auto table = fixedDeductions ? std::string("Festabzug") : std::string("Personal");
    const auto written = static_cast<int>(session.rows.size()) - missing;
    EXPECT_EQ(query(path, "SELECT count(*) FROM " + table +
                              " WHERE IBANKonvertierNr = 101 AND BankIBAN = "
                              "'DE96500604000000011404'"),
              std::to_string(written));
    // The BIC goes to the bank; BLZ, account and bank name of the payroll data stay.
    EXPECT_NE(query(path, "SELECT count(*) FROM Banken WHERE BankBIC IN ('BANKDEFFXXX', 'PERSDEFFXXX')"), "0");
    EXPECT_EQ(query(path, "SELECT count(*) FROM Personal WHERE \"Konto-Nr\" = 'nie'"), "0");
    std::string expected = "Insgesamt verarbeitete Datensätze: " + std::to_string(session.rows.size());
    if (missing > 0)
        expected += "\r\n\r\nDavon mit fehlender KontoNr: " + std::to_string(missing);
    expected += "\r\n\r\nDavon mit Konvertierhinweis: " + std::to_string(written);
    EXPECT_EQ(session.summary(), expected + session.folderLine());
}

// The BIC belongs to the bank: what one row of a bank wrote is no change by another program for
// the next row of that bank, in this save or in the next one of the same session.
TEST_P(GaldoSave, a_bank_bic_written_before_is_no_change_by_another_program)
{
    const bool fixedDeductions = GetParam();
    DemoFiles files;
    const auto path = files.galdo();
    Session session(ClientFormat::Galdo, path, fixedDeductions);
    AccountRow* first = nullptr;
    AccountRow* second = nullptr;
    for (auto& row : session.rows) {
        for (auto& other : session.rows) {
            if (!first && &other != &row && !row[AccountColumn::Blz].empty() &&
                other[AccountColumn::Blz] == row[AccountColumn::Blz]) {
                first = &row;
                second = &other;
            }
        }
    }
    ASSERT_NE(first, nullptr);
    const auto blz = (*first)[AccountColumn::Blz];
    const auto bankBic = "SELECT BankBIC FROM Banken WHERE BLZ = '" + blz + "'";

    fill(*first, "AAAADEFFXXX", "DE96500604000000011404", "");
    fill(*second, "", "DE96500604000000011404", "");
    EXPECT_EQ(session.save().rowsNotSaved, 0) << session.summary();
    EXPECT_EQ(query(path, bankBic), "AAAADEFFXXX");

    // Now only the other row writes the bank, which it loaded without a BIC.
    fill(*first, "", "DE96500604000000011404", "");
    fill(*second, "CCCCDEFFXXX", "DE96500604000000011404", "");
    EXPECT_EQ(session.save().rowsNotSaved, 0) << session.summary();
    EXPECT_EQ(query(path, bankBic), "CCCCDEFFXXX");
    EXPECT_EQ(first->stored.bic, "CCCCDEFFXXX");
    EXPECT_EQ(second->stored.bic, "CCCCDEFFXXX");
}

INSTANTIATE_TEST_SUITE_P(DataSets, GaldoSave, testing::Values(false, true));

// Two employees of one bank whose accounts the bank's rule gives different BICs: the bank keeps the
// BIC of the last row, the other row says so in the grid, and the protocol shows what the bank holds.
TEST(WorkingSetSaver, a_galdo_bank_whose_accounts_need_different_bics_keeps_the_last_one)
{
    DemoFiles files;
    const auto path = files.galdo();
    test::executeOn(path, "UPDATE Banken SET BLZ = '10020890' WHERE Nr = 1; UPDATE Personal SET \"Konto-Nr\" = "
                          "CASE Nr WHEN 1 THEN '1000251670' ELSE '1230492' END WHERE Nr IN (1, 8)");
    Session session(ClientFormat::Galdo, path);
    const auto directory =
        test::directoryOf({{"10020890", "003200", "HYVEDEMM488", "09"}, {"76020070", "003200", "HYVEDEMM460"}});
    runConversion(session.rows, directory, {ClientFormat::Galdo}, session.ui);
    const std::string hint104 = "104-Die Bank des Mitarbeiters hat für dieses Konto einen anderen BIC: HYVEDEMM460";
    EXPECT_EQ(session.row("1")[AccountColumn::Hint], hint104);
    EXPECT_EQ(session.row("8")[AccountColumn::Hint].substr(0, 4), "102-");

    EXPECT_TRUE(session.save({ProtocolOption::HintsOnly, false, {}}).committed);

    EXPECT_EQ(query(path, "SELECT BankBIC FROM Banken WHERE Nr = 1"), "HYVEDEMM488");
    const auto protocol = protocolOf(path);
    EXPECT_NE(protocol.find("Konto-Nr: 1000251670  --> BIC: HYVEDEMM488 IBAN: DE58760200701000251670 Hinweis: " +
                            hint104 + "  OPKontoNr: 1"),
              std::string::npos)
        << protocol;
    EXPECT_EQ(protocol.find("BIC: HYVEDEMM460 IBAN"), std::string::npos);
}

TEST(WorkingSetSaver, an_account_edited_in_a_number_column_is_compared_as_stored_at_the_next_save)
{
    DemoFiles files;
    const auto path = files.marlo();
    ASSERT_EQ(test::retypeMarlo(path, test::NumberCopy::Integer), "");
    Session session(ClientFormat::MarloOp, path);
    auto& row = session.row("10000");
    row[AccountColumn::Account] = "0001234565";
    fill(row, "MUSBDEBBXXX", "DE21100100100001234565", "");
    ASSERT_EQ(session.save().rowsNotSaved, 0) << session.summary();
    EXPECT_EQ(query(path, "SELECT typeof(BankKontoNr) || ' ' || BankKontoNr FROM Personenkonten WHERE OPKontoNr = "
                          "10000"),
              "integer 1234565");
    EXPECT_EQ(row.stored.account, "1234565");

    fill(row, "MUSBDEBBXXX", "DE21100100100001234565", kHint101);
    const auto second = session.save();
    EXPECT_EQ(second.rowsNotSaved, 0) << session.summary();
    EXPECT_EQ(query(path, "SELECT IBANKonvertierNr FROM Personenkonten WHERE OPKontoNr = 10000"), "101");
}

TEST(WorkingSetSaver, a_save_on_a_full_disk_names_the_cause_and_the_fields_the_load_added)
{
    test::TempDir dir;
    const test::SmallFileSystem disk(dir.path() / "klein");
    if (!disk.mounted())
        GTEST_SKIP() << "this machine lets no file system be mounted here";
    const auto path = (disk.path() / "MARL001.MDB").string();
    ASSERT_EQ(demo::writeMarloDatabase(path, {}), "");
    Session session(ClientFormat::MarloOp, path);
    ASSERT_EQ(session.state.addedFields.size(), 7u);
    for (auto& row : session.rows)
        fill(row, "MUSBDEBBXXX", "DE21100100100001234565", kHint101);
    disk.fill();

    const auto outcome = session.save();

    EXPECT_FALSE(outcome.committed);
    EXPECT_EQ(session.summary(),
              "Die Daten konnten nicht gespeichert werden; kein Datensatz wurde geändert. Beim Einlesen wurden diese "
              "fehlenden Felder eingefügt: Personenkonten.BankIBAN Personenkonten.BankBIC "
              "Personenkonten.SEPALastschriftMandatReferenz Personenkonten.SEPALastschriftMandatDatum "
              "Personenkonten.SEPALastschriftMandatArt Personenkonten.IBANKonvertierHinweis "
              "Personenkonten.IBANKonvertierNr\r\n\r\nNr: 13\r\nBeschreibung: Der Datenträger ist voll.");
    session.state.database.close();
    EXPECT_EQ(query(path, "SELECT count(*) FROM Personenkonten WHERE BankIBAN IS NOT NULL"), "0");
}

TEST(WorkingSetSaver, report_files_are_never_readable_by_more_users_than_the_database)
{
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0644}}) {
        SCOPED_TRACE(mode);
        DemoFiles files;
        const auto path = files.marlo();
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        Session session(ClientFormat::MarloOp, path);
        fill(session.row("10000"), "MUSBDEBBXXX", "DE21100100100001234565", kHint101);
        fill(session.row("10010"), "", "", "3-BLZ ist nicht im Bundesbank-Bestand");
        ASSERT_TRUE(session.save({ProtocolOption::AllData, false, {}}).committed);
        const auto folder = std::filesystem::path(path).parent_path();
        for (const char* name : {kProtocolFileName, kHintsFileName, kErrorsFileName}) {
            struct stat status {};
            ASSERT_EQ(::stat((folder / name).c_str(), &status), 0) << name;
            EXPECT_EQ(status.st_mode & 07777, mode) << name;
        }
    }
}

} // namespace
} // namespace zelvan
