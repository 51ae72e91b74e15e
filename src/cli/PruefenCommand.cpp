#include "cli/PruefenCommand.h"

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
#include "iban/AccountCheckDigits.h"
#include "iban/ConversionRun.h"

namespace zelvan {

namespace {

std::optional<std::string> parseBankFile(const std::vector<std::string>& args, const std::string& programFolder,
                                         std::ostream& err)
{
    std::string bankFile = bankCodeFilePath(programFolder);
    ArgumentReader reader(args);
    while (!reader.atEnd() && reader.error().empty()) {
        const auto arg = reader.next();
        if (arg == "--bankfile") {
            if (auto path = reader.value(arg))
                bankFile = *path;
        } else {
            reader.fail("Unbekanntes Argument für \"pruefen\": " + arg);
        }
    }
    if (!reader.error().empty()) {
        err << reader.error() << "\nAufruf: zelvan-konverter pruefen [--bankfile PFAD] < eingabe.txt\n";
        return std::nullopt;
    }
    return bankFile;
}

std::string_view resultText(CheckVerdict verdict)
{
    switch (verdict) {
    case CheckVerdict::Valid:
        return "ok";
    case CheckVerdict::Invalid:
        return "falsch";
    case CheckVerdict::NoCheckDigit:
        return "ohne Prüfziffer";
    }
    return {};
}

// One answer line: the account as the check-digit option of the conversion sees it, by the
// method of the bank it is stored with.
void appendAnswer(std::string& out, std::string_view line, const BankDirectory& directory,
                  const AccountCheckDigits& checker)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const auto split = line.find(';');
    const std::string_view blz = line.substr(0, split);
    const std::string_view account = split == std::string_view::npos ? std::string_view() : line.substr(split + 1);
    const BankEntry* bank = directory.findEntry(blz);

    appendCsvField(out, blz);
    out += ';';
    appendCsvField(out, account);
    out += ';';
    if (bank == nullptr) {
        out += ";BLZ unbekannt\n";
        return;
    }
    appendCsvField(out, bank->checkMethod);
    out += ';';
    switch (optionCheckOf(directory, blz, account, checker)) {
    case OptionCheck::ByMethod:
        out += resultText(checker.verdict(bank->blz, account, bank->checkMethod));
        break;
    case OptionCheck::SkippedByRule:
        out += resultText(CheckVerdict::NoCheckDigit);
        break;
    case OptionCheck::BankDeleted:
        out += "BLZ gelöscht";
        break;
    }
    out += '\n';
}

} // namespace

int runPruefenCommand(const std::vector<std::string>& args, CommandEnvironment& env)
{
    const auto bankFile = parseBankFile(args, env.programFolder, env.err);
    if (!bankFile)
        return kExitUsage;
    BankDirectory directory;
    if (!loadBankFileForCommand(*bankFile, env.programFolder, directory, env.err))
        return kExitUsage;

    const AccountCheckDigits checker;
    std::string line;
    std::string out;
    int writeError = 0;
    const auto write = [&] {
        errno = 0;
        env.out << out;
        out.clear();
        if (!env.out && writeError == 0)
            writeError = errno;
    };
    for (bool first = true; env.out && std::getline(env.in, line); first = false) {
        // An editor's byte-order mark is no part of the first BLZ.
        appendAnswer(out, first ? withoutByteOrderMark(line) : std::string_view(line), directory, checker);
        if (out.size() >= (std::size_t{1} << 16))
            write();
    }
    if (env.out)
        write();
    return outputComplete(env.out, env.err, writeError) ? kExitOk : kExitDatabaseError;
}

} // namespace zelvan
