#include "support/BankFileBuilder.h"

#include <cstdio>

namespace zelvan::test {

namespace {

void appendPadded(std::string& out, const std::string& value, std::size_t width)
{
    std::string field = value.substr(0, width);
    field.resize(width, ' ');
    out += field;
}

} // namespace

std::string formatLine(const BankLine& line)
{
    std::string out;
    out.reserve(174);
    appendPadded(out, line.blz, 8);
    out += line.feature;
    appendPadded(out, line.name, 58);
    appendPadded(out, line.postcode, 5);
    appendPadded(out, line.town, 35);
    appendPadded(out, line.shortName, 27);
    appendPadded(out, line.pan, 5);
    appendPadded(out, line.bic, 11);
    appendPadded(out, line.checkMethod, 2);
    appendPadded(out, line.recordNumber, 6);
    out += line.changeCode;
    out += line.deletion;
    appendPadded(out, line.successorBlz, 8);
    appendPadded(out, line.ruleCode, 6);
    return out;
}

std::string formatFile(const std::vector<BankLine>& lines)
{
    std::string out;
    for (const auto& line : lines) {
        out += formatLine(line);
        out += "\r\n";
    }
    return out;
}

std::string generatedBankFile(int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        BankLine line;
        char number[16];
        std::snprintf(number, sizeof number, "%08d", 10000000 + i * 37);
        line.blz = number;
        line.shortName = "Bank " + std::to_string(i);
        line.ruleCode = i % 3 == 0 ? "000000" : "000100";
        out += formatLine(line) + "\r\n";
        if (i % 4 == 0) {
            line.feature = '2';
            out += formatLine(line) + "\r\n";
        }
    }
    return out;
}

} // namespace zelvan::test
