#include "iban/ConversionRun.h"

#include <map>

#include "clientdb/HintClass.h"
#include "iban/ConversionHint.h"
#include "iban/IbanRuleEngine.h"
#include "iban/RuleContext.h"

namespace zelvan {

namespace {

constexpr std::string_view kStandardRule = "000000";
constexpr std::string_view kNoIbanRule = "000100";
constexpr std::size_t kBlzLength = 8;

std::size_t lengthWithoutOuterBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return 0;
    return text.find_last_not_of(' ') - first + 1;
}

// The entry a row converts under: a deleted bank's successor, and the successor of a bank marked
// for deletion as long as that bank's own rule is the standard one; else the bank itself.
struct EntryInUse {
    const BankEntry* entry = nullptr;
    const BankEntry* stored = nullptr; // the entry of the stored BLZ
    bool successorUsed = false;
    bool deletedWithoutSuccessor = false;
};

EntryInUse entryInUse(const BankDirectory& directory, std::string_view blz)
{
    const BankEntry* entry = directory.findEntry(blz);
    if (entry == nullptr)
        return {};
    const bool followSuccessor =
        entry->isDeleted() || (entry->isMarkedForDeletion() && entry->ruleCode == kStandardRule);
    const BankEntry* successor =
        followSuccessor && !entry->successorBlz.empty() ? directory.findEntry(entry->successorBlz) : nullptr;
    if (successor != nullptr)
        return {successor, entry, true, false};
    return {entry, entry, false, entry->isDeleted()};
}

// Also says whether the option checked the account as stored by its bank's method.
OptionCheck convertStoredDetails(AccountRow& row, const BankDirectory& directory, const ConversionOptions& options)
{
    std::string blz = row[AccountColumn::Blz];
    row[AccountColumn::Hint].clear();
    row[AccountColumn::Iban].clear();
    row[AccountColumn::Bic].clear();

    // The look-up is exact: a BLZ with blanks around it is not found.
    const EntryInUse inUse = entryInUse(directory, blz);
    const BankEntry* entry = inUse.entry;
    if (inUse.successorUsed) {
        blz = entry->blz;
        row[AccountColumn::Hint] = ConversionHint(HintNumber::SuccessorBlzUsed);
    }

    // A bank without employees in the payroll data only gets its BIC.
    if (options.format == ClientFormat::Galdo && row[AccountColumn::Account].empty()) {
        if (entry != nullptr)
            row[AccountColumn::Bic] = entry->bic;
        return OptionCheck::ByMethod;
    }
    if (lengthWithoutOuterBlanks(blz) != kBlzLength) {
        row[AccountColumn::Hint] = ConversionHint(HintNumber::BlzNotEightDigits);
        return OptionCheck::ByMethod;
    }
    if (entry == nullptr) {
        row[AccountColumn::Hint] = ConversionHint(HintNumber::BlzNotInDirectory);
        return OptionCheck::ByMethod;
    }

    row[AccountColumn::Bic] = entry->bic;
    if (options.overwriteBankName)
        row[AccountColumn::BankName] = entry->shortName;

    RuleContext context(row, directory, *entry, std::move(blz));
    context.checkAccountsWith(options.checkDigits, *inUse.stored);
    if (inUse.deletedWithoutSuccessor) {
        context.refuse(HintNumber::DeletedWithoutSuccessor);
        return OptionCheck::BankDeleted;
    }
    if (entry->ruleCode == kStandardRule)
        context.standardIban();
    else if (entry->ruleCode == kNoIbanRule)
        context.refuse(HintNumber::BlzWithoutIban);
    else if (!IbanRuleEngine::apply(context))
        context.refuse(HintNumber::UnknownRule);
    return context.checkDigitSkipped() ? OptionCheck::SkippedByRule : OptionCheck::ByMethod;
}

// An IBAN that was stored with this BLZ and account (typed from the customer's letter, perhaps) is
// not erased because the conversion cannot confirm it: the error hint says why.
void keepStoredIbanOnError(AccountRow& row)
{
    const StoredBankDetails& stored = row.stored;
    if (stored.iban.empty() || classifyHint(row[AccountColumn::Hint]) != HintClass::Error)
        return;
    if (row[AccountColumn::Blz] != stored.blz || row[AccountColumn::Account] != stored.account)
        return;
    row[AccountColumn::Iban] = stored.iban;
    row[AccountColumn::Bic] = stored.bic;
}

std::string withoutOuterBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, lengthWithoutOuterBlanks(text));
}

// Galdo keeps the BIC in the bank record that every row with its BLZ shares, and the save gives
// the bank the BIC of the last row that has one. A row that needs another BIC says so, in place of
// any caveat; an error hint stays.
void markRowsWhoseBankKeepsAnotherBic(WorkingSetArray& rows)
{
    std::map<std::string, std::string> bankBics; // BLZ -> the BIC of its last row with one
    for (const auto& row : rows) {
        if (auto bic = withoutOuterBlanks(row[AccountColumn::Bic]); !bic.empty())
            bankBics[row[AccountColumn::Blz]] = std::move(bic);
    }
    for (auto& row : rows) {
        const auto bic = withoutOuterBlanks(row[AccountColumn::Bic]);
        if (bic.empty() || bic == bankBics[row[AccountColumn::Blz]] ||
            classifyHint(row[AccountColumn::Hint]) == HintClass::Error)
            continue;
        row[AccountColumn::Hint] = ConversionHint(HintNumber::BankHasOtherBic, bic);
    }
}

} // namespace

bool convertRow(AccountRow& row, const BankDirectory& directory, const ConversionOptions& options)
{
    // A typed IBAN and BIC stay while the row still has the BLZ and account they were typed for.
    const bool keepTyped = row.typedFor && row.typedFor->blz == row[AccountColumn::Blz] &&
                           row.typedFor->account == row[AccountColumn::Account];
    if (!keepTyped) {
        row.typedFor.reset();
        convertStoredDetails(row, directory, options);
        keepStoredIbanOnError(row);
        return false;
    }
    std::string iban = std::move(row[AccountColumn::Iban]);
    std::string bic = std::move(row[AccountColumn::Bic]);
    convertStoredDetails(row, directory, options);
    row[AccountColumn::Iban] = std::move(iban);
    row[AccountColumn::Bic] = std::move(bic);
    return true;
}

OptionCheck optionCheckOf(const BankDirectory& directory, std::string_view blz, std::string_view account,
                          const AccountCheckDigits& checkDigits)
{
    AccountRow row;
    row[AccountColumn::Blz] = blz;
    row[AccountColumn::Account] = account;
    return convertStoredDetails(row, directory, {ClientFormat::MarloOp, false, &checkDigits});
}

std::size_t runConversion(WorkingSetArray& rows, const BankDirectory& directory, const ConversionOptions& options,
                          UserInterface& ui)
{
    std::size_t keptAsTyped = 0;
    {
        const BusyPointer busy(ui);
        ui.setStatusText("Daten werden konvertiert...");
        for (auto& row : rows) {
            if (convertRow(row, directory, options))
                ++keptAsTyped;
        }
        if (options.format == ClientFormat::Galdo)
            markRowsWhoseBankKeepsAnotherBic(rows);
        if (keptAsTyped == 0)
            ui.setStatusText("Bereit");
        else if (keptAsTyped == 1)
            ui.setStatusText("Bereit. 1 Zeile behält die eingegebene IBAN / BIC.");
        else
            ui.setStatusText("Bereit. " + std::to_string(keptAsTyped) + " Zeilen behalten die eingegebene IBAN / BIC.");
    }
    ui.processEvents();
    return keptAsTyped;
}

} // namespace zelvan
