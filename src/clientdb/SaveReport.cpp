#include "clientdb/SaveReport.h"

#include <ctime>

#include "clientdb/HintClass.h"
#include "clientdb/TextFileWriter.h"
#include "core/CsvField.h"
#include "core/LocalTime.h"
#include "core/PathRoutines.h"
#include "core/Version.h"
#include "core/Windows1252.h"

namespace zelvan {

namespace {

constexpr std::string_view kCrLf = "\r\n";
const std::string kRule(40, '-');

std::string wrapSection(const std::string& entries, std::string_view begin, std::string_view end)
{
    if (entries.empty())
        return {};
    std::string text(begin);
    text += kCrLf;
    text += kRule;
    text += entries;
    text += kCrLf;
    text += kRule;
    text += kCrLf;
    text += end;
    return text;
}

// "BLZ: ... Konto-Nr: ...  --> BIC: ... IBAN: ...", preceded by its line break.
std::string protocolLine(std::string_view blz, std::string_view account, std::string_view bic, std::string_view iban)
{
    std::string line;
    line.append(kCrLf).append("BLZ: ").append(blz).append(" Konto-Nr: ").append(account);
    line.append("  --> BIC: ").append(bic).append(" IBAN: ").append(iban);
    return line;
}

} // namespace

void SaveReport::Start(std::string_view csvHeader, ProtocolOption option)
{
    m_option = option;
    m_errorSection.clear();
    m_hintSection.clear();
    m_plainSection.clear();
    m_unsavedSection.clear();
    m_protocol.clear();
    m_transliteratedFields = 0;
    m_hintsCsv = csvHeader;
    m_errorsCsv = csvHeader;
}

std::string SaveReport::readable(std::string_view field)
{
    auto written = transliterateForWindows1252(field);
    m_transliteratedFields += written.changed ? 1 : 0;
    return std::move(written.text);
}

void SaveReport::Add(std::string_view key, std::string_view searchName, std::string_view blz, std::string_view account,
                     std::string_view bic, std::string_view iban, std::string_view hint)
{
    const auto hintClass = classifyHint(hint);
    if (hintClass == HintClass::None) {
        // Rows without hint are written only with the option "Alle Daten".
        if (m_option == ProtocolOption::AllData)
            m_plainSection += protocolLine(readable(blz), readable(account), readable(bic), readable(iban));
        return;
    }
    const std::string fields[] = {readable(key), readable(searchName), readable(blz), readable(account),
                                  readable(bic), readable(iban),       readable(hint)};
    const auto& [readableKey, readableName, readableBlz, readableAccount, readableBic, readableIban, readableHint] =
        fields;
    const bool isError = hintClass == HintClass::Error;
    (isError ? m_errorSection : m_hintSection)
        .append(protocolLine(readableBlz, readableAccount, readableBic, readableIban))
        .append(isError ? " Fehler: " : " Hinweis: ")
        .append(readableHint)
        .append("  OPKontoNr: ")
        .append(readableKey);

    std::string& csv = isError ? m_errorsCsv : m_hintsCsv;
    csv += kCrLf;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (i > 0)
            csv += ';';
        appendCsvField(csv, fields[i], CsvReader::Spreadsheet);
    }
}

void SaveReport::AddUnsaved(std::string_view key, std::string_view blz, std::string_view account, std::string_view bic,
                            std::string_view iban, std::string_view reason)
{
    m_unsavedSection.append(protocolLine(readable(blz), readable(account), readable(bic), readable(iban)))
        .append(" Grund: ")
        .append(readable(reason))
        .append("  OPKontoNr: ")
        .append(readable(key));
}

std::string SaveReport::buildProtocol(const SaveCounts& counts, const ReportPlace& place) const
{
    std::string text = "Automatische Konvertierung Zelvan Konverter Version: ";
    text += kShortVersionText;
    text.append(kCrLf).append(place.formatFileLine).append(kCrLf);
    text.append("Datum/Zeit: ").append(place.dateTime).append(kCrLf);
    text.append("Anzahl Datensätze insgesamt: ").append(std::to_string(counts.rows)).append(kCrLf);
    if (counts.missingAccounts)
        text.append("Davon mit fehlender KontoNr: ").append(std::to_string(*counts.missingAccounts)).append(kCrLf);
    text.append("Davon mit Konvertierhinweis: ").append(std::to_string(counts.conversionHints())).append(kCrLf);
    text.append("Davon mit Fehlerhinweis: ").append(std::to_string(counts.errors)).append(kCrLf);
    if (m_transliteratedFields > 0)
        text.append("Felder mit Zeichen außerhalb von Windows-1252 umschrieben: ")
            .append(std::to_string(m_transliteratedFields))
            .append(kCrLf);
    text.append(kCrLf);
    // Rows left unsaved come first and only when there are any, so a save that wrote every row
    // leaves the protocol as it always was.
    if (!m_unsavedSection.empty()) {
        text.append(
            wrapSection(m_unsavedSection, "Nicht gespeicherte Daten-Beginn:", "Nicht gespeicherte Daten-Ende:"));
        text.append(kCrLf).append(kCrLf);
    }
    text.append(wrapSection(m_errorSection, "Daten mit Konvertierfehler-Beginn:", "Daten mit Konvertierfehler-Ende:"));
    text.append(kCrLf).append(kCrLf);
    text.append(wrapSection(m_hintSection, "Daten mit Konvertierhinweis-Beginn:", "Daten mit Konvertierhinweis-Ende:"));
    text.append(kCrLf).append(kCrLf);
    if (m_option == ProtocolOption::AllData)
        text.append(
            wrapSection(m_plainSection, "Daten ohne Konvertierhinweis-Beginn:", "Daten ohne Konvertierhinweis-Ende:"));
    return text;
}

std::vector<std::string> SaveReport::Finish(const SaveCounts& counts, const ReportPlace& place)
{
    m_protocol = buildProtocol(counts, place);
    const std::string folder = reportFolder(place.databasePath, place.programFolder);

    std::vector<std::string> failed;
    const auto write = [&](const std::string& text, const char* name) {
        const auto path = folder + place.filePrefix + name;
        if (WriteTextFile(text, path, place.databasePath).errorNumber != 0)
            failed.push_back(path);
    };
    write(m_protocol, kProtocolFileName);
    if (!m_hintSection.empty())
        write(m_hintsCsv, kHintsFileName);
    if (!m_errorSection.empty())
        write(m_errorsCsv, kErrorsFileName);
    return failed;
}

std::string reportFolder(std::string_view databasePath, std::string_view programFolder)
{
    // A colon is part of a file name here, not the end of a drive letter.
    const auto folder = FolderOfPath(databasePath);
    return WithBackslash(folder.empty() ? programFolder : folder);
}

std::string currentDateTimeText()
{
    return localTimeText(std::time(nullptr), "%d.%m.%Y %H:%M:%S");
}

} // namespace zelvan
