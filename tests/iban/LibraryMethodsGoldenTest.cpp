#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "bankdir/BankCodeFile.h"
#include "iban/AccountCheckDigits.h"

namespace zelvan {
namespace {

// Verdicts of the methods left to the check-digit library, on generated accounts at a real BLZ of
// each method: a library update that changes one is seen here. ZELVAN_WRITE_GOLDEN=1 writes the
// file anew from the real bank-code file.
const char* const kGoldenFile = ZELVAN_SOURCE_DIR "/tests/iban/data/library-method-verdicts.txt";
constexpr int kAccountsPerMethod = 200;

const char* verdictName(CheckVerdict verdict)
{
    switch (verdict) {
    case CheckVerdict::Valid:
        return "ok";
    case CheckVerdict::Invalid:
        return "falsch";
    case CheckVerdict::NoCheckDigit:
        return "ohne";
    }
    return "?";
}

void writeGoldenFile(const AccountCheckDigits& checker)
{
    BankDirectory directory;
    ASSERT_TRUE(loadBankCodeFile(ZELVAN_SHARED_BANKFILE, directory).ok);
    std::map<std::string, std::string> blzOfMethod;
    for (int row = 1; row <= directory.Count(); ++row) {
        const auto& bank = directory.entry(row);
        if (!checkmethod::isOwnMethod(bank.checkMethod) && checker.knowsMethod(bank.checkMethod))
            blzOfMethod.emplace(bank.checkMethod, bank.blz);
    }
    std::mt19937 random(20201207);
    std::ofstream out(kGoldenFile, std::ios::binary);
    out << "# method;BLZ;account;verdict\n";
    // Half of the accounts of a method pass, half fail.
    for (const auto& [method, blz] : blzOfMethod) {
        int passing = 0;
        int failing = 0;
        for (int tries = 0; passing + failing < kAccountsPerMethod && tries < 100 * kAccountsPerMethod; ++tries) {
            const auto length = 1 + random() % 10;
            std::string account(1, static_cast<char>('1' + random() % 9));
            while (account.size() < length)
                account += static_cast<char>('0' + random() % 10);
            const CheckVerdict verdict = checker.verdict(blz, account, method);
            int& count = verdict == CheckVerdict::Invalid ? failing : passing;
            if (count < kAccountsPerMethod / 2) {
                ++count;
                out << method << ';' << blz << ';' << account << ';' << verdictName(verdict) << '\n';
            }
        }
    }
}

TEST(LibraryMethodsGolden, verdicts_are_those_recorded)
{
    const AccountCheckDigits checker;
    if (const char* write = std::getenv("ZELVAN_WRITE_GOLDEN"); write != nullptr && std::string(write) == "1")
        writeGoldenFile(checker);

    std::ifstream in(kGoldenFile);
    ASSERT_TRUE(in) << kGoldenFile;
    std::string line;
    std::map<std::string, int> linesOfMethod;
    int changed = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string method, blz, account, expected;
        std::getline(fields, method, ';');
        std::getline(fields, blz, ';');
        std::getline(fields, account, ';');
        std::getline(fields, expected);
        ++linesOfMethod[method];
        if (verdictName(checker.verdict(blz, account, method)) != expected && ++changed <= 10)
            ADD_FAILURE() << "verdict changed: " << line;
    }
    EXPECT_EQ(changed, 0);
    // Every method of the real file that the library checks, each with its accounts.
    EXPECT_GE(linesOfMethod.size(), 80u);
    for (const auto& [method, lines] : linesOfMethod)
        EXPECT_EQ(lines, kAccountsPerMethod) << method;
}

} // namespace
} // namespace zelvan
