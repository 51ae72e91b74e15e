#include "clientdb/SaveReport.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHeader = "OPKontoNr;Suchname;BLZ;KontoNr;BIC;IBAN;Hinweis";
const std::string kHint101 = "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber";
const std::string kHint3 = "3-BLZ ist nicht im Bundesbank-Bestand";

class SaveReportFiles : public testing::Test {
protected:
    ReportPlace place() const
    {
        const auto database = (m_dir.path() / "MARL001.MDB").string();
        return {"Format: Marlo OP  Datei: " + database, database, "/opt/zelvan/", "06.12.2026 14:05:09"};
    }
    void addThreeRows()
    {
        m_report.Add("1000", "MÜLLER", "50060400", "11404", "BZBKDEFFXXX", "DE96500604000000011404", "");
        m_report.Add("1001", "SCHULZE", "50060400", "9", "BZBKDEFFXXX", "DE52500604000000000009", kHint101);
        m_report.Add("1002", "MAIER", "99999999", "1", "", "", kHint3);
    }
    std::string file(const char* name) const { return test::bytesOf(m_dir.path() / name); }

    test::TempDir m_dir;
    SaveReport m_report;
};

const std::string kExpectedHead =
    "Automatische Konvertierung Zelvan Konverter Version: 1.0\r\n"
    "Format: Marlo OP  Datei: {DB}\r\n"
    "Datum/Zeit: 06.12.2026 14:05:09\r\n"
    "Anzahl Datens\xE4tze insgesamt: 3\r\n"
    "Davon mit Konvertierhinweis: 1\r\n"
    "Davon mit Fehlerhinweis: 1\r\n"
    "\r\n"
    "Daten mit Konvertierfehler-Beginn:\r\n"
    "----------------------------------------\r\n"
    "BLZ: 99999999 Konto-Nr: 1  --> BIC:  IBAN:  Fehler: 3-BLZ ist nicht im "
    "Bundesbank-Bestand  OPKontoNr: 1002\r\n"
    "----------------------------------------\r\n"
    "Daten mit Konvertierfehler-Ende:\r\n\r\n"
    "Daten mit Konvertierhinweis-Beginn:\r\n"
    "----------------------------------------\r\n"
    "BLZ: 50060400 Konto-Nr: 9  --> BIC: BZBKDEFFXXX IBAN: DE52500604000000000009 Hinweis: "
    "101-Umwandlung ohne Neuberechnung der Kontenpr\xFC"
    "fziffer. Evtl. pr\xFC"
    "fen beim Kontoinhaber  OPKontoNr: 1001\r\n"
    "----------------------------------------\r\n"
    "Daten mit Konvertierhinweis-Ende:\r\n\r\n";

std::string withDatabase(std::string text, const std::string& database)
{
    text.replace(text.find("{DB}"), 4, database);
    return text;
}

TEST_F(SaveReportFiles, protocol_with_hints_only_byte_for_byte)
{
    m_report.Start(kHeader, ProtocolOption::HintsOnly);
    addThreeRows();
    EXPECT_TRUE(m_report.Finish({3, std::nullopt, 2, 1}, place()).empty());

    EXPECT_EQ(file(kProtocolFileName), withDatabase(kExpectedHead, place().databasePath));
    EXPECT_EQ(file(kHintsFileName), std::string(kHeader) +
                                        "\r\n1001;SCHULZE;50060400;9;BZBKDEFFXXX;DE52500604000000000009;101-Umwandlung "
                                        "ohne Neuberechnung der Kontenpr\xFC"
                                        "fziffer. Evtl. pr\xFC"
                                        "fen beim Kontoinhaber");
    EXPECT_EQ(file(kErrorsFileName), std::string(kHeader) + "\r\n1002;MAIER;99999999;1;;;" + kHint3);
}

TEST_F(SaveReportFiles, protocol_with_all_data_ends_with_the_rows_without_hint)
{
    m_report.Start(kHeader, ProtocolOption::AllData);
    addThreeRows();
    m_report.Finish({3, std::nullopt, 2, 1}, place());

    EXPECT_EQ(file(kProtocolFileName), withDatabase(kExpectedHead, place().databasePath) +
                                           "Daten ohne Konvertierhinweis-Beginn:\r\n"
                                           "----------------------------------------\r\n"
                                           "BLZ: 50060400 Konto-Nr: 11404  --> BIC: BZBKDEFFXXX IBAN: "
                                           "DE96500604000000011404\r\n"
                                           "----------------------------------------\r\n"
                                           "Daten ohne Konvertierhinweis-Ende:");
}

TEST_F(SaveReportFiles, unsaved_rows_come_first_in_their_own_block_and_in_no_csv)
{
    m_report.Start(kHeader, ProtocolOption::HintsOnly);
    addThreeRows();
    m_report.AddUnsaved("1003", "50060400", "77", "BZBKDEFFXXX", "DE12500604000000000077", "Datensatz nicht gefunden");
    m_report.AddUnsaved("1004", "50060400", "78", "", "", "Gesperrt (f\xC3\xBCr Test).");
    m_report.Finish({3, std::nullopt, 2, 1, 2}, place());

    std::string expected = withDatabase(kExpectedHead, place().databasePath);
    const std::string header = "Davon mit Fehlerhinweis: 1\r\n";
    expected.insert(expected.find(header) + header.size(),
                    "Davon nicht gespeichert: 2\r\n\r\n"
                    "Nicht gespeicherte Daten-Beginn:\r\n"
                    "----------------------------------------\r\n"
                    "BLZ: 50060400 Konto-Nr: 77  --> BIC: BZBKDEFFXXX IBAN: DE12500604000000000077 Grund: "
                    "Datensatz nicht gefunden  OPKontoNr: 1003\r\n"
                    "BLZ: 50060400 Konto-Nr: 78  --> BIC:  IBAN:  Grund: Gesperrt (f\xFCr Test).  OPKontoNr: 1004\r\n"
                    "----------------------------------------\r\n"
                    "Nicht gespeicherte Daten-Ende:\r\n");
    EXPECT_EQ(file(kProtocolFileName), expected);
    EXPECT_EQ(file(kHintsFileName).find("1003"), std::string::npos);
    EXPECT_EQ(file(kErrorsFileName).find("1004"), std::string::npos);

    // The next save starts without them.
    m_report.Start(kHeader, ProtocolOption::HintsOnly);
    addThreeRows();
    m_report.Finish({3, std::nullopt, 2, 1}, place());
    EXPECT_EQ(file(kProtocolFileName), withDatabase(kExpectedHead, place().databasePath));
}

