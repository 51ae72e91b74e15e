#pragma once

#include <string>
#include <vector>

namespace zelvan::test {

// A bank-code file damaged as it happens to users, and what the check says about it.
struct DamagedBankFile {
    std::string name;
    std::string content;
    std::string problem; // the check's text after "Die BLZ-Datei "..." wird nicht verwendet. "
};

// The damaged variants of the real-size file when it exists, else of the sample file: saved as
// UTF-8, with a byte-order mark, lines cut to 173 bytes, one byte more at the start of each line,
// the version without IBAN rules (168 bytes), and a bank with two main entries.
std::vector<DamagedBankFile> damagedBankFiles(const std::string& realFile, const std::string& sampleFile);

// The one of that name.
DamagedBankFile damagedBankFile(const std::string& name, const std::string& realFile, const std::string& sampleFile);

} // namespace zelvan::test
