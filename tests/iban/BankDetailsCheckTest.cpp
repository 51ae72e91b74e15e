#include "iban/BankDetailsCheck.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

struct Case {
    const char* typed;
    const char* value;  // as stored
    const char* reason; // empty: valid
};

void expectChecks(TypedValueCheck (*check)(std::string_view), std::initializer_list<Case> cases)
{
    for (const auto& c : cases) {
        const auto result = check(c.typed);
        EXPECT_EQ(result.reason, c.reason) << '"' << c.typed << '"';
        if (result.valid()) {
            EXPECT_EQ(result.value, c.value) << '"' << c.typed << '"';
        }
    }
}

TEST(CheckIban, takes_registry_countries_with_their_length_and_mod_97_check_digits)
{
    expectChecks(checkIban,
                 {
                     {"DE02120300000000202051", "DE02120300000000202051", ""},
                     {"DE00120300000000202051", "", "Die Prüfziffer der IBAN stimmt nicht."}, // never computed
                     {"DE01120300000000202051", "", "Die Prüfziffer der IBAN stimmt nicht."}, // never computed
                     {"DE99120300000000202051", "", "Die Prüfziffer der IBAN stimmt nicht."}, // never computed
                     {"DE02120300000000202015", "", "Die Prüfziffer der IBAN stimmt nicht."}, // digits swapped
                     {"DE0212030000000020205", "", "Eine IBAN aus DE hat 22 Stellen, diese hat 21."},
                     {"BG80BNBG9661102034567", "", "Eine IBAN aus BG hat 22 Stellen, diese hat 21."},
                     {"US64SVBKUS6S3300958879", "", "Das Land US vergibt keine IBAN."},
                     {"12345678", "", "Eine IBAN beginnt mit dem Ländercode aus zwei Buchstaben."},
                     {"DE02-1203-0000-0000-2020-51", "", "Eine IBAN besteht nur aus Buchstaben und Ziffern."},
                     {" de02 1203 0000 0000 2020 51 ", "DE02120300000000202051", ""},
                     {"GB29NWBK60161331926819", "GB29NWBK60161331926819", ""},
                     {"FR1420041010050500013M02606", "FR1420041010050500013M02606", ""},
                     {"MT84MALT011000012345MTLCAST001S", "MT84MALT011000012345MTLCAST001S", ""},
                     {"BG80BNBG96611020345678", "BG80BNBG96611020345678", ""},
                     {"", "", ""}, // a clerk may clear a wrong IBAN
                 });
}

TEST(CheckBic, takes_four_letters_a_country_and_a_place_with_an_optional_branch)
{
    expectChecks(checkBic, {
                               {"COBADEFFXXX", "COBADEFFXXX", ""},
                               {"COBADEFF", "COBADEFF", ""},
                               {"cobadeff 123", "COBADEFF123", ""},
                               {"RBKOXKPR", "RBKOXKPR", ""}, // Kosovo
                               {"COBADEF", "", "Ein BIC hat 8 oder 11 Stellen."},
                               {"COBADEFFXX", "", "Ein BIC hat 8 oder 11 Stellen."},
                               {"C0BADEFF", "", "Ein BIC beginnt mit vier Buchstaben für die Bank."},
                               {"COBAQQFF", "", "Im BIC steht an Stelle 5 und 6 kein Land, sondern QQ."},
                               {"COBA-DEFF", "", "Ein BIC besteht nur aus Buchstaben und Ziffern."},
                               {"", "", ""},
                           });
}

} // namespace
} // namespace zelvan
