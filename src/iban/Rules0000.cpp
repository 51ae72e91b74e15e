#include "iban/Rules0000Tables.h"

#include <algorithm>
#include <array>
#include <string>

#include "iban/AccountDigits.h"
#include "iban/CheckMethods.h"
#include "iban/Iban.h"
#include "iban/RuleGroups.h"

namespace zelvan {

// clang-format off

// Rule 0004: account number as stored -> replacement.
static constexpr std::array kRule0004{
    AccountReplacement{"135", "0990021440"},
    AccountReplacement{"1111", "6600012020"},
    AccountReplacement{"1900", "0920019005"},
    AccountReplacement{"7878", "0780008006"},
    AccountReplacement{"8888", "0250030942"},
    AccountReplacement{"9595", "1653524703"},
    AccountReplacement{"97097", "0013044150"},
    AccountReplacement{"112233", "0630025819"},
    AccountReplacement{"336666", "6604058903"},
    AccountReplacement{"484848", "0920018963"},
};
static_assert(kRule0004.size() == 10);

// Rule 0006: account number as stored -> replacement.
static constexpr std::array kRule0006{
    AccountReplacement{"1111111", "20228888"},
    AccountReplacement{"7777777", "903286003"},
    AccountReplacement{"34343434", "1000506517"},
    AccountReplacement{"70000", "18180018"},
};
static_assert(kRule0006.size() == 4);

// Rule 0007: account number as stored -> replacement.
static constexpr std::array kRule0007{
    AccountReplacement{"111", "1115"},
    AccountReplacement{"221", "23002157"},
    AccountReplacement{"1888", "18882068"},
    AccountReplacement{"2006", "1900668508"},
    AccountReplacement{"2626", "1900730100"},
    AccountReplacement{"3004", "1900637016"},
    AccountReplacement{"3636", "23002447"},
    AccountReplacement{"4000", "4028"},
    AccountReplacement{"4444", "17368"},
    AccountReplacement{"5050", "73999"},
    AccountReplacement{"8888", "1901335750"},
    AccountReplacement{"30000", "9992959"},
    AccountReplacement{"43430", "1901693331"},
    AccountReplacement{"46664", "1900399856"},
    AccountReplacement{"55555", "34407379"},
    AccountReplacement{"102030", "1900480466"},
    AccountReplacement{"151515", "57762957"},
    AccountReplacement{"222222", "2222222"},
    AccountReplacement{"300000", "9992959"},
    AccountReplacement{"333333", "33217"},
    AccountReplacement{"414141", "92817"},
    AccountReplacement{"606060", "91025"},
    AccountReplacement{"909090", "90944"},
    AccountReplacement{"2602024", "5602024"},
    AccountReplacement{"3000000", "9992959"},
    AccountReplacement{"7777777", "2222222"},
    AccountReplacement{"8090100", "38901"},
    AccountReplacement{"14141414", "43597665"},
    AccountReplacement{"15000023", "15002223"},
    AccountReplacement{"15151515", "57762957"},
    AccountReplacement{"22222222", "2222222"},
    AccountReplacement{"200820082", "1901783868"},
    AccountReplacement{"222220022", "2222222"},
};
static_assert(kRule0007.size() == 33);

// Rule 0011: account number (leading zeros left out) -> replacement.
static constexpr std::array kRule0011{
    AccountReplacement{"1000", "8010001"},
    AccountReplacement{"47800", "47803"},
};
static_assert(kRule0011.size() == 2);

// Rules 0015 (versions 00 and 01): account number as stored -> replacement; the first row only from version 01 on.
static constexpr std::array kRule0015{
    Rule0015Replacement{"94", "3008888018", true},
    Rule0015Replacement{"556", "0000101010", false},
    Rule0015Replacement{"888", "0031870011", false},
    Rule0015Replacement{"4040", "4003600101", false},
    Rule0015Replacement{"5826", "1015826017", false},
    Rule0015Replacement{"25000", "0025000110", false},
    Rule0015Replacement{"393393", "0033013019", false},
    Rule0015Replacement{"444555", "0032230016", false},
    Rule0015Replacement{"603060", "6002919018", false},
    Rule0015Replacement{"2120041", "0002130041", false},
    Rule0015Replacement{"80868086", "4007375013", false},
    Rule0015Replacement{"400569017", "4000569017", false},
};
static_assert(kRule0015.size() == 12);

// Rule 0017: account number (leading zeros left out) -> replacement.
static constexpr std::array kRule0017{
    AccountReplacement{"100", "2009090013"},
    AccountReplacement{"111", "2111111017"},
    AccountReplacement{"240", "2100240010"},
    AccountReplacement{"4004", "2204004016"},
    AccountReplacement{"6060", "2016060014"},
    AccountReplacement{"102030", "1102030016"},
    AccountReplacement{"333333", "2033333016"},
    AccountReplacement{"909090", "2009090013"},
    AccountReplacement{"50005000", "5000500013"},
    AccountReplacement{"4444", "2044444014"},
};
static_assert(kRule0017.size() == 10);

// Rule 0018: account number as stored -> replacement.
static constexpr std::array kRule0018{
    AccountReplacement{"556", "120440110"},
    AccountReplacement{"5435435430", "543543543"},
    AccountReplacement{"2157", "121787016"},
    AccountReplacement{"9800", "120800019"},
    AccountReplacement{"202050", "1221864014"},
};
static_assert(kRule0018.size() == 5);

// Rule 0024: account number as stored -> replacement.
static constexpr std::array kRule0024{
    AccountReplacement{"94", "1694"},
    AccountReplacement{"248", "17248"},
    AccountReplacement{"345", "17345"},
    AccountReplacement{"400", "14400"},
};
static_assert(kRule0024.size() == 4);

// Rule 0005: (BLZ, zero-filled account number) -> replacement in versions 02 and 03, and in version 01 where
// it differs. The first three rows are the ones that differ.
static constexpr std::array kRule0005{
    Rule0005Replacement{"38040007", "0000909090", "0119160000", "0001191600"},
    Rule0005Replacement{"55040022", "0000000555", "0211050000", "0002110500"},
    Rule0005Replacement{"55040022", "0000343434", "0217900000", "0002179000"},
    Rule0005Replacement{"10040000", "0000007878", "0267878700", {}},
    Rule0005Replacement{"10080000", "0000001987", "0928127700", {}},
    Rule0005Replacement{"10080000", "0000008888", "0928126501", {}},
    Rule0005Replacement{"10080000", "0001234567", "0920192001", {}},
    Rule0005Replacement{"12080000", "0000212121", "4050462200", {}},
    Rule0005Replacement{"12080000", "0007654321", "0144000700", {}},
    Rule0005Replacement{"12080000", "0012121212", "4101725100", {}},
    Rule0005Replacement{"16080000", "0000123456", "0012345600", {}},
    Rule0005Replacement{"16080000", "0003030400", "4205227110", {}},
    Rule0005Replacement{"20080000", "0000002222", "0903927200", {}},
    Rule0005Replacement{"20080000", "0000505050", "0500100600", {}},
    Rule0005Replacement{"20080000", "0000666666", "0900732500", {}},
    Rule0005Replacement{"25040066", "0000001919", "0141919100", {}},
    Rule0005Replacement{"26580070", "0000000700", "0710000000", {}},
    Rule0005Replacement{"29080010", "0000124124", "0107502000", {}},
    Rule0005Replacement{"29080010", "0012412400", "0107502000", {}},
    Rule0005Replacement{"30040000", "0000000036", "0261103600", {}},
    Rule0005Replacement{"30040000", "0000000222", "0348010002", {}},
    Rule0005Replacement{"30040000", "0000000999", "0123799900", {}},
    Rule0005Replacement{"30080000", "0000700000", "0800005000", {}},
    Rule0005Replacement{"30080000", "0070000000", "0800005000", {}},
    Rule0005Replacement{"32040024", "0000047800", "0155515000", {}},
    Rule0005Replacement{"34280032", "0014111935", "0645753800", {}},
    Rule0005Replacement{"36040039", "0000000150", "0161620000", {}},
    Rule0005Replacement{"37040044", "0000001888", "0212129101", {}},
    Rule0005Replacement{"37040044", "0000102030", "0222344400", {}},
    Rule0005Replacement{"37040044", "0000300000", "0300000700", {}},
    Rule0005Replacement{"37080040", "0000000100", "0269100000", {}},
    Rule0005Replacement{"37080040", "0000000111", "0215022000", {}},
    Rule0005Replacement{"37080040", "0000004004", "0233533500", {}},
    Rule0005Replacement{"37080040", "0000004444", "0233000300", {}},
    Rule0005Replacement{"37080040", "0000055555", "0263602501", {}},
    Rule0005Replacement{"37080040", "0000182002", "0216603302", {}},
    Rule0005Replacement{"37080040", "0000300000", "0983307900", {}},
    Rule0005Replacement{"37080040", "0000333333", "0270330000", {}},
    Rule0005Replacement{"37080040", "0000414141", "0041414100", {}},
    Rule0005Replacement{"37080040", "0000555666", "0055566600", {}},
    Rule0005Replacement{"37080040", "0000909090", "0269100000", {}},
    Rule0005Replacement{"37080040", "0005555555", "0263602501", {}},
    Rule0005Replacement{"38040007", "0000000100", "0119160000", {}},
    Rule0005Replacement{"38040007", "0000000240", "0109024000", {}},
    Rule0005Replacement{"38040007", "0000003366", "0385333000", {}},
    Rule0005Replacement{"38040007", "0000055555", "0305555500", {}},
    Rule0005Replacement{"38040007", "0000336666", "0105232300", {}},
    Rule0005Replacement{"38040007", "0000414141", "0108000100", {}},
    Rule0005Replacement{"38040007", "0001555555", "0258266600", {}},
    Rule0005Replacement{"38040007", "0043434343", "0118163500", {}},
    Rule0005Replacement{"39040013", "0000000556", "0106555600", {}},
    Rule0005Replacement{"39080005", "0000000556", "0204655600", {}},
    Rule0005Replacement{"39080005", "0000009800", "0208457000", {}},
    Rule0005Replacement{"43080083", "0000004630", "0825110100", {}},
    Rule0005Replacement{"44040037", "0111111111", "0320565500", {}},
    Rule0005Replacement{"47840065", "0000000050", "0150103000", {}},
    Rule0005Replacement{"47840065", "0000000055", "0150103000", {}},
    Rule0005Replacement{"47840065", "0000000099", "0150103000", {}},
    Rule0005Replacement{"47880031", "0000000050", "0519899900", {}},
    Rule0005Replacement{"50040000", "0000002000", "0728400300", {}},
    Rule0005Replacement{"50040000", "0000101010", "0311011100", {}},
    Rule0005Replacement{"50080000", "0000006060", "0096736100", {}},
    Rule0005Replacement{"50080000", "0000009000", "0026492100", {}},
    Rule0005Replacement{"50080000", "0000042195", "0900333200", {}},
    Rule0005Replacement{"50080000", "0000101010", "0090003500", {}},
    Rule0005Replacement{"50640015", "0000000777", "0222222200", {}},
    Rule0005Replacement{"51080060", "0000000123", "0012299300", {}},
    Rule0005Replacement{"57080070", "0000000661", "0604101200", {}},
    Rule0005Replacement{"60040071", "0000000502", "0525950200", {}},
    Rule0005Replacement{"60040071", "0500500500", "0512700600", {}},
    Rule0005Replacement{"60080000", "0000000502", "0901581400", {}},
    Rule0005Replacement{"60080000", "0500500500", "0901581400", {}},
    Rule0005Replacement{"61080006", "0009999999", "0202427500", {}},
    Rule0005Replacement{"64140036", "0008907339", "0890733900", {}},
    Rule0005Replacement{"66280053", "0000121212", "0625242400", {}},
    Rule0005Replacement{"68080030", "0000000202", "0416520200", {}},
    Rule0005Replacement{"69240075", "0000000444", "0445520000", {}},
    Rule0005Replacement{"70040041", "0000000094", "0212808000", {}},
    Rule0005Replacement{"70040041", "0001111111", "0152140000", {}},
    Rule0005Replacement{"70040041", "0007777777", "0213600000", {}},
    Rule0005Replacement{"70040041", "0400500500", "0400500500", {}},
    Rule0005Replacement{"70080000", "0000000094", "0928553201", {}},
    Rule0005Replacement{"70080000", "0000700000", "0750055500", {}},
    Rule0005Replacement{"70080000", "0000900000", "0319966601", {}},
    Rule0005Replacement{"70080000", "0000949494", "0575757500", {}},
    Rule0005Replacement{"70080000", "0001111111", "0448060000", {}},
    Rule0005Replacement{"70080000", "0007777777", "0443540000", {}},
    Rule0005Replacement{"70080000", "0009000000", "0319966601", {}},
    Rule0005Replacement{"70080000", "0070000000", "0750055500", {}},
    Rule0005Replacement{"75040062", "0006008833", "0600883300", {}},
    Rule0005Replacement{"76040061", "0002500000", "0482146800", {}},
    Rule0005Replacement{"79040047", "0000009696", "0680210200", {}},
    Rule0005Replacement{"79080052", "0000009696", "0300021700", {}},
    Rule0005Replacement{"85080000", "0000400000", "0459488501", {}},
    Rule0005Replacement{"86080000", "0000001212", "0480375900", {}},
    Rule0005Replacement{"86080000", "0000121200", "0480375900", {}},
};
static_assert(kRule0005.size() == 96);

// Rule 0005: the BLZs at which accounts 0998000000-0999499999 are blocked, ascending.
static constexpr std::array<std::string_view, 110> kRule0005BlockedRangeBlzs{
    "10080900", "12080000", "13080000", "14080000", "15080000", "16080000", "17080000", "18080000",
    "20080055", "20080057", "21080050", "21280002", "21480003", "21580000", "22180000", "22181400",
    "22280000", "24080000", "24180001", "25480021", "25780022", "25980027", "26080024", "26281420",
    "26580070", "26880063", "26981062", "28280012", "29280011", "30080055", "30080057", "31080015",
    "32080010", "33080030", "34080031", "34280032", "36280071", "36580072", "40080040", "41280043",
    "42080082", "42680081", "43080083", "44080055", "44080057", "44580070", "45080060", "46080010",
    "47880031", "49080025", "50080055", "50080057", "50080082", "50680002", "50780006", "50880050",
    "51380040", "52080080", "53080030", "54080021", "54280023", "54580020", "54680022", "55080065",
    "57080070", "58580074", "59080090", "60080055", "60080057", "60380002", "60480008", "61080006",
    "61281007", "61480001", "62080012", "62280012", "63080015", "64080014", "64380011", "65080009",
    "65180005", "65380003", "66280053", "66680013", "67280051", "69280035", "70080056", "70080057",
    "70380006", "71180005", "72180002", "73180011", "73380004", "73480013", "74180009", "74380007",
    "75080003", "76080053", "79080052", "79380051", "79580099", "80080000", "81080000", "82080000",
    "83080000", "84080000", "85080200", "86080055", "86080057", "87080000",
};
static_assert(std::is_sorted(kRule0005BlockedRangeBlzs.begin(), kRule0005BlockedRangeBlzs.end()));

// Rule codes -> the account table each looks the account number up in, and how.
static constexpr std::array kAccountTables{
    AccountTable{"000400", kRule0004, AccountKey::AsStored},
    AccountTable{"000600", kRule0006, AccountKey::AsStored},
    AccountTable{"000700", kRule0007, AccountKey::AsStored},
    AccountTable{"001100", kRule0011, AccountKey::ByNumber},
    AccountTable{"001700", kRule0017, AccountKey::ByNumber},
    AccountTable{"001800", kRule0018, AccountKey::AsStored},
    AccountTable{"002400", kRule0024, AccountKey::AsStored},
};

// clang-format on

std::span<const AccountTable> accountTables0000To0029()
{
    return kAccountTables;
}

std::span<const Rule0015Replacement> rule0015Table()
{
    return kRule0015;
}

std::span<const Rule0005Replacement> rule0005Table()
{
    return kRule0005;
}

namespace {

// Whether the character at the 1-based position exists and is the one given.
bool hasCharAt(std::string_view text, std::size_t position, char c)
{
    return text.size() >= position && text[position - 1] == c;
}

// The IBAN from the account the rule settled on, checked already.
void ibanOf(RuleContext& context, const AccountDigits& account)
{
    context.substituteCheckedAccount(std::string(account.text()));
    context.standardIban();
}

bool isBlockedRange0005(std::string_view blz, const AccountDigits& account)
{
    return account.text() >= "0998000000" && account.text() <= "0999499999" &&
           std::binary_search(kRule0005BlockedRangeBlzs.begin(), kRule0005BlockedRangeBlzs.end(), blz);
}

// Replaces the account number when its digits, leading zeros and blanks left out, are a key of
// the table.
void substituteFromTableByNumber(RuleContext& context, std::span<const AccountReplacement> table)
{
    const auto account = AccountDigits::of(context.account());
    if (!account)
        return;
    for (const auto& row : table) {
        if (row.account == account->significantText()) {
            context.substituteAccount(std::string(row.replacement));
            return;
        }
    }
}

// Replaces the stored account number when it is a key of the table; plain string equality.
void substituteFromTable(RuleContext& context, std::span<const AccountReplacement> table)
{
    for (const auto& row : table) {
        if (row.account == context.account()) {
            context.substituteAccount(std::string(row.replacement));
            return;
        }
    }
}

// The IBAN with another bank's BLZ, and that bank's BIC in place of the directory BIC.
void ibanAtOtherBank(RuleContext& context, std::string_view blz, std::string_view bic)
{
    context.substituteBlz(std::string(blz));
    context.standardIban();
    context.overrideBic(bic);
}

void standardIbanOnly(RuleContext& context)
{
    context.standardIban();
}

// Rule 0002: sub-accounts with a 6 at the 8th place, or 86 at the 8th and 9th, of the zero-filled
// account have no IBAN.
void rule0002(RuleContext& context)
{
    const auto account = AccountDigits::of(context.account());
    if (account && (account->text()[7] == '6' || account->text().substr(7, 2) == "86"))
        context.refuse(HintNumber::AccountExcluded);
    else
        context.standardIban();
}

void rule0003(RuleContext& context)
{
    if (context.account() == "6161604670")
        context.refuse(HintNumber::AccountExcluded);
    else
        context.standardIban();
}

void rule0004(RuleContext& context)
{
    substituteFromTable(context, kRule0004);
    context.standardIban();
}

// Rule 0005 (Commerzbank) in all three versions; they differ only in three replacements.
void rule0005(RuleContext& context)
{
    const std::string_view blz = context.blz();
    if (blz == "50040033") {
        context.refuse(HintNumber::BlzBlocked);
        return;
    }
    // The BIC stands even when the account is refused below.
    if (hasCharAt(blz, 4, '4') && blz.substr(3, 3) != "411")
        context.overrideBic("COBADEFFXXX");
    if (context.checkMethod() == "09") {
        context.standardIban();
        return;
    }

    context.caveat(HintNumber::CheckDigitNotRecomputed);
    const auto account = AccountDigits::of(context.account());
    if (!account) {
        context.standardIban(); // hint 9
        return;
    }
    if (isBlockedRange0005(blz, *account)) {
        context.refuse(HintNumber::BlzBlocked);
        return;
    }
    const bool version01 = context.ruleCode() == "000501";
    for (const auto& row : kRule0005) {
        if (row.blz == blz && row.account == account->text()) {
            const auto replacement =
                version01 && !row.replacementIn000501.empty() ? row.replacementIn000501 : row.replacement;
            context.substituteAccount(std::string(replacement));
            context.standardIban();
            return;
        }
    }

    const int digits = account->significant();
    if (context.checkMethod() == "13" && (digits == 6 || digits == 7)) {
        const AccountDigits withSubAccount = account->withZerosAppended();
        if (checkmethod::method13Standard(withSubAccount))
            ibanOf(context, withSubAccount);
        else if (checkmethod::method13(*account))
            context.refuse(HintNumber::IbanNotPossible);
        else
            context.rejectWrongCheckDigit();
    } else if (context.checkMethod() == "76") {
        if (checkmethod::method76Standard(*account))
            ibanOf(context, *account);
        else if (checkmethod::method76SubAccountOmitted(*account))
            ibanOf(context, account->withZerosAppended());
        else
            context.rejectWrongCheckDigit();
    } else {
        ibanOf(context, *account);
    }
}

void rule0006(RuleContext& context)
{
    substituteFromTable(context, kRule0006);
    context.standardIban();
}

void rule0007(RuleContext& context)
{
    substituteFromTable(context, kRule0007);
    context.standardIban();
}

void rule0008(RuleContext& context)
{
    ibanAtOtherBank(context, "50020200", "BHFBDEFF500");
}

// Rule 0009: accounts of the merged bank 68351976 beginning with 1116 begin with 3047 instead.
void rule0009(RuleContext& context)
{
    if (context.blz() == "68351976" && context.account().starts_with("1116"))
        context.substituteAccount("3047" + context.account().substr(4));
    ibanAtOtherBank(context, "68351557", "SOLADES1SFH");
}

// Rule 0010: account number at BLZ 50050201 -> its fixed IBAN.
static constexpr std::array kRule0010FixedIbans{
    AccountReplacement{"2000", "DE42500502010000222000"},
    AccountReplacement{"800000", "DE89500502010000180802"},
};

// Rule 0010; from version 01 on the BLZ 50050222 is converted as 50050201.
void rule0010(RuleContext& context)
{
    if (context.blz() == "50050201") {
        for (const auto& fixed : kRule0010FixedIbans) {
            if (fixed.account == context.account()) {
                context.fixedIban(fixed.replacement);
                return;
            }
        }
    } else if (context.ruleCode() == "001001" && context.blz() == "50050222") {
        context.substituteBlz("50050201");
    }
    context.standardIban();
}

void rule0011(RuleContext& context)
{
    substituteFromTableByNumber(context, kRule0011);
    context.standardIban();
}

void rule0012(RuleContext& context)
{
    ibanAtOtherBank(context, "50050000", "HELADEFFXXX");
}

void rule0013(RuleContext& context)
{
    ibanAtOtherBank(context, "30050000", "WELADEDDXXX");
}

void rule0014(RuleContext& context)
{
    ibanAtOtherBank(context, "30060601", "DAAEDEDDXXX");
}

void rule0015(RuleContext& context)
{
    const bool version01 = context.ruleCode() == "001501";
    for (const auto& row : kRule0015) {
        if (row.account == context.account() && (version01 || !row.fromVersion01)) {
            context.substituteAccount(std::string(row.replacement));
            break;
        }
    }
    context.standardIban();
}

void rule0016(RuleContext& context)
{
    if (context.account() == "300000")
        context.substituteAccount("18128012");
    context.standardIban();
}

void rule0017(RuleContext& context)
{
    substituteFromTableByNumber(context, kRule0017);
    context.standardIban();
}

void rule0018(RuleContext& context)
{
    substituteFromTable(context, kRule0018);
    context.standardIban();
}

// Rule 0019: BLZs converted at 50120383 with its BIC.
static constexpr std::array<std::string_view, 3> kRule0019Blzs{"50130100", "50220200", "70030800"};

// Rule 0019 writes the BIC again after the IBAN: the other bank's, or the directory BIC.
void rule0019(RuleContext& context)
{
    std::string_view bic = context.entry().bic;
    for (const auto blz : kRule0019Blzs) {
        if (context.blz() == blz) {
            context.substituteBlz("50120383");
            bic = "DELBDE33XXX";
            break;
        }
    }
    context.standardIban();
    context.overrideBic(bic);
}

// Rule 0020 in versions 01 and 02 (Deutsche Bank): accounts are checked by method 63 before they
// become an IBAN, and accounts of five to seven digits may stand for the sub-account "00".
// Every IBAN goes with the caveat.
void rule0020(RuleContext& context)
{
    context.caveat(HintNumber::CheckDigitNotRecomputed);
    const auto account = AccountDigits::of(context.account());
    if (!account) {
        context.standardIban(); // hint 9
        return;
    }
    if (context.blz() == "50070010" && account->text() == "0000009999") {
        context.substituteAccount("0092777202");
        context.standardIban();
        return;
    }
    if (context.checkMethod() == "09") {
        context.standardIban();
        return;
    }
    if (context.checkMethod() == "C7" && !checkmethod::method63(*account)) {
        if (checkmethod::method06(*account))
            context.refuse(HintNumber::IbanNotPossible);
        else
            context.rejectWrongCheckDigit();
        return;
    }
    const int digits = account->significant();
    if (digits <= 4 || digits == AccountDigits::kLength) {
        context.refuse(HintNumber::IbanNotPossible);
    } else if (digits <= 6) {
        const AccountDigits withSubAccount = account->withZerosAppended();
        if (checkmethod::method63Standard(withSubAccount))
            ibanOf(context, withSubAccount);
        else if (checkmethod::method63(*account))
            context.refuse(HintNumber::IbanNotPossible);
        else
            context.rejectWrongCheckDigit();
    } else if (digits == 7 && checkmethod::method63SubAccountOmitted(*account)) {
        ibanOf(context, account->withZerosAppended());
    } else if (checkmethod::method63Standard(*account)) {
        context.standardIban();
    } else {
        context.rejectWrongCheckDigit();
    }
}

// Rule 0021 (National-Bank): accounts of one to five and of eight digits have no IBAN.
void rule0021(RuleContext& context)
{
    const auto account = AccountDigits::of(context.account());
    if (account && (account->significant() <= 5 || account->significant() == 8)) {
        context.refuse(HintNumber::IbanNotPossible);
        return;
    }
    ibanAtOtherBank(context, "36020030", "NBAGDE3EXXX");
}

void rule0022(RuleContext& context)
{
    if (context.account() == "1111111")
        context.substituteAccount("2222200000");
    context.standardIban();
}

void rule0023(RuleContext& context)
{
    if (context.account() == "700")
        context.substituteAccount("1000700800");
    context.standardIban();
}

void rule0024(RuleContext& context)
{
    substituteFromTable(context, kRule0024);
    context.standardIban();
}

// Rule 0025: the IBAN carries BLZ 60050101; the BIC stays the directory's.
void rule0025(RuleContext& context)
{
    context.substituteBlz("60050101");
    context.standardIban();
}

void rule0028(RuleContext& context)
{
    if (context.blz() == "25050299")
        context.substituteBlz("25050180");
    context.standardIban();
}

// Rule 0029: a ten-digit account not beginning with 0 loses a 0 at its 4th place.
void rule0029(RuleContext& context)
{
    const std::string& account = context.account();
    if (account.size() == 10 && account[0] != '0' && account[3] == '0')
        context.substituteAccount(account.substr(0, 3) + account.substr(4));
    context.standardIban();
}

} // namespace

// clang-format off
// Rule code -> the rule that converts it.
static constexpr std::array kRules{
    RuleDefinition{"000200", rule0002},
    RuleDefinition{"000300", rule0003},
    RuleDefinition{"000400", rule0004},
    RuleDefinition{"000501", rule0005},
    RuleDefinition{"000502", rule0005},
    RuleDefinition{"000503", rule0005},
    RuleDefinition{"000600", rule0006},
    RuleDefinition{"000700", rule0007},
    RuleDefinition{"000800", rule0008},
    RuleDefinition{"000900", rule0009},
    RuleDefinition{"001000", rule0010},
    RuleDefinition{"001001", rule0010},
    RuleDefinition{"001100", rule0011},
    RuleDefinition{"001201", rule0012},
    RuleDefinition{"001301", rule0013},
    RuleDefinition{"001400", rule0014},
    RuleDefinition{"001500", rule0015},
    RuleDefinition{"001501", rule0015},
    RuleDefinition{"001600", rule0016},
    RuleDefinition{"001700", rule0017},
    RuleDefinition{"001800", rule0018},
    RuleDefinition{"001900", rule0019},
    RuleDefinition{"002001", rule0020},
    RuleDefinition{"002002", rule0020},
    RuleDefinition{"002101", rule0021},
    RuleDefinition{"002200", rule0022},
    RuleDefinition{"002300", rule0023},
    RuleDefinition{"002400", rule0024},
    RuleDefinition{"002500", rule0025},
    RuleDefinition{"002600", standardIbanOnly},
    RuleDefinition{"002700", standardIbanOnly},
    RuleDefinition{"002800", rule0028},
    RuleDefinition{"002900", rule0029},
};
// clang-format on
static_assert(kRules.size() == 33);

std::span<const RuleDefinition> rules0000To0029()
{
    return kRules;
}

} // namespace zelvan
