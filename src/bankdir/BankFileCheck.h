#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvan {

// Bytes of a line of the Bundesbank file with the IBAN-rule field, and of the version without it.
inline constexpr std::size_t kBankLineBytes = 174;
inline constexpr std::size_t kBankLineBytesWithoutRules = 168;

// The bundled sample file carries one line with this BLZ. The Bundesbank never hands it out: the
// first digit of a BLZ is the clearing area, 1 to 8.
inline constexpr std::string_view kSampleMarkerBlz = "00000000";
inline constexpr std::string_view kSampleNotice = "Beispiel-BLZ-Datei: Banknamen und BICs sind erfunden.";

// What is wrong with one line of a bank-code file ("Zeile 17 ist 175 Bytes lang statt 174."), or
// an empty string for a line of 174 bytes whose fields have their form. Lines count from 1.
std::string checkBankLine(std::string_view line, std::size_t number);

// Checks a whole bank-code file line by line (without line ends) before it is trusted: every
// line, no BLZ with two main entries, at least one bank.
class BankFileCheck {
  public:
    void line(std::string_view line);

    struct Verdict {
        bool ok = false;
        std::string problem; // the first bad line and what is wrong with it
        bool sample = false; // the bundled sample file
    };
    Verdict finish();

  private:
    void noteProblem(std::size_t number, std::string problem);

    std::size_t m_lines = 0;
    bool m_allWithoutRules = true;
    bool m_sample = false;
    std::size_t m_problemLine = 0; // 0: none yet
    std::string m_problem;
    // BLZ (as a number) and line of each main entry; in file order.
    std::vector<std::pair<std::uint32_t, std::size_t>> m_mainEntries;
    bool m_mainEntriesSorted = true;
};

} // namespace zelvan
