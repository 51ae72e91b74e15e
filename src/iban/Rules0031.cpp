#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "iban/AccountDigits.h"
#include "iban/RuleGroups.h"
#include "iban/Rules0031Tables.h"

namespace zelvan {

namespace {

// A replacement BLZ and the range keys that lead to it ("113-114" includes both ends).
struct RangeKeys {
    std::string_view blz;
    std::string_view keys;
};

// Replacement BLZ -> the range keys (first three digits of the account) that stand for it.
static constexpr RangeKeys kAccountRangeTable[] = {
    {"76020070", "100, 111, 113-114, 118, 150, 156, 190, 194, 201-204, 237, 292, 330, 346, 424, 435-436, 472, 714"},
    {"10020890", "101, 157, 210, 254, 260, 279, 341-342, 368, 409, 456, 466-467, 489-490, 492, 502-503, 506, 522, "
                 "528, 530-531, 546-548, 572, 712"},
    {"78320076", "102, 152, 476-477"},
    {"79320075", "103, 106-107, 109, 112, 137, 258, 284, 350-351, 560"},
    {"76320072", "104, 122, 124, 151, 198, 313"},
    {"79020076", "105, 140, 144, 149, 169, 186, 217, 494, 499, 555"},
    {"77320072", "108, 126, 181, 291, 723"},
    {"76220073", "110, 121, 241, 359"},
    {"76520071", "115, 148, 155, 369, 690"},
    {"77120073", "117, 129"},
    {"75320075", "119, 240"},
    {"72120078", "120, 146, 175, 230, 245, 637-638, 648, 655, 664"},
    {"76420080", "123"},
    {"79520070", "125, 136, 182, 205-206, 219, 322, 382"},
    {"78020070", "127-128, 130-131, 134, 682"},
    {"60020290", "132, 143, 211, 247, 434, 619, 667-668"},
    {"77020070", "135, 191, 345"},
    {"61120286", "138, 459"},
    {"66020286", "139, 145, 398, 410"},
    {"64020186", "142"},
    {"72223182", "147, 354"},
    {"70020270", "154, 158, 160, 162-164, 170, 172, 174, 178, 183, 185, 188-189, 199, 239, 251-253, 276, 282, 287, "
                 "295-296, 304, 308, 314-318, 324, 329, 331, 333, 335, 344, 352-353, 356, 361-363, 367, 371, 373, "
                 "375, 379-381, 386-387, 389, 391-392, 394, 396, 422-423, 428, 432, 437-441, 447, 452-453, 460-463, "
                 "465, 468, 480-481, 484, 486, 505, 523, 525, 534, 580-581, 602-606, 613, 632, 634, 640-641, "
                 "644-647, 653-654, 684-689, 692, 711, 798"},
    {"54520194", "159, 161, 286, 294, 302, 309, 393, 458, 650, 659, 679"},
    {"71120078", "166, 207, 228, 281, 656"},
    {"74320073", "167, 177, 223, 235, 246, 277, 601, 607, 622, 633, 643, 661, 696, 717"},
    {"70320090", "168, 268, 635-636, 695"},
    {"74020074", "176, 225, 264, 473, 672-673, 675-676"},
    {"70025175", "192, 261, 426, 615"},
    {"85020086", "193, 248, 301, 326, 370, 429, 442, 513, 524, 536"},
    {"72020070", "196, 231, 243, 262, 283, 293, 299, 310, 327-328, 355, 383-384, 608-611, 614, 623, 677-678"},
    {"73120075", "208, 221, 374, 618, 629, 662"},
    {"18020086", "209, 545"},
    {"51020186", "212"},
    {"75020073", "214, 216, 227, 271, 334, 670, 715"},
    {"63020086", "215, 238, 267, 274"},
    {"59020090", "218"},
    {"73322380", "220, 224, 666"},
    {"73421478", "222"},
    {"80020086", "229, 337, 446, 510"},
    {"75021174", "232"},
    {"71020072", "233, 624, 626, 657, 683"},
    {"71022182", "234, 236, 256, 320, 631"},
    {"73321177", "249"},
    {"73420071", "250, 272, 616, 693"},
    {"50820292", "255"},
    {"83020086", "257, 511, 519"},
    {"71120077", "259, 278, 612, 620-621, 628, 680"},
    {"71122183", "269"},
    {"82020086", "270, 518, 538"},
    {"75220070", "288, 321"},
    {"74120071", "312, 674"},
    {"54220091", "358"},
    {"80020087", "360, 541"},
    {"72220074", "366"},
    {"67020190", "390, 681"},
    {"87020088", "399, 478, 495"},
    {"30220190", "401, 404, 450, 710, 720"},
    {"36020186", "402"},
    {"38020090", "403"},
    {"68020186", "405, 408, 617, 658"},
    {"48020086", "406"},
    {"37020090", "407, 719"},
    {"60420186", "411"},
    {"57020086", "412"},
    {"50320191", "427, 485, 533"},
    {"55020486", "443"},
    {"50520190", "444"},
    {"44020090", "451"},
    {"87020086", "457, 507, 718"},
    {"60320291", "469"},
    {"65020186", "470, 540"},
    {"84020087", "471, 482"},
    {"67220286", "488"},
    {"16020086", "491"},
    {"87020087", "497"},
    {"86020086", "508, 567"},
    {"83020087", "509, 733"},
    {"17020086", "515"},
    {"82020088", "527"},
    {"82020087", "549"},
    {"71023173", "625"},
    {"71021270", "627, 652"},
    {"71121176", "630"},
    {"72122181", "649"},
    {"54620093", "660"},
    {"70322192", "663"},
    {"70321194", "665"},
    {"73320073", "669, 698"},
    {"74220075", "671"},
    {"70021180", "694"},
    {"54020090", "697"},
};

constexpr int kLowestKey = 100;
constexpr int kHighestKey = 798;
constexpr std::size_t kKeyCount = 1000;

// Which row of kAccountRangeTable each key belongs to (row + 1; 0 = no row).
struct KeyIndex {
    std::array<std::uint8_t, kKeyCount> rowOfKey{};
    int keys = 0;
};

constexpr int readKey(std::string_view list, std::size_t& pos)
{
    int key = 0;
    const std::size_t first = pos;
    while (pos < list.size() && list[pos] >= '0' && list[pos] <= '9')
        key = key * 10 + (list[pos++] - '0');
    if (pos == first)
        throw std::invalid_argument("range key expected");
    return key;
}

// Spreads the key lists over all keys; a malformed list or a key listed twice fails the build.
constexpr KeyIndex indexKeys()
{
    KeyIndex index;
    for (std::size_t row = 0; row < std::size(kAccountRangeTable); ++row) {
        const std::string_view list = kAccountRangeTable[row].keys;
        std::size_t pos = 0;
        while (pos < list.size()) {
            const int from = readKey(list, pos);
            int to = from;
            if (pos < list.size() && list[pos] == '-') {
                ++pos;
                to = readKey(list, pos);
            }
            if (from > to || from < kLowestKey || to > kHighestKey)
                throw std::invalid_argument("range key out of order");
            for (int key = from; key <= to; ++key) {
                auto& slot = index.rowOfKey[static_cast<std::size_t>(key)];
                if (slot != 0)
                    throw std::invalid_argument("range key listed twice");
                slot = static_cast<std::uint8_t>(row + 1);
                ++index.keys;
            }
            if (pos < list.size()) {
                if (list.substr(pos, 2) != ", ")
                    throw std::invalid_argument("\", \" expected");
                pos += 2;
            }
        }
    }
    return index;
}

constexpr bool allBlzsDistinct()
{
    for (std::size_t a = 0; a < std::size(kAccountRangeTable); ++a) {
        if (kAccountRangeTable[a].blz.size() != 8)
            return false;
        for (std::size_t b = a + 1; b < std::size(kAccountRangeTable); ++b) {
            if (kAccountRangeTable[a].blz == kAccountRangeTable[b].blz)
                return false;
        }
    }
    return true;
}

constexpr KeyIndex kKeyIndex = indexKeys();
static_assert(kKeyIndex.keys == 458);
static_assert(std::size(kAccountRangeTable) == 91 && allBlzsDistinct());

// clang-format off
// Code, account as stored -> replacement account and the BLZ it converts under.
static constexpr SpecialAccount kSpecialAccounts[] = {
    {"003301", "22222", "5803435253", "70020270"},
    {"003301", "1111111", "39908140", "70020270"},
    {"003301", "94", "2711931", "70020270"},
    {"003301", "7777777", "5800522694", "70020270"},
    {"003301", "55555", "5801800000", "70020270"},
    {"003400", "500500500", "4340111112", "60020290"},
    {"003400", "502", "4340118001", "60020290"},
    {"003501", "9696", "1490196966", "79020076"},
};
// clang-format on
static_assert(std::size(kSpecialAccounts) == 8);

// What the keys 800 to 899 of a 10-digit account do to the BLZ.
enum class Keys800 {
    KeepBlz,
    EmptyBlzUnless70020270,
    EmptyBlz,
};

// The places where the codes of rules 0031 to 0035 differ.
struct RangeRuleVersion {
    std::string_view code;
    bool shortAccountsRefused;
    Keys800 keys800;
    bool nineDigits8xxRefused;
};

constexpr std::string_view kRule0033Blz = "70020270";

// Rule code -> whether accounts under 10 digits are refused, what keys 800 to 899 do, and whether
// 9-digit accounts 800000000-899999999 are refused.
static constexpr RangeRuleVersion kVersions[] = {
    {"003101", true, Keys800::KeepBlz, true},
    {"003200", false, Keys800::KeepBlz, true},
    {"003301", false, Keys800::EmptyBlzUnless70020270, false},
    {"003400", false, Keys800::EmptyBlz, true},
    {"003501", false, Keys800::EmptyBlz, true},
};

// The range key: the first three digits of a 10-digit account.
int rangeKey(const AccountDigits& account)
{
    return account[1] * 100 + account[2] * 10 + account[3];
}

// The BLZ a valid account converts under; empty when the account has no IBAN here.
std::string blzFor(const RuleContext& context, const RangeRuleVersion& version, const AccountDigits& account)
{
    if (account.significant() < AccountDigits::kLength) {
        if (version.shortAccountsRefused)
            return {};
        if (version.nineDigits8xxRefused && account.significant() == 9 && account[2] == 8)
            return {};
        return context.blz();
    }
    const int key = rangeKey(account);
    if (const std::string_view blz = accountRangeBlz(key); !blz.empty())
        return std::string(blz);
    if (key >= 800 && key <= 899) {
        if (version.keys800 == Keys800::EmptyBlz ||
            (version.keys800 == Keys800::EmptyBlzUnless70020270 && context.blz() != kRule0033Blz))
            return {};
    }
    return context.blz();
}

void applyRangeRule(RuleContext& context, const RangeRuleVersion& version)
{
    if (const auto account = AccountDigits::of(context.account())) {
        const auto special =
            std::find_if(std::begin(kSpecialAccounts), std::end(kSpecialAccounts), [&](const auto& row) {
                return row.code == version.code && row.account == account->significantText();
            });
        // The bank checks its account before any range or length; the pseudo accounts it replaces
        // carry no check digit. A wrong one keeps the stored bank's BIC, as every hint-10 row.
        if (special == std::end(kSpecialAccounts) && context.storedAccountFails()) {
            context.rejectWrongCheckDigit();
            return;
        }
        context.substituteBlz(blzFor(context, version, *account));
        if (special != std::end(kSpecialAccounts)) {
            context.substituteAccount(std::string(special->replacement));
            context.substituteBlz(std::string(special->blz));
        }
    }

    if (context.blz().empty()) {
        context.refuse(HintNumber::IbanNotPossible);
    } else {
        context.standardIban();
        context.caveat(HintNumber::BlzByAccountRange);
    }

    // The BIC is the one of the BLZ finally used, or none when the directory lacks it.
    const BankEntry* entry = context.blz().empty() ? nullptr : context.directory().findEntry(context.blz());
    context.overrideBic(entry != nullptr ? std::string_view(entry->bic) : std::string_view());
}

template <std::size_t kVersion> void applyVersion(RuleContext& context)
{
    applyRangeRule(context, kVersions[kVersion]);
}

// clang-format off
// Rule code -> rule, ascending.
static constexpr RuleDefinition kRules[] = {
    {kVersions[0].code, applyVersion<0>},
    {kVersions[1].code, applyVersion<1>},
    {kVersions[2].code, applyVersion<2>},
    {kVersions[3].code, applyVersion<3>},
    {kVersions[4].code, applyVersion<4>},
};
// clang-format on

} // namespace

std::string_view accountRangeBlz(int key)
{
    if (key < 0 || key >= static_cast<int>(kKeyCount))
        return {};
    const std::uint8_t row = kKeyIndex.rowOfKey[static_cast<std::size_t>(key)];
    return row == 0 ? std::string_view() : kAccountRangeTable[row - 1].blz;
}

std::span<const SpecialAccount> specialAccounts()
{
    return kSpecialAccounts;
}

std::span<const RuleDefinition> rules0031To0035()
{
    return kRules;
}

} // namespace zelvan
