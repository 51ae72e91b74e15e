#include "iban/AccountCheckDigits.h"

#include <iostream>
#include <sstream>
#include <string>

#include <ktoblzcheck.h>

namespace zelvan {

namespace {

constexpr std::string_view kMethodFirstCharacters = "0123456789ABCDE";

// The library complains on std::cerr about methods it does not know; asking once for every
// method at start-up must not reach the terminal.
class SilencedErrorStream {
public:
    SilencedErrorStream() : m_saved(std::cerr.rdbuf(m_sink.rdbuf())) {}
    ~SilencedErrorStream() { std::cerr.rdbuf(m_saved); }
    SilencedErrorStream(const SilencedErrorStream&) = delete;
    SilencedErrorStream& operator=(const SilencedErrorStream&) = delete;

private:
    std::ostringstream m_sink;
    std::streambuf* m_saved;
};

} // namespace

AccountCheckDigits::AccountCheckDigits()
    // The library's own bank list is not needed: methods come from our bank-code file.
    : m_library(std::make_unique<AccountNumberCheck>("/dev/null"))
{
    const SilencedErrorStream silenced;
    for (const char first : kMethodFirstCharacters) {
        for (char second = '0'; second <= '9'; ++second) {
            const std::string method{first, second};
            const auto result = m_library->check("10000000", "0012345678", method);
            m_known[static_cast<std::size_t>(slotOf(method))] = result != AccountNumberCheck::UNKNOWN;
        }
    }
}

AccountCheckDigits::~AccountCheckDigits() = default;

int AccountCheckDigits::slotOf(std::string_view method)
{
    if (method.size() != 2 || method[1] < '0' || method[1] > '9')
        return -1;
    const auto first = kMethodFirstCharacters.find(method[0]);
    if (first == std::string_view::npos)
        return -1;
    return static_cast<int>(first) * 10 + (method[1] - '0');
}

bool AccountCheckDigits::libraryKnows(std::string_view method) const
{
    const int slot = slotOf(method);
    return slot >= 0 && m_known[static_cast<std::size_t>(slot)];
}

bool AccountCheckDigits::knowsMethod(std::string_view method) const
{
    return checkmethod::isOwnMethod(method) || libraryKnows(method);
}

CheckVerdict AccountCheckDigits::verdict(std::string_view blz, std::string_view account, std::string_view method) const
{
    const auto digits = AccountDigits::of(account);
    return digits ? verdict(blz, *digits, method) : CheckVerdict::Invalid;
}

CheckVerdict AccountCheckDigits::verdict(std::string_view blz, const AccountDigits& account,
                                         std::string_view method) const
{
    const auto answer = checkmethod::checkAccount(method, account);
    if (answer.verdict)
        return *answer.verdict;
    return libraryVerdict(blz, account, answer.libraryMethod);
}

CheckVerdict AccountCheckDigits::libraryVerdict(std::string_view blz, const AccountDigits& account,
                                                std::string_view method) const
{
    if (!libraryKnows(method))
        return CheckVerdict::NoCheckDigit;
    // Method 87 of the library reads past the account when d4..d10 are all zeros, and crashes.
    if (method == "87" && account.text().find_first_not_of('0', 3) == std::string_view::npos)
        return CheckVerdict::NoCheckDigit;
    switch (m_library->check(std::string(blz), std::string(account.text()), std::string(method))) {
    case AccountNumberCheck::OK:
        return CheckVerdict::Valid;
    case AccountNumberCheck::ERROR:
        return CheckVerdict::Invalid;
    default:
        return CheckVerdict::NoCheckDigit;
    }
}

} // namespace zelvan
