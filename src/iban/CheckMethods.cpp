#include "iban/CheckMethods.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace zelvan::checkmethod {

namespace {

// How the weighted digits add up.
enum class Products {
    Plain,     // the products themselves
    CrossSums, // the cross sum of each product
};

// How the sum becomes the check digit; a negative digit means no digit can be right.
enum class Result {
    Mod10,       // P = (10 - S mod 10) mod 10
    Method06,    // r = S mod 11; P = 0 when r <= 1, else 11 - r
    Method02,    // r = S mod 11; P = 0 when r = 0, invalid when r = 1, else 11 - r
    Remainder11, // P = S mod 11; 10 is invalid
};

// One variant of a weighted method: the digits d_first..d_last carry the weights, which are
// read from d_last leftwards and repeated when they run out.
struct WeightedVariant {
    int first;
    int last;
    std::string_view weights;
    Products products;
    Result result;
    int checkPosition;
};

int crossSum(int n)
{
    int sum = 0;
    for (; n > 0; n /= 10)
        sum += n % 10;
    return sum;
}

int checkDigitOf(int sum, Result result)
{
    switch (result) {
    case Result::Mod10:
        return (10 - sum % 10) % 10;
    case Result::Method06: {
        const int remainder = sum % 11;
        return remainder <= 1 ? 0 : 11 - remainder;
    }
    case Result::Method02: {
        const int remainder = sum % 11;
        return remainder == 0 ? 0 : remainder == 1 ? -1 : 11 - remainder;
    }
    case Result::Remainder11: {
        const int remainder = sum % 11;
        return remainder == 10 ? -1 : remainder;
    }
    }
    return -1;
}

int weightedSum(const WeightedVariant& variant, const AccountDigits& account)
{
    int sum = 0;
    std::size_t weight = 0;
    for (int position = variant.last; position >= variant.first; --position) {
        const int product = account[position] * (variant.weights[weight] - '0');
        sum += variant.products == Products::CrossSums ? crossSum(product) : product;
        weight = (weight + 1) % variant.weights.size();
    }
    return sum;
}

bool holds(const WeightedVariant& variant, const AccountDigits& account)
{
    return checkDigitOf(weightedSum(variant, account), variant.result) == account[variant.checkPosition];
}

// clang-format off
// The weighted variants: digits covered, weights from the right, products, result, check digit.
constexpr WeightedVariant kMethod06            {1, 9, "234567",   Products::Plain,     Result::Method06,    10};
constexpr WeightedVariant kSum00On1To9         {1, 9, "21",       Products::CrossSums, Result::Mod10,       10};
constexpr WeightedVariant kSum00On2To7         {2, 7, "21",       Products::CrossSums, Result::Mod10,        8};
constexpr WeightedVariant kSum00On4To9         {4, 9, "21",       Products::CrossSums, Result::Mod10,       10};
constexpr WeightedVariant kMethod76Standard    {2, 7, "234567",   Products::Plain,     Result::Remainder11,  8};
constexpr WeightedVariant kMethod76SubAccount  {4, 9, "234567",   Products::Plain,     Result::Remainder11, 10};
// Method 32: weights 2..7 on d9..d4.
constexpr WeightedVariant kMethod32            {4, 9, "234567",   Products::Plain,     Result::Method06,    10};
// Method 50 and the places where a sub-account written without its zeros moves the base.
constexpr WeightedVariant kMethod50Standard   {1, 6, "234567",   Products::Plain,     Result::Method06,     7};
constexpr WeightedVariant kMethod50ByThree    {4, 9, "234567",   Products::Plain,     Result::Method06,    10};
constexpr WeightedVariant kMethod50ByTwo      {3, 8, "234567",   Products::Plain,     Result::Method06,     9};
constexpr WeightedVariant kMethod50ByOne      {2, 7, "234567",   Products::Plain,     Result::Method06,     8};
// Method B1: weights 7,3,1 and 3,7,1 on d9..d1, then the 00-sum.
constexpr WeightedVariant kMethodB1Variants[] = {
                                               {1, 9, "731",      Products::Plain,     Result::Mod10,       10},
                                               {1, 9, "371",      Products::Plain,     Result::Mod10,       10},
                                               {1, 9, "21",       Products::CrossSums, Result::Mod10,       10},
};
// Method C2: weights 3,1 (only the units of a product count, which mod 10 changes nothing), the
// 00-sum, and weights 2..7 with the 02-result.
constexpr WeightedVariant kMethodC2Variants[] = {
                                               {1, 9, "31",       Products::Plain,     Result::Mod10,       10},
                                               {1, 9, "21",       Products::CrossSums, Result::Mod10,       10},
                                               {1, 9, "234567",   Products::Plain,     Result::Method02,    10},
};
// Method E4: weights 2..9 with the 02-result, then the 00-sum.
constexpr WeightedVariant kMethodE4Variants[] = {
                                               {1, 9, "23456789", Products::Plain,     Result::Method02,    10},
                                               {1, 9, "21",       Products::CrossSums, Result::Mod10,       10},
};
// Method 68 on 6 to 9 digits: the 00-sum over d2..d9, then the same with d3 and d4 left out.
constexpr WeightedVariant kMethod68Short        {2, 9, "21",       Products::CrossSums, Result::Mod10,       10};
constexpr WeightedVariant kMethod68ShortWithout {2, 9, "21212001", Products::CrossSums, Result::Mod10,       10};
// clang-format on

template <std::size_t kCount> bool anyHolds(const WeightedVariant (&variants)[kCount], const AccountDigits& account)
{
    for (const auto& variant : variants) {
        if (holds(variant, account))
            return true;
    }
    return false;
}

CheckVerdict verdictOf(bool valid)
{
    return valid ? CheckVerdict::Valid : CheckVerdict::Invalid;
}

// Method 76's account types that no account may have.
bool isInvalidAccountType76(int type)
{
    return type == 1 || type == 2 || type == 3 || type == 5;
}

} // namespace

