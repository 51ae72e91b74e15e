#include "support/RuleTestDirectory.h"

#include "iban/ConversionRun.h"
#include "support/BankFileBuilder.h"

namespace zelvan::test {

BankDirectory directoryOf(const std::vector<TestBank>& banks)
{
    BankDirectory directory;
    directory.begin();
    for (const auto& bank : banks) {
        BankLine line;
        line.blz = bank.blz;
        line.ruleCode = bank.ruleCode;
        line.bic = bank.bic;
        line.checkMethod = bank.checkMethod;
        line.changeCode = bank.changeCode;
        line.successorBlz = bank.successorBlz;
        line.deletion = bank.deletion;
        line.shortName = "Bank " + bank.blz;
        directory.line(formatLine(line));
    }
    directory.end();
    return directory;
}

ConvertedRow convert(const BankDirectory& directory, const std::string& blz, const std::string& account,
                     const AccountCheckDigits* checkDigits)
{
    AccountRow row;
    row[AccountColumn::Blz] = blz;
    row[AccountColumn::Account] = account;
    convertRow(row, directory, {ClientFormat::MarloOp, false, checkDigits});
    return {row[AccountColumn::Bic], row[AccountColumn::Iban], row[AccountColumn::Hint]};
}

} // namespace zelvan::test
