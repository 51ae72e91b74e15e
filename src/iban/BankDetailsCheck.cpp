#include "iban/BankDetailsCheck.h"

#include <algorithm>

#include "iban/CountryCodes.h"
#include "iban/Iban.h"
#include "iban/IbanCountries.h"

namespace zelvan {

namespace {

constexpr std::size_t kCountryLength = 2;
constexpr std::size_t kIbanHead = 4; // country code and check digits
constexpr std::size_t kBicBank = 4;
constexpr std::size_t kBicShort = 8;
constexpr std::size_t kBicLong = 11;
constexpr std::size_t kBlzLength = 8;
constexpr std::string_view kPrimaryOffice = "XXX";

bool isCapital(char c)
{
    return c >= 'A' && c <= 'Z';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isCapitalOrDigit(char c)
{
    return isCapital(c) || isDigit(c);
}

// Blanks removed and lower-case letters made capitals, as a clerk may type an IBAN off a letter.
std::string normalized(std::string_view text)
{
    std::string value;
    value.reserve(text.size());
    for (const char c : text) {
        if (c == ' ')
            continue;
        value += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return value;
}

const IbanCountry* ibanCountry(std::string_view code)
{
    const auto found = std::ranges::lower_bound(kIbanCountries, code, {}, &IbanCountry::code);
    return found != kIbanCountries.end() && found->code == code ? &*found : nullptr;
}

bool isCountryCode(std::string_view code)
{
    return std::ranges::binary_search(kCountryCodes, code);
}

// The check digits ISO 7064 MOD 97-10 gives an IBAN: the rest, then the country code, then "00",
// letters counted from A = 10; 98 minus the remainder, so always from 02 to 98.
int ibanCheckDigits(std::string_view iban)
{
    std::string digits;
    const auto append = [&digits](std::string_view part) {
        for (const char c : part) {
            if (isDigit(c))
                digits += c;
            else
                digits += std::to_string(c - 'A' + 10);
        }
    };
    append(iban.substr(kIbanHead));
    append(iban.substr(0, kCountryLength));
    digits += "00";
    return 98 - Mod97(digits);
}

std::string_view withoutOuterBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

TypedValueCheck refused(std::string value, std::string reason)
{
    return {std::move(value), std::move(reason)};
}

// The BIC of a bank's primary office: "XXX" as the branch means the same as none.
std::string_view primaryOffice(std::string_view bic)
{
    return bic.size() == kBicLong && bic.substr(kBicShort) == kPrimaryOffice ? bic.substr(0, kBicShort) : bic;
}

} // namespace

TypedValueCheck checkIban(std::string_view text)
{
    std::string value = normalized(text);
    if (value.empty())
        return {};
    if (value.size() < kCountryLength || !isCapital(value[0]) || !isCapital(value[1]))
        return refused(std::move(value), "Eine IBAN beginnt mit dem Ländercode aus zwei Buchstaben.");
    const std::string country = value.substr(0, kCountryLength);
    const IbanCountry* registered = ibanCountry(country);
    if (registered == nullptr)
        return refused(std::move(value), "Das Land " + country + " vergibt keine IBAN.");
    if (!std::ranges::all_of(value, isCapitalOrDigit))
        return refused(std::move(value), "Eine IBAN besteht nur aus Buchstaben und Ziffern.");
    if (value.size() != static_cast<std::size_t>(registered->length))
        return refused(std::move(value), "Eine IBAN aus " + country + " hat " + std::to_string(registered->length) +
                                             " Stellen, diese hat " + std::to_string(value.size()) + ".");
    const int check = ibanCheckDigits(value);
    if (!isDigit(value[2]) || !isDigit(value[3]) || (value[2] - '0') * 10 + (value[3] - '0') != check)
        return refused(std::move(value), "Die Prüfziffer der IBAN stimmt nicht.");
    return {std::move(value), {}};
}

TypedValueCheck checkBic(std::string_view text)
{
    std::string value = normalized(text);
    if (value.empty())
        return {};
    if (!std::ranges::all_of(value, isCapitalOrDigit))
        return refused(std::move(value), "Ein BIC besteht nur aus Buchstaben und Ziffern.");
    if (value.size() != kBicShort && value.size() != kBicLong)
        return refused(std::move(value), "Ein BIC hat 8 oder 11 Stellen.");
    if (!std::ranges::all_of(std::string_view(value).substr(0, kBicBank), isCapital))
        return refused(std::move(value), "Ein BIC beginnt mit vier Buchstaben für die Bank.");
    const std::string country = value.substr(kBicBank, kCountryLength);
    if (!isCountryCode(country))
        return refused(std::move(value), "Im BIC steht an Stelle 5 und 6 kein Land, sondern " + country + ".");
    return {std::move(value), {}};
}

std::string refusedTypedBankDetails(std::string_view iban, std::string_view bic, const AccountRow& row)
{
    if (!row.typedFor)
        return {};
    const StoredBankDetails& loaded = row.stored;
    // The save writes the values without blanks around them; the record may hold them with.
    if (withoutOuterBlanks(iban) != withoutOuterBlanks(loaded.iban)) {
        if (auto check = checkIban(iban); !check.valid())
            return std::move(check.reason);
    }
    if (withoutOuterBlanks(bic) != withoutOuterBlanks(loaded.bic)) {
        if (auto check = checkBic(bic); !check.valid())
            return std::move(check.reason);
    }
    return {};
}

std::string directoryBicNote(const BankDirectory& directory, std::string_view iban, std::string_view bic)
{
    const TypedValueCheck checked = checkIban(iban);
    if (!checked.valid() || !checked.value.starts_with("DE"))
        return {};
    const std::string blz = checked.value.substr(kIbanHead, kBlzLength);
    const BankEntry* entry = directory.findEntry(blz);
    if (entry == nullptr)
        return {};
    const std::string listed = normalized(entry->bic);
    const std::string rowBic = normalized(bic);
    if (listed.empty() || primaryOffice(listed) == primaryOffice(rowBic))
        return {};
    return "Die BLZ " + blz + " hat in der BLZ-Datei den BIC " + listed + ", die Zeile " +
           (rowBic.empty() ? std::string("keinen BIC.") : "den BIC " + rowBic + ".");
}

} // namespace zelvan