bool method06(const AccountDigits& account)
{
    return holds(kMethod06, account);
}

bool method13Standard(const AccountDigits& account)
{
    return holds(kSum00On2To7, account);
}

bool method13Shifted(const AccountDigits& account)
{
    return account[1] == 0 && account[2] == 0 && holds(kSum00On4To9, account);
}

bool method13(const AccountDigits& account)
{
    return method13Standard(account) || method13Shifted(account);
}

bool method63Standard(const AccountDigits& account)
{
    return account[1] == 0 && holds(kSum00On2To7, account);
}

bool method63SubAccountOmitted(const AccountDigits& account)
{
    return account[1] == 0 && account[2] == 0 && account[3] == 0 && holds(kSum00On4To9, account);
}

bool method63(const AccountDigits& account)
{
    return method63Standard(account) || method63SubAccountOmitted(account);
}

bool method76Standard(const AccountDigits& account)
{
    return !isInvalidAccountType76(account[1]) && holds(kMethod76Standard, account);
}

bool method76SubAccountOmitted(const AccountDigits& account)
{
    return !method76Standard(account) && account[1] == 0 && account[2] == 0 && !isInvalidAccountType76(account[3]) &&
           holds(kMethod76SubAccount, account);
}

bool method76(const AccountDigits& account)
{
    return method76Standard(account) || method76SubAccountOmitted(account);
}

bool methodC7(const AccountDigits& account)
{
    return method63(account) || method06(account);
}

