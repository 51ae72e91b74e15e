#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "bankdir/BankCodeFile.h"
#include "support/RuleTestDirectory.h"

namespace zelvan::test {

// A stored BLZ and account and what the conversion must leave in the row.
struct RuleCase {
    const char* blz;
    const char* account;
    const char* iban;
    const char* hint;
    const char* bic;
};

// Converts every case through `directory` (checking accounts with `checkDigits` if given) and
// compares IBAN, hint and BIC.
inline void expectRuleCases(const BankDirectory& directory, std::span<const RuleCase> cases,
                            const AccountCheckDigits* checkDigits = nullptr)
{
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.blz) + " / \"" + c.account + "\"");
        const auto row = convert(directory, c.blz, c.account, checkDigits);
        EXPECT_EQ(row.iban, c.iban);
        EXPECT_EQ(row.hint, c.hint);
        EXPECT_EQ(row.bic, c.bic);
    }
}

// The sample bank-code file bundled with the program.
inline const BankDirectory& sampleDirectory()
{
    static const BankDirectory directory = [] {
        BankDirectory loaded;
        EXPECT_TRUE(loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", loaded).ok);
        return loaded;
    }();
    return directory;
}

} // namespace zelvan::test
