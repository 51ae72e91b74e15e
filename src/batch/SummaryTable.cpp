#include "batch/SummaryTable.h"

#include "core/CsvField.h"

namespace zelvan {

namespace {

template <typename Fields>
void appendLine(std::string& text, const Fields& fields, std::string_view lineEnd, CsvReader reader)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += ';';
        appendCsvField(text, fields[i], reader);
    }
    text += lineEnd;
}

} // namespace

const std::array<std::string, kSummaryColumnCount>& summaryHeadings()
{
    static const std::array<std::string, kSummaryColumnCount> headings{
        "Mandant",           "Datei",
        "Durchgang",         "Datensätze",
        "IBAN gebildet",     "mit Konvertierhinweis",
        "mit Fehlerhinweis", "nicht gespeichert",
        "Sicherungskopie",   "Ergebnis",
    };
    return headings;
}

std::array<std::string, kSummaryColumnCount> summaryFields(const BatchLine& line)
{
    if (line.unreadableFolder) {
        std::array<std::string, kSummaryColumnCount> fields;
        fields[1] = line.file;
        fields[kSummaryColumnCount - 1] = line.result;
        return fields;
    }
    return {line.client,
            line.file,
            line.pass,
            std::to_string(line.rows),
            std::to_string(line.ibansFormed),
            std::to_string(line.conversionHints),
            std::to_string(line.errorHints),
            std::to_string(line.rowsNotSaved),
            line.backupFile,
            line.result};
}

std::string summaryText(const BatchSummary& summary, std::string_view lineEnd, CsvReader reader)
{
    std::string text;
    appendLine(text, summaryHeadings(), lineEnd, reader);
    for (const auto& line : summary.lines)
        appendLine(text, summaryFields(line), lineEnd, reader);
    return text;
}

} // namespace zelvan