namespace {

// Method 16: method 06, except that with remainder 1 the account is right exactly when d9 = d10.
MethodAnswer method16(const AccountDigits& account)
{
    if (weightedSum(kMethod06, account) % 11 == 1)
        return {verdictOf(account[9] == account[10])};
    return {verdictOf(holds(kMethod06, account))};
}

// Method 50: weights 7..2 on d1..d6, check digit d7. When that fails, an account whose sub-account
// was written without its zeros has the same base further right: shifted by three when
// d1 = d2 = d3 = 0, else by two or one as the zeros allow; only the first form that fits is tried.
MethodAnswer method50(const AccountDigits& account)
{
    if (holds(kMethod50Standard, account))
        return {CheckVerdict::Valid};
    const bool d1d2Zero = account[1] == 0 && account[2] == 0;
    if (d1d2Zero && account[3] == 0)
        return {verdictOf(holds(kMethod50ByThree, account))};
    if (d1d2Zero && account[10] == 0)
        return {verdictOf(holds(kMethod50ByTwo, account))};
    if (account[1] == 0 && account[9] == 0 && account[10] == 0)
        return {verdictOf(holds(kMethod50ByOne, account))};
    return {CheckVerdict::Invalid};
}

// Method 68: ten digits need a 9 at d4; nine digits 400000000-499999999 carry no check digit;
// fewer than six digits are wrong.
MethodAnswer method68(const AccountDigits& account)
{
    const int digits = account.significant();
    if (digits < 6)
        return {CheckVerdict::Invalid};
    if (digits == AccountDigits::kLength)
        return {verdictOf(account[4] == 9 && holds(kSum00On4To9, account))};
    if (digits == 9 && account[2] == 4)
        return {CheckVerdict::NoCheckDigit};
    return {verdictOf(holds(kMethod68Short, account) || holds(kMethod68ShortWithout, account))};
}

// Method 78: an account of exactly eight digits carries no check digit; else the 00-sum.
MethodAnswer method78(const AccountDigits& account)
{
    if (account.significant() == 8)
        return {CheckVerdict::NoCheckDigit};
    return {verdictOf(holds(kSum00On1To9, account))};
}

// Method 81: method 32 on d4..d9 unless d3 is 9; with d3 = 9 the library's own method 81.
MethodAnswer method81(const AccountDigits& account)
{
    if (account[3] == 9)
        return {std::nullopt, "81"};
    return {verdictOf(holds(kMethod32, account))};
}

// Method B6: method 20 for accounts with d1 in 1..9 or d1..d5 in 02691..02699, else method 53,
// which reads a nine-digit account, so a shorter one is wrong; the library checks both.
MethodAnswer methodB6(const AccountDigits& account)
{
    const std::string_view lead = account.text().substr(0, 5);
    if (account[1] != 0 || (lead >= "02691" && lead <= "02699"))
        return {std::nullopt, "20"};
    if (account.significant() < 9)
        return {CheckVerdict::Invalid};
    return {std::nullopt, "53"};
}

template <bool (*kMethod)(const AccountDigits&)> MethodAnswer answerOf(const AccountDigits& account)
{
    return {verdictOf(kMethod(account))};
}

template <const auto& kVariants> MethodAnswer anyVariantOf(const AccountDigits& account)
{
    return {verdictOf(anyHolds(kVariants, account))};
}

MethodAnswer withoutCheckDigit(const AccountDigits&)
{
    return {CheckVerdict::NoCheckDigit};
}

using MethodFunction = MethodAnswer (*)(const AccountDigits&);

struct OwnMethod {
    std::string_view code;
    MethodFunction check;
};

// clang-format off
// Method code -> our own check, ascending; every other method goes to the library as it is.
constexpr OwnMethod kOwnMethods[] = {
    {"06", answerOf<method06>},
    {"09", withoutCheckDigit},
    {"13", answerOf<method13>},
    {"16", method16},
    {"50", method50},
    {"63", answerOf<method63>},
    {"68", method68},
    {"76", answerOf<method76>},
    {"78", method78},
    {"81", method81},
    {"B1", anyVariantOf<kMethodB1Variants>},
    {"B6", methodB6},
    {"C2", anyVariantOf<kMethodC2Variants>},
    {"C7", answerOf<methodC7>},
    {"E4", anyVariantOf<kMethodE4Variants>},
};
// clang-format on
static_assert(std::is_sorted(std::begin(kOwnMethods), std::end(kOwnMethods),
                             [](const auto& a, const auto& b) { return a.code < b.code; }));

// Method codes "00" to "E9" as 0 to 149, -1 for anything else: every row looks its method up.
constexpr std::string_view kFirstCharacters = "0123456789ABCDE";

constexpr int methodSlot(std::string_view method)
{
    if (method.size() != 2 || method[1] < '0' || method[1] > '9')
        return -1;
    const auto first = kFirstCharacters.find(method[0]);
    return first == std::string_view::npos ? -1 : static_cast<int>(first) * 10 + (method[1] - '0');
}

constexpr auto kOwnMethodOfSlot = [] {
    std::array<MethodFunction, 150> table{};
    for (const auto& own : kOwnMethods)
        table[static_cast<std::size_t>(methodSlot(own.code))] = own.check;
    return table;
}();

} // namespace

MethodAnswer checkAccount(std::string_view method, const AccountDigits& account)
{
    const int slot = methodSlot(method);
    const MethodFunction own = slot < 0 ? nullptr : kOwnMethodOfSlot[static_cast<std::size_t>(slot)];
    if (own == nullptr)
        return {std::nullopt, method};
    return own(account);
}

bool isOwnMethod(std::string_view method)
{
    const int slot = methodSlot(method);
    return slot >= 0 && kOwnMethodOfSlot[static_cast<std::size_t>(slot)] != nullptr;
}

} // namespace zelvan::checkmethod
