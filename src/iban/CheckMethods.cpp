#include "iban/CheckMethods.h"

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
    case Result::Remainder11: {
        const int remainder = sum % 11;
        return remainder == 10 ? -1 : remainder;
    }
    }
    return -1;
}

bool holds(const WeightedVariant& variant, const AccountDigits& account)
{
    int sum = 0;
    std::size_t weight = 0;
    for (int position = variant.last; position >= variant.first; --position) {
        const int product = account[position] * (variant.weights[weight] - '0');
        sum += variant.products == Products::CrossSums ? crossSum(product) : product;
        weight = (weight + 1) % variant.weights.size();
    }
    return checkDigitOf(sum, variant.result) == account[variant.checkPosition];
}

// clang-format off
// The weighted variants: digits covered, weights from the right, products, result, check digit.
constexpr WeightedVariant kMethod06            {1, 9, "234567", Products::Plain,     Result::Method06,    10};
constexpr WeightedVariant kSum00On2To7         {2, 7, "21",     Products::CrossSums, Result::Mod10,        8};
constexpr WeightedVariant kSum00On4To9         {4, 9, "21",     Products::CrossSums, Result::Mod10,       10};
constexpr WeightedVariant kMethod76Standard    {2, 7, "234567", Products::Plain,     Result::Remainder11,  8};
constexpr WeightedVariant kMethod76SubAccount  {4, 9, "234567", Products::Plain,     Result::Remainder11, 10};
// clang-format on

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

} // namespace zelvan::checkmethod
