#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvan {

// The protocol option of the main window.
enum class ProtocolOption { Off = 0, HintsOnly = 1, AllData = 2 };

// The counts one save reports.
struct SaveCounts {
    int rows = 0;                       // rows of the working set
    std::optional<int> missingAccounts; // Galdo only
    int hinted = 0;                     // rows with any hint
    int errors = 0;                     // rows with an error hint
    int conversionHints() const { return hinted - errors; }
};

// What Finish() needs besides the counts.
struct ReportPlace {
    std::string formatFileLine; // "Format: ...  Datei: ..."
    std::string databasePath;
    std::string programFolder; // used when the database path has no folder
    std::string dateTime;      // "06.12.2026 14:05:09"
    // Put before each report file's name: in a run over a whole folder, where several databases
    // share one, "MARL007.MDB_" (Galdo fixed deductions "GALD001.MDB_Festabzug_"); else empty.
    std::string filePrefix{};
};

inline constexpr const char* kProtocolFileName = "Protokoll_ZELVAN.txt";
inline constexpr const char* kHintsFileName = "KonvertierHinweise_ZELVAN.csv";
inline constexpr const char* kErrorsFileName = "KonvertierFehler_ZELVAN.csv";

// Gathers the row outcomes of one save and writes the protocol and the two CSV reports beside
// the database, in Windows-1252 with CR LF. A row's character that Windows-1252 lacks is written in
// its Latin form and the protocol's head counts such fields; the database path is written as it is.
// No CSV field starts a formula in a spreadsheet.
class SaveReport {
public:
    void Start(std::string_view csvHeader, ProtocolOption option);
    void Add(std::string_view key, std::string_view searchName, std::string_view blz, std::string_view account,
             std::string_view bic, std::string_view iban, std::string_view hint);
    // A row the save could not write, with the reason in German. It goes to the protocol only.
    void AddUnsaved(std::string_view key, std::string_view blz, std::string_view account, std::string_view bic,
                    std::string_view iban, std::string_view reason);
    // Builds the protocol and writes the files; returns the paths of files that could not be written.
    std::vector<std::string> Finish(const SaveCounts& counts, const ReportPlace& place);

    const std::string& protocolText() const { return m_protocol; }
    const std::string& hintsCsv() const { return m_hintsCsv; }
    const std::string& errorsCsv() const { return m_errorsCsv; }

private:
    std::string buildProtocol(const SaveCounts& counts, const ReportPlace& place) const;
    // A row's field as the Windows-1252 files can hold it, counted when that changed it.
    std::string readable(std::string_view field);

    ProtocolOption m_option = ProtocolOption::Off;
    std::string m_errorSection;
    std::string m_hintSection;
    std::string m_plainSection;
    std::string m_unsavedSection;
    std::string m_protocol;
    std::string m_hintsCsv;
    std::string m_errorsCsv;
    int m_transliteratedFields = 0;
};

// The folder the reports go to: the database's folder, or the program's own when the path has none.
std::string reportFolder(std::string_view databasePath, std::string_view programFolder);

// The local date and time in its German text form, "06.12.2026 14:05:09".
std::string currentDateTimeText();

} // namespace zelvan