TEST_F(SaveReportFiles, galdo_header_and_a_save_without_hints)
{
    m_report.Start("PersonalNr;Suchname;BLZ;KontoNr;BIC;IBAN;Hinweis", ProtocolOption::HintsOnly);
    m_report.Add("7", "KRAUSE", "50060400", "11404", "BZBKDEFFXXX", "DE96500604000000011404", "");
    m_report.Finish({4, 2, 0, 0}, place());

    const auto protocol = file(kProtocolFileName);
    EXPECT_NE(protocol.find("Anzahl Datens\xE4tze insgesamt: 4\r\nDavon mit fehlender KontoNr: 2\r\n"
                            "Davon mit Konvertierhinweis: 0\r\nDavon mit Fehlerhinweis: 0\r\n\r\n\r\n\r\n\r\n\r\n"),
              std::string::npos);
    EXPECT_TRUE(protocol.ends_with("Fehlerhinweis: 0\r\n\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_FALSE(fs::exists(m_dir.path() / kHintsFileName));
    EXPECT_FALSE(fs::exists(m_dir.path() / kErrorsFileName));
}

TEST_F(SaveReportFiles, a_dry_run_says_so_below_the_database_it_names)
{
    auto dryRun = place();
    dryRun.dryRun = true;
    m_report.Start(kHeader, ProtocolOption::HintsOnly);
    m_report.Finish({0, std::nullopt, 0, 0}, dryRun);
    EXPECT_NE(file(kProtocolFileName)
                  .find(dryRun.databasePath + "\r\nProbelauf: die Datenbank wurde nicht ver\xE4ndert.\r\n"),
              std::string::npos);
}

TEST_F(SaveReportFiles, a_save_without_errors_keeps_the_older_errors_csv)
{
    m_report.Start(kHeader, ProtocolOption::HintsOnly);
    addThreeRows();
    m_report.Finish({3, std::nullopt, 2, 1}, place());
    const auto olderErrors = file(kErrorsFileName);

    m_report.Start(kHeader, ProtocolOption::HintsOnly);
    m_report.Add("2000", "NEU", "50060400", "9", "BZBKDEFFXXX", "DE52500604000000000009", kHint101);
    m_report.Finish({1, std::nullopt, 1, 0}, place());

    EXPECT_EQ(file(kHintsFileName).find("1001;"), std::string::npos);
    EXPECT_EQ(file(kErrorsFileName), olderErrors);
}

// A search name as the CSV reports write it: never the start of a formula, quoted where needed.
TEST(SaveReportCsv, a_field_never_starts_a_formula_in_a_spreadsheet)
{
    struct Case {
        const char* name;
        const char* written;
    };
    const Case cases[] = {
        {"=2+2", "'=2+2"},
        {"+49 30", "'+49 30"},
        {"-2+3", "'-2+3"},
        {"@SUM(1+1)*cmd|' /C calc'!A0", "'@SUM(1+1)*cmd|' /C calc'!A0"},
        {"\tA", "'\tA"},
        {"\rA", "\"'\rA\""},
        {"\uFF1D1+1", "'=1+1"}, // a full-width equals sign, written as "="
        {"A \"B\"", "\"A \"\"B\"\"\""},
        {"=A;B", "\"'=A;B\""},
        {"A\r\nB", "\"A\r\nB\""},
        {"Anna-Lena", "Anna-Lena"},
    };
    for (const auto& c : cases) {
        SaveReport report;
        report.Start("", ProtocolOption::HintsOnly);
        report.Add("1", c.name, "99999999", "1", "", "", kHint3);
        EXPECT_EQ(report.errorsCsv(), std::string("\r\n1;") + c.written + ";99999999;1;;;" + kHint3) << c.name;
    }
}

TEST_F(SaveReportFiles, a_folder_in_place_of_the_file_is_reported_and_nothing_is_left_behind)
{
    fs::create_directory(m_dir.path() / kProtocolFileName);
    m_report.Start(kHeader, ProtocolOption::HintsOnly);
    const auto failed = m_report.Finish({0, std::nullopt, 0, 0}, place());
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_TRUE(failed[0].ends_with(kProtocolFileName));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1); // the folder itself, no temporary file
}

TEST(ReportFolder, folder_of_the_database_or_the_program)
{
    EXPECT_EQ(reportFolder("/daten/MARL001.MDB", "/opt/zelvan/"), "/daten/");
    EXPECT_EQ(reportFolder("C:\\Daten\\MARL001.MDB", "/opt/zelvan/"), "C:\\Daten\\");
    EXPECT_EQ(reportFolder("C:MARL001.MDB", "/opt/zelvan/"), "/opt/zelvan/");
    EXPECT_EQ(reportFolder("MARL001.MDB", "/opt/zelvan"), "/opt/zelvan/");
}

} // namespace
} // namespace zelvan
