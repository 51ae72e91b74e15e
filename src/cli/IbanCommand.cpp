#include "cli/IbanCommand.h"

#include <cerrno>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>

#include "bankdir/BankCodeFile.h"
#include "cli/ArgumentReader.h"
#include "cli/BankFileLoad.h"
#include "cli/OutputCheck.h"
#include "core/ByteOrderMark.h"
#include "core/CsvField.h"
#include "iban/ConversionRun.h"

namespace zelvan {

namespace {

struct IbanArguments {
    std::string bankFile;
    ConversionOptions options;
    bool checkAccountDigits = false;
};

std::optional<IbanArguments> parseArguments(const std::vector<std::string>& args, const std::string& programFolder,
                                            std::ostream& err)
{
    IbanArguments parsed;
    parsed.bankFile = bankCodeFilePath(programFolder);
    ArgumentReader reader(args);
    while (!reader.atEnd() && reader.error().empty()) {
        const auto arg = reader.next();
        if (arg == "--bankfile") {
            if (auto path = reader.value(arg))
                parsed.bankFile = *path;
        } else if (arg == "--format") {
            if (const auto format = reader.formatValue(arg))
                parsed.options.format = *format;
        } else if (arg == "--bankname") {
            parsed.options.overwriteBankName = true;
        } else if (arg == "--pruefziffer") {
            parsed.checkAccountDigits = true;
        } else {
            reader.fail("Unbekanntes Argument für \"iban\": " + arg);
        }
    }
    if (!reader.error().empty()) {
        err << reader.error()
            << "\nAufruf: zelvan-konverter iban [--bankfile PFAD] [--format N] [--bankname] "
               "[--pruefziffer]\n";
        return std::nullopt;
    }
    return parsed;
}

// Rows are converted and written in batches, so a million input lines never sit in memory at once.
class RowStream {
public:
    RowStream(const BankDirectory& directory, const ConversionOptions& options, std::ostream& out)
        : m_directory(directory), m_options(options), m_out(out)
    {
    }

    void addLine(std::string_view line)
    {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // The rows of a batch are used again: their cells keep the memory they had.
        if (m_count == m_rows.size())
            m_rows.emplace_back();
        AccountRow& row = m_rows[m_count++];
        for (auto& cell : row.cells)
            cell.clear();
        const auto split = line.find(';');
        if (split == std::string_view::npos) {
            row[AccountColumn::Blz] = line;
        } else {
            row[AccountColumn::Blz] = line.substr(0, split);
            row[AccountColumn::Account] = line.substr(split + 1);
        }
        if (m_count == kBatchSize)
            flush();
    }

    void flush()
    {
        m_text.clear();
        for (std::size_t i = 0; i < m_count; ++i) {
            AccountRow& row = m_rows[i];
            convertRow(row, m_directory, m_options);
            for (auto column = AccountColumn::Blz; column <= AccountColumn::BankName;
                 column = static_cast<AccountColumn>(static_cast<std::size_t>(column) + 1)) {
                if (column != AccountColumn::Blz)
                    m_text += ';';
                // Hint texts are the program's own, with at most a six-digit rule code: they need no
                // quotes, and they are the longest field to look through.
                if (column == AccountColumn::Hint)
                    m_text += row[column];
                else
                    appendCsvField(m_text, row[column]);
            }
            m_text += '\n';
        }
        if (m_out) {
            errno = 0;
            m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
            if (!m_out)
                m_writeError = errno;
        }
        m_count = 0;
    }

    // The output failed (a full disk): there is no point in converting more lines.
    bool failed() const { return !m_out; }
    int writeError() const { return m_writeError; }

private:
    static constexpr std::size_t kBatchSize = 4096;
    const BankDirectory& m_directory;
    const ConversionOptions& m_options;
    std::ostream& m_out;
    WorkingSetArray m_rows;
    std::size_t m_count = 0;
    std::string m_text;
    int m_writeError = 0;
};

void convertLines(std::istream& in, RowStream& rows)
{
    // Blocks grow from 64 KiB to 1 MiB, so that a few rows do not cost a large buffer.
    constexpr std::size_t kFirstBlock = std::size_t{1} << 16;
    constexpr std::size_t kLargestBlock = std::size_t{1} << 20;
    std::string pending;
    std::string block(kFirstBlock, '\0');
    bool first = true;
    while (in && !rows.failed()) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        std::string_view chunk(block.data(), got);
        // An editor's byte-order mark is no part of the first BLZ.
        if (first)
            chunk = withoutByteOrderMark(chunk);
        first = false;
        std::size_t start = 0;
        for (auto stop = chunk.find('\n'); stop != std::string_view::npos; stop = chunk.find('\n', start)) {
            const auto piece = chunk.substr(start, stop - start);
            if (pending.empty()) {
                rows.addLine(piece);
            } else {
                pending += piece;
                rows.addLine(pending);
                pending.clear();
            }
            start = stop + 1;
        }
        pending += chunk.substr(start);
        if (got == block.size() && block.size() < kLargestBlock)
            block.resize(block.size() * 2);
    }
    if (!pending.empty())
        rows.addLine(pending);
    rows.flush();
}

} // namespace

int runIbanCommand(const std::vector<std::string>& args, CommandEnvironment& env)
{
    const auto parsed = parseArguments(args, env.programFolder, env.err);
    if (!parsed)
        return kExitUsage;

    BankDirectory directory;
    if (!loadBankFileForCommand(parsed->bankFile, env.programFolder, directory, env.err))
        return kExitUsage;

    // Built only when asked for: it asks the library for all of its methods first.
    std::optional<AccountCheckDigits> checker;
    ConversionOptions options = parsed->options;
    if (parsed->checkAccountDigits)
        options.checkDigits = &checker.emplace();
    const int writeError = convertIbanInput(env.in, directory, options, env.out);
    return outputComplete(env.out, env.err, writeError) ? kExitOk : kExitDatabaseError;
}

int convertIbanInput(std::istream& in, const BankDirectory& directory, const ConversionOptions& options,
                     std::ostream& out)
{
    RowStream rows(directory, options, out);
    convertLines(in, rows);
    return rows.writeError();
}

} // namespace zelvan
