#include <algorithm>
#include <array>

#include "iban/AccountDigits.h"
#include "iban/Iban.h"
#include "iban/RuleGroups.h"
#include "iban/Rules0050Tables.h"

namespace zelvan {

namespace {

constexpr std::size_t kIbanLength = 22;

// Rule 0050: the BLZ that is replaced, its replacement (the bank with BIC "BRLADE21LER") and that BIC.
constexpr std::string_view kRule0050Blz = "28252760";
constexpr std::string_view kRule0050TargetBlz = "28550000";
constexpr std::string_view kRule0050Bic = "BRLADE21LER";

// Rules 0052 and 0053: where a matching account is moved to.
constexpr std::string_view kSolaBlz = "60050101";
constexpr std::string_view kSolaBic = "SOLADEST600";

// Rule 0055: every account is moved to this BLZ and BIC.
constexpr std::string_view kRule0055Blz = "25410200";
constexpr std::string_view kRule0055Bic = "BHWBDE2HXXX";

// Rule 0057: the BLZ that is replaced, its replacement and that bank's BIC.
constexpr std::string_view kRule0057Blz = "50810900";
constexpr std::string_view kRule0057TargetBlz = "66010200";
constexpr std::string_view kRule0057Bic = "BBSPDE6KXXX";

// Rule 0051: zero-filled account number -> replacement account number.
// clang-format off
static constexpr AccountSubstitution kRule0051Accounts[] = {
    {"0000000333", "7832500881"},
    {"0000000502", "0001108884"},
    {"0500500500", "0005005000"},
    {"0502502502", "0001108884"},
};
// clang-format on
static_assert(std::size(kRule0051Accounts) == 4);

// Rule 0052: BLZ and account number as stored -> replacement account number at BLZ 60050101.
// clang-format off
static constexpr PairSubstitution kRule0052Pairs[] = {
    {"67220020", "5308810004", "0002662604"},
    {"67220020", "5308810000", "0002659600"},
    {"67020020", "5203145700", "7496510994"},
    {"69421020", "6208908100", "7481501341"},
    {"66620020", "4840404000", "7498502663"},
    {"64120030", "1201200100", "7477501214"},
    {"64020030", "1408050100", "7469534505"},
    {"63020130", "1112156300", "0004475655"},
    {"62030050", "7002703200", "7406501175"},
    {"69220020", "6402145400", "7485500252"},
};
// clang-format on
static_assert(std::size(kRule0052Pairs) == 10);

// Rule 0053, grouped by BLZ: BLZ and account number as stored -> replacement account number at BLZ 60050101.
// clang-format off
static constexpr PairSubstitution kRule0053Accounts[] = {
    {"55050000", "35000", "7401555913"},
    {"55050000", "119345106", "7401555906"},
    {"55050000", "908", "7401507480"},
    {"55050000", "901", "7401507497"},
    {"55050000", "910", "7401507466"},
    {"55050000", "35100", "7401555913"},
    {"55050000", "902", "7401507473"},
    {"55050000", "44000", "7401555872"},
    {"55050000", "110132511", "7401550530"},
    {"55050000", "110024270", "7401501266"},
    {"55050000", "3500", "7401555913"},
    {"55050000", "110050002", "7401502234"},
    {"55050000", "55020100", "7401555872"},
    {"55050000", "110149226", "7401512248"},
    {"60020030", "1047444300", "7871538395"},
    {"60020030", "1040748400", "0001366705"},
    {"60020030", "1000617900", "0002009906"},
    {"60020030", "1003340500", "0002001155"},
    {"60020030", "1002999900", "0002588991"},
    {"60020030", "1004184600", "7871513509"},
    {"60020030", "1000919900", "7871531505"},
    {"60020030", "1054290000", "7871521216"},
    {"60050000", "1523", "0001364934"},
    {"60050000", "2811", "0001367450"},
    {"60050000", "2502", "0001366705"},
    {"60050000", "250412", "7402051588"},
    {"60050000", "3009", "0001367924"},
    {"60050000", "4596", "0001372809"},
    {"60050000", "3080", "0002009906"},
    {"60050000", "1029204", "0002782254"},
    {"60050000", "3002", "0001367924"},
    {"60050000", "123456", "0001362826"},
    {"60050000", "2535", "0001119897"},
    {"60050000", "5500", "0001375703"},
    {"66020020", "4002401000", "7495500967"},
    {"66020020", "4000604100", "0002810030"},
    {"66020020", "4002015800", "7495530102"},
    {"66020020", "4003746700", "7495501485"},
    {"66050000", "86567", "0001364934"},
    {"66050000", "86345", "7402046641"},
    {"66050000", "85304", "7402045439"},
    {"66050000", "85990", "7402051588"},
    {"86050000", "1016", "7461500128"},
    {"86050000", "3535", "7461505611"},
    {"86050000", "2020", "7461500018"},
    {"86050000", "4394", "7461505714"},
};
// clang-format on
static_assert(std::size(kRule0053Accounts) == 46);

// Rule 0054 pattern: for every two-digit prefix p of these ranges, account p"796740" -> account p"796743".
struct PrefixRange {
    int first;
    int last;
};
// clang-format off
static constexpr PrefixRange kRule0054Prefixes[] = {
    {10, 29},
    {45, 45},
    {50, 69},
};
// clang-format on

constexpr std::string_view kRule0054PatternKey = "796740";
constexpr std::string_view kRule0054PatternReplacement = "796743";
constexpr std::size_t kRule0054PatternLength = 2 + kRule0054PatternKey.size();

constexpr std::size_t countRule0054Prefixes()
{
    std::size_t count = 0;
    for (const auto& range : kRule0054Prefixes)
        count += static_cast<std::size_t>(range.last - range.first + 1);
    return count;
}

constexpr std::size_t kRule0054PatternRows = countRule0054Prefixes();
static_assert(kRule0054PatternRows == 41);

// The texts of the pattern rows, key then replacement, one after the other; the rows point into it.
constexpr auto makeRule0054PatternTexts()
{
    std::array<char, kRule0054PatternRows * 2 * kRule0054PatternLength> text{};
    std::size_t at = 0;
    for (const auto& range : kRule0054Prefixes) {
        for (int prefix = range.first; prefix <= range.last; ++prefix) {
            for (const auto tail : {kRule0054PatternKey, kRule0054PatternReplacement}) {
                text[at++] = static_cast<char>('0' + prefix / 10);
                text[at++] = static_cast<char>('0' + prefix % 10);
                for (const char c : tail)
                    text[at++] = c;
            }
        }
    }
    return text;
}
static constexpr auto kRule0054PatternTexts = makeRule0054PatternTexts();

// Rule 0054 single rows: account number as stored -> replacement account number.
// clang-format off
static constexpr AccountSubstitution kRule0054SingleRows[] = {
    {"500", "500500"},
    {"502", "502502"},
    {"18067", "180670"},
    {"484848", "484849"},
    {"636306", "63606"},
    {"760440", "160440"},
    {"1018413", "10108413"},
    {"2601577", "26015776"},
    {"5005000", "500500"},
    {"16307000", "163107000"},
    {"16610700", "166107000"},
    {"26610700", "266107000"},
    {"1761070000", "176107000"},
    {"2210531180", "201053180"},
};
// clang-format on
static_assert(std::size(kRule0054SingleRows) == 14);

constexpr auto makeRule0054Accounts()
{
    std::array<AccountSubstitution, kRule0054PatternRows + std::size(kRule0054SingleRows)> rows{};
    for (std::size_t row = 0; row < kRule0054PatternRows; ++row) {
        const char* key = kRule0054PatternTexts.data() + row * 2 * kRule0054PatternLength;
        rows[row] = {{key, kRule0054PatternLength}, {key + kRule0054PatternLength, kRule0054PatternLength}};
    }
    std::copy(std::begin(kRule0054SingleRows), std::end(kRule0054SingleRows), rows.begin() + kRule0054PatternRows);
    return rows;
}

// Rule 0054 (codes 005400 and 005401): account number as stored -> replacement account number.
static constexpr auto kRule0054Accounts = makeRule0054Accounts();
static_assert(kRule0054Accounts.size() == 55);

// Rule 0056: the BLZs at which only 10-digit account numbers are converted.
static constexpr std::string_view kRule0056Blzs[] = {
    "10010111", "26510111", "36210111", "48010111", "59010111", "70010111", "13010111", "27010111",
    "37010111", "50010111", "60010111", "72010111", "16010111", "28010111", "38010111", "50510111",
    "63010111", "75010111", "20010111", "29010111", "39010111", "51010111", "65310111", "76010111",
    "21010111", "29210111", "40010111", "51310111", "66010111", "79010111", "21210111", "30010111",
    "41010111", "51410111", "66610111", "79510111", "23010111", "31010111", "42010111", "52010111",
    "67010111", "81010111", "25010111", "33010111", "42610112", "54210111", "67210111", "82010111",
    "25410111", "35010111", "43010111", "55010111", "68010111", "86010111", "25910111", "35211012",
    "44010111", "57010111", "68310111", "26010111", "36010111", "46010111", "58510111", "69010111",
};
static_assert(std::size(kRule0056Blzs) == 64);

// Rule 0056: account number (leading zeros left out) -> the IBAN that stands for it at every bank with this rule.
// clang-format off
static constexpr FixedIbanEntry kRule0056FixedIbans[] = {
    {"36", "DE29380101111010240003"},
    {"50", "DE55480101111328506100"},
    {"99", "DE26430101111826063000"},
    {"110", "DE52250101111015597802"},
    {"240", "DE13380101111010240000"},
    {"333", "DE15380101111011296100"},
    {"555", "DE54100101111600220800"},
    {"556", "DE42390101111000556100"},
    {"606", "DE70250101111967153801"},
    {"700", "DE92265101111070088000"},
    {"777", "DE72250101111006015200"},
    {"999", "DE83380101111010240001"},
    {"1234", "DE91250101111369152400"},
    {"1313", "DE48570101111017500000"},
    {"1888", "DE81370101111241113000"},
    {"1953", "DE30250101111026500901"},
    {"1998", "DE47670101111547620500"},
    {"2007", "DE62250101111026500907"},
    {"4004", "DE45370101111635100100"},
    {"4444", "DE88670101111304610900"},
    {"5000", "DE20250101111395676000"},
    {"5510", "DE96290101111611754300"},
    {"6060", "DE43500101111000400200"},
    {"6800", "DE02670101111296401301"},
    {"55555", "DE13380101111027758200"},
    {"60000", "DE98500101111005007001"},
    {"66666", "DE10200101111299807801"},
    {"102030", "DE59370101111837501600"},
    {"121212", "DE48700101111249461502"},
    {"130500", "DE78300101111413482100"},
    {"202020", "DE24370101111213431002"},
    {"414141", "DE59380101111010555101"},
    {"666666", "DE49200101111798758900"},
    {"5000000", "DE62370101111403124100"},
    {"500500500", "DE17600101111045720000"},
};
// clang-format on
static_assert(std::size(kRule0056FixedIbans) == 35);
static_assert(std::all_of(std::begin(kRule0056FixedIbans), std::end(kRule0056FixedIbans),
                          [](const FixedIbanEntry& row) { return row.iban.size() == kIbanLength; }));

// The replacement for an account number, or an empty view when the account is not a key.
std::string_view replacementOf(std::span<const AccountSubstitution> table, std::string_view account)
{
    const auto row = std::find_if(table.begin(), table.end(), [&](const auto& r) { return r.account == account; });
    return row == table.end() ? std::string_view{} : row->replacement;
}

// The first row whose BLZ and account number are both those given, or nullptr.
const PairSubstitution* pairOf(std::span<const PairSubstitution> table, std::string_view blz, std::string_view account)
{
    const auto row =
        std::find_if(table.begin(), table.end(), [&](const auto& r) { return r.blz == blz && r.account == account; });
    return row == table.end() ? nullptr : &*row;
}

void applyRule0050(RuleContext& context)
{
    const bool moved = context.blz() == kRule0050Blz;
    if (moved)
        context.substituteBlz(std::string(kRule0050TargetBlz));
    context.standardIban();
    // Without the move the row keeps the directory BIC it already holds.
    if (moved)
        context.overrideBic(kRule0050Bic);
}

void applyRule0051(RuleContext& context)
{
    std::string account = zeroFillTo10(context.account());
    if (const auto replacement = replacementOf(kRule0051Accounts, account); !replacement.empty())
        account = replacement;
    context.substituteAccount(std::move(account));
    context.standardIban();
}

void applyRule0052(RuleContext& context)
{
    const PairSubstitution* pair = pairOf(kRule0052Pairs, context.blz(), context.account());
    if (pair == nullptr) {
        context.refuse(HintNumber::AccountExcluded);
        return;
    }
    context.substituteAccount(std::string(pair->replacement));
    context.substituteBlz(std::string(kSolaBlz));
    context.standardIban();
    context.overrideBic(kSolaBic);
}

void applyRule0053(RuleContext& context)
{
    const PairSubstitution* pair = pairOf(kRule0053Accounts, context.blz(), context.account());
    if (pair != nullptr) {
        context.substituteAccount(std::string(pair->replacement));
        context.substituteBlz(std::string(kSolaBlz));
    }
    context.standardIban();
    if (pair != nullptr)
        context.overrideBic(kSolaBic);
}

void applyRule0054(RuleContext& context)
{
    if (const auto replacement = replacementOf(kRule0054Accounts, context.account()); !replacement.empty())
        context.substituteAccount(std::string(replacement));
    context.standardIban();
}

void applyRule0055(RuleContext& context)
{
    context.substituteBlz(std::string(kRule0055Blz));
    context.standardIban();
    context.overrideBic(kRule0055Bic);
}

void applyRule0056(RuleContext& context)
{
    const auto account = AccountDigits::of(context.account());
    if (!account) {
        context.standardIban(); // hint 9
        return;
    }
    // The fixed IBANs come first: their keys are all shorter than 10 digits, and such an account keeps
    // its IBAN without a refusal even at the banks that otherwise want 10 digits.
    const auto fixed = std::find_if(std::begin(kRule0056FixedIbans), std::end(kRule0056FixedIbans),
                                    [&](const auto& row) { return row.account == account->significantText(); });
    if (fixed != std::end(kRule0056FixedIbans)) {
        context.fixedIban(fixed->iban);
        return;
    }
    const bool listed =
        std::find(std::begin(kRule0056Blzs), std::end(kRule0056Blzs), context.blz()) != std::end(kRule0056Blzs);
    if (listed && account->significant() != AccountDigits::kLength) {
        context.refuse(HintNumber::AccountExcluded);
        return;
    }
    context.standardIban();
}

void applyRule0057(RuleContext& context)
{
    if (context.blz() == kRule0057Blz) {
        context.substituteBlz(std::string(kRule0057TargetBlz));
        context.overrideBic(kRule0057Bic);
    }
    context.standardIban();
}

// Implemented codes of rules 0050 to 0057, ascending.
constexpr RuleDefinition kRules[] = {
    {"005000", applyRule0050}, {"005100", applyRule0051}, {"005200", applyRule0052},
    {"005300", applyRule0053}, {"005400", applyRule0054}, {"005401", applyRule0054},
    {"005500", applyRule0055}, {"005600", applyRule0056}, {"005700", applyRule0057},
};

} // namespace

std::span<const RuleDefinition> rules0050To0057()
{
    return kRules;
}

std::span<const AccountSubstitution> rule0051Accounts()
{
    return kRule0051Accounts;
}
std::span<const PairSubstitution> rule0052Pairs()
{
    return kRule0052Pairs;
}
std::span<const PairSubstitution> rule0053Accounts()
{
    return kRule0053Accounts;
}
std::span<const AccountSubstitution> rule0054Accounts()
{
    return kRule0054Accounts;
}
std::size_t rule0054PatternRowCount()
{
    return kRule0054PatternRows;
}
std::span<const std::string_view> rule0056Blzs()
{
    return kRule0056Blzs;
}
std::span<const FixedIbanEntry> rule0056FixedIbans()
{
    return kRule0056FixedIbans;
}

} // namespace zelvan
