#pragma once

#include <string>
#include <vector>

namespace zelvan::test {

// One line of a bank-code file, field by field; formatLine() writes it in the fixed-width layout.
struct BankLine {
    std::string blz = "10000000";
    char feature = '1';
    std::string name = "Testbank";
    std::string postcode = "10115";
    std::string town = "Berlin";
    std::string shortName = "Testbank"; // bytes as they stand in the file (Windows-1252)
    std::string pan;
    std::string bic = "TESTDEFFXXX";
    std::string checkMethod = "00";
    std::string recordNumber = "000001";
    char changeCode = 'U';
    char deletion = '0';
    std::string successorBlz = "00000000";
    std::string ruleCode = "000000";
};

// 174 bytes, without line end.
std::string formatLine(const BankLine& line);

// Lines joined with CR LF after each.
std::string formatFile(const std::vector<BankLine>& lines);

// A file of `count` bank lines ("1" lines, plus one branch line after each fourth bank).
std::string generatedBankFile(int count);

} // namespace zelvan::test
