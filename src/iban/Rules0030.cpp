#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <string>

#include "iban/AccountDigits.h"
#include "iban/Iban.h"
#include "iban/RuleGroups.h"

namespace zelvan {

namespace {

// A BLZ that a rule replaces, the BLZ it becomes and the BIC written with it.
struct BlzMove {
    std::string_view from;
    std::string_view to;
    std::string_view bic;
};

// An account range of rule 0036, bounds included.
struct AccountRange {
    std::uint64_t from;
    std::uint64_t to;
};

// An account range compared as text, bounds included.
struct AccountTextRange {
    std::string_view from;
    std::string_view to;
};

// An account number and the account number that replaces it.
struct AccountMove {
    std::string_view from;
    std::string_view to;
};

// Rule 0036: every bank of the rule converts under this BLZ.
constexpr std::string_view kRule0036Blz = "21050000";

// Rule 0036: blocked ranges of the zero-filled account read as a number -> no IBAN (hint 7).
static constexpr AccountRange kRule0036BlockedRanges[] = {
    {0, 99999},
    {900000, 29999999},
    {60000000, 99999999},
    {900000000, 999999999},
    {2000000000, 2999999999},
    {7100000000, 8499999999},
    {8600000000, 8999999999},
};
static_assert(std::size(kRule0036BlockedRanges) == 7);

// Rule 0037: stored BLZ -> replacement BLZ and its BIC.
static constexpr BlzMove kRule0037Blzs[] = {
    {"20110700", "30010700", "BOTKDEDXXXX"},
};

// Rule 0038: stored BLZ -> replacement BLZ and its BIC.
static constexpr BlzMove kRule0038Blzs[] = {
    {"26691213", "28590075", "GENODEF1LER"},
    {"28591579", "28590075", "GENODEF1LER"},
    {"25090300", "28590075", "GENODEF1LER"},
};
static_assert(std::size(kRule0038Blzs) == 3);

// Rule 0039: these BLZs convert under kRule0039Blz; the BIC stays the stored BLZ's.
constexpr std::string_view kRule0039Blz = "28020050";
static constexpr std::string_view kRule0039Blzs[] = {
    "25621327", "26520017", "26521703", "26522319", "26620010", "26621413", "26720028", "28021002",
    "28021301", "28021504", "28021623", "28021705", "28021906", "28022015", "28022412", "28022511",
    "28022620", "28022822", "28023224", "28023325", "28220026", "28222208", "28222621", "28320014",
    "28321816", "28420007", "28421030", "28520009", "28521518", "29121731",
};
static_assert(std::size(kRule0039Blzs) == 30);

// Rule 0040: stored BLZ -> replacement BLZ and its BIC.
static constexpr BlzMove kRule0040Blzs[] = {
    {"68051310", "68052328", "SOLADES1STF"},
};

// Rule 0041: this BLZ gets one fixed IBAN for every account, with this BIC.
constexpr std::string_view kRule0041Blz = "62220000";
constexpr std::string_view kRule0041Iban = "DE96500604000000011404";
constexpr std::string_view kRule0041Bic = "GENODEFFXXX";
static_assert(kRule0041Iban.size() == 22);

// Rule 0042: 8-digit accounts in these ranges convert although their 4th digit is not "0".
static constexpr AccountTextRange kRule0042Ranges[] = {
    {"50462000", "50463999"},
    {"50469000", "50469999"},
};

// Rule 004201: 8-digit accounts (as 10 digits) in these ranges convert although their 6th digit
// is not "0".
static constexpr AccountTextRange kRule004201Ranges[] = {
    {"0050462000", "0050463999"},
    {"0050469000", "0050469999"},
};

// Rule 0043: stored BLZ -> replacement BLZ and its BIC.
static constexpr BlzMove kRule0043Blzs[] = {
    {"60651070", "66650085", "PZHSDE66XXX"},
};

// Rule 0044: account as stored -> replacement account.
static constexpr AccountMove kRule0044Accounts[] = {
    {"202", "2282022"},
};

// Rule 0045: every account of the rule gets this BIC.
constexpr std::string_view kRule0045Bic = "ESSEDE5FXXX";

// Rule 0046: every bank of the rule converts under this BLZ.
constexpr std::string_view kRule0046Blz = "31010833";

// Rule 0048: stored BLZ -> replacement BLZ and its BIC.
static constexpr BlzMove kRule0048Blzs[] = {
    {"10120800", "36010200", "VONEDE33XXX"},
    {"27010200", "36010200", "VONEDE33XXX"},
    {"60020300", "36010200", "VONEDE33XXX"},
};
static_assert(std::size(kRule0048Blzs) == 3);

// Rule 0049: at these BLZs an account whose 5th digit is "9" has its two blocks swapped.
static constexpr std::string_view kRule0049SwapBlzs[] = {"30060010", "40060000", "57060000"};

// Rule 0049: a 10-digit account beginning with these digits carries no check digit.
constexpr std::string_view kRule0049UncheckedFrom = "92";
constexpr std::string_view kRule0049UncheckedTo = "99";

// Rule 0049: zero-filled account -> replacement account, at every bank of the rule.
static constexpr AccountMove kRule0049Accounts[] = {
    {"0000000036", "0002310113"},
    {"0000000936", "0002310113"},
    {"0000000999", "0001310113"},
    {"0000006060", "0000160602"},
};
static_assert(std::size(kRule0049Accounts) == 4);

template <typename Table> bool contains(const Table& table, std::string_view value)
{
    return std::find(std::begin(table), std::end(table), value) != std::end(table);
}

const AccountMove* findAccount(std::span<const AccountMove> table, std::string_view account)
{
    const auto it = std::find_if(table.begin(), table.end(), [&](const auto& row) { return row.from == account; });
    return it == table.end() ? nullptr : &*it;
}

// Standard IBAN; the BLZ moves when the current BLZ is listed, and the BIC field is written
// again afterwards: with the listed BIC, or with the directory BIC when the BLZ is not listed.
void moveBlzThenIban(RuleContext& context, std::span<const BlzMove> moves)
{
    const auto it =
        std::find_if(moves.begin(), moves.end(), [&](const auto& row) { return row.from == context.blz(); });
    const std::string_view bic = it == moves.end() ? std::string_view(context.entry().bic) : it->bic;
    if (it != moves.end())
        context.substituteBlz(std::string(it->to));
    context.standardIban();
    context.overrideBic(bic);
}

void applyRule0030(RuleContext& context)
{
    context.standardIban();
}

// Rule 0036: every account converts under 21050000 with that bank's BIC, refusals included.
void applyRule0036(RuleContext& context)
{
    context.substituteBlz(std::string(kRule0036Blz));
    const BankEntry* entry = context.directory().findEntry(kRule0036Blz);
    context.overrideBic(entry != nullptr ? std::string_view(entry->bic) : std::string_view());

    const auto account = AccountDigits::of(context.account());
    if (!account) {
        context.standardIban(); // hint 9
        return;
    }
    std::uint64_t number = 0;
    std::from_chars(account->text().data(), account->text().data() + account->text().size(), number);
    const bool blocked = std::any_of(std::begin(kRule0036BlockedRanges), std::end(kRule0036BlockedRanges),
                                     [&](const auto& range) { return number >= range.from && number <= range.to; });
    if (blocked) {
        context.refuse(HintNumber::BlockedAccountRange);
        return;
    }
    // The bank's method gives one verdict for six digits and for them with "000" appended.
    if (context.storedAccountFails()) {
        context.rejectWrongCheckDigit();
        return;
    }
    // What is left of six digits lies in 100000-899999: the account with "000" appended.
    if (account->significant() == 6) {
        context.substituteCheckedAccount(std::string(account->significantText()) + "000");
        context.standardIban();
        return;
    }
    context.substituteAccount(std::string(account->text()));
    context.standardIban();
    context.caveat(HintNumber::CheckDigitNotRecomputed);
}

void applyRule0037(RuleContext& context)
{
    moveBlzThenIban(context, kRule0037Blzs);
}

void applyRule0038(RuleContext& context)
{
    moveBlzThenIban(context, kRule0038Blzs);
}

void applyRule0039(RuleContext& context)
{
    if (contains(kRule0039Blzs, context.blz()))
        context.substituteBlz(std::string(kRule0039Blz));
    context.standardIban();
}

void applyRule0040(RuleContext& context)
{
    moveBlzThenIban(context, kRule0040Blzs);
}

void applyRule0041(RuleContext& context)
{
    if (context.blz() == kRule0041Blz) {
        context.fixedIban(kRule0041Iban);
        context.overrideBic(kRule0041Bic);
        return;
    }
    context.standardIban();
    context.overrideBic(context.entry().bic);
}

// Rule 0042 on the account's digits, leading zeros left out: only 8-digit accounts convert, those
// with a 4th digit other than "0" only in the listed ranges, and not those ending in 00000-00999.
void applyRule0042(RuleContext& context)
{
    const auto account = AccountDigits::of(context.account());
    if (!account) {
        context.standardIban(); // hint 9
        return;
    }
    if (account->significant() != 8) {
        context.refuse(HintNumber::EightDigitAccountsOnly);
        return;
    }
    const std::string_view digits = account->significantText();
    if (digits[3] != '0') {
        const bool listed = std::any_of(std::begin(kRule0042Ranges), std::end(kRule0042Ranges),
                                        [&](const auto& range) { return digits >= range.from && digits <= range.to; });
        if (listed)
            context.standardIban();
        else
            context.refuse(HintNumber::IbanNotPossible);
        return;
    }
    const std::string_view tail = digits.substr(3);
    if (tail >= "00000" && tail <= "00999") {
        context.refuse(HintNumber::AccountExcluded);
        return;
    }
    context.standardIban();
}

// Rule 0042 version 01, on the account zero-filled to 10 digits d1..d10: 8-digit accounts
// convert when d6 is "0" (but not d6d7 "00") or when listed; 10-digit accounts with d4d5 "44"
// and not ending in "00000" convert; every other account is refused with hint 6.
bool rule004201Converts(std::string_view account)
{
    const bool eightDigits = account.starts_with("00") && account[2] != '0';
    if (eightDigits) {
        if (account[5] == '0')
            return account[6] != '0';
        return std::any_of(std::begin(kRule004201Ranges), std::end(kRule004201Ranges),
                           [&](const auto& range) { return account >= range.from && account <= range.to; });
    }
    const bool tenDigits = account[0] != '0';
    return tenDigits && account.substr(3, 2) == "44" && account.substr(5) != "00000";
}

void applyRule004201(RuleContext& context)
{
    // Hint 9 for what is no account number at all, before the ranges are read.
    if (!isUsableAccountNumber(context.account())) {
        context.standardIban();
        return;
    }
    std::string digits;
    std::copy_if(context.account().begin(), context.account().end(), std::back_inserter(digits),
                 [](char c) { return c != ' '; });
    context.substituteAccount(zeroFillTo10(digits));
    if (rule004201Converts(context.account()))
        context.standardIban();
    else
        context.refuse(HintNumber::IbanNotPossible);
}

void applyRule0043(RuleContext& context)
{
    moveBlzThenIban(context, kRule0043Blzs);
}

void applyRule0044(RuleContext& context)
{
    if (const AccountMove* move = findAccount(kRule0044Accounts, context.account()))
        context.substituteAccount(std::string(move->to));
    context.standardIban();
}

void applyRule0045(RuleContext& context)
{
    context.standardIban();
    context.overrideBic(kRule0045Bic);
}

void applyRule0046(RuleContext& context)
{
    context.substituteBlz(std::string(kRule0046Blz));
    context.standardIban();
}

void applyRule0047(RuleContext& context)
{
    if (context.account().size() == 8)
        context.substituteAccount(context.account() + "00");
    context.standardIban();
}

void applyRule0048(RuleContext& context)
{
    moveBlzThenIban(context, kRule0048Blzs);
}

void skipCheckDigitOfUncheckedRule0049Account(RuleContext& context, std::string_view account)
{
    const auto lead = account.substr(0, 2);
    if (lead >= kRule0049UncheckedFrom && lead <= kRule0049UncheckedTo)
        context.skipCheckDigit();
}

void applyRule0049(RuleContext& context)
{
    std::string account = zeroFillTo10(context.account());
    skipCheckDigitOfUncheckedRule0049Account(context, account);
    if (contains(kRule0049SwapBlzs, context.blz()) && account[4] == '9') {
        // A rotated account has no check digit of its own.
        account = account.substr(4) + account.substr(0, 4);
        context.skipCheckDigit();
    }
    if (const AccountMove* move = findAccount(kRule0049Accounts, account))
        account = move->to;
    context.substituteAccount(std::move(account));
    context.standardIban();
}

// Rule 0049 version 01: no special accounts and no rotation any more.
void applyRule004901(RuleContext& context)
{
    skipCheckDigitOfUncheckedRule0049Account(context, zeroFillTo10(context.account()));
    context.standardIban();
}

// clang-format off
// Rule code -> rule, ascending.
static constexpr RuleDefinition kRules[] = {
    {"003000", applyRule0030},
    {"003600", applyRule0036},
    {"003700", applyRule0037},
    {"003800", applyRule0038},
    {"003900", applyRule0039},
    {"004001", applyRule0040},
    {"004100", applyRule0041},
    {"004200", applyRule0042},
    {"004201", applyRule004201},
    {"004300", applyRule0043},
    {"004301", applyRule0043},
    {"004400", applyRule0044},
    {"004500", applyRule0045},
    {"004501", applyRule0045},
    {"004600", applyRule0046},
    {"004700", applyRule0047},
    {"004800", applyRule0048},
    {"004900", applyRule0049},
    {"004901", applyRule004901},
};
// clang-format on
static_assert(std::size(kRules) == 19);

} // namespace

std::span<const RuleDefinition> rules0030To0049()
{
    return kRules;
}

} // namespace zelvan
