#include "bankdir/BankFileCheck.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/Windows1252.h"

namespace zelvan {

namespace {

// The bytes a field may hold.
struct ByteSet {
    std::array<bool, 256> has{};
};

constexpr ByteSet bytesOf(std::string_view chars)
{
    ByteSet set;
    for (const char c : chars)
        set.has[static_cast<unsigned char>(c)] = true;
    return set;
}

constexpr ByteSet kDigits = bytesOf("0123456789");
constexpr ByteSet kDigitsAndCapitals = bytesOf("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
constexpr ByteSet kFeatures = bytesOf("12");
constexpr ByteSet kChangeCodes = bytesOf("ADMU");
constexpr ByteSet kDeletionFlags = bytesOf("01");

// A field whose form is checked: its name in the Bundesbank's description, its byte positions
// (1-based), the bytes it may hold and how the message names them.
struct FieldRule {
    std::string_view name;
    std::size_t position;
    std::size_t width;
    const ByteSet* allowed;
    std::string_view expected;
};

// Every field whose form the conversion relies on, in the order of the line.
constexpr std::array kFieldRules{
    FieldRule{"Bankleitzahl", 1, 8, &kDigits, "8 Ziffern"},
    FieldRule{"Merkmal", 9, 1, &kFeatures, "1 oder 2"},
    FieldRule{"Prüfzifferberechnungsmethode", 151, 2, &kDigitsAndCapitals, "2 Zeichen aus 0-9 und A-Z"},
    FieldRule{"Datensatznummer", 153, 6, &kDigits, "6 Ziffern"},
    FieldRule{"Änderungskennzeichen", 159, 1, &kChangeCodes, "A, D, M oder U"},
    FieldRule{"Bankleitzahllöschung", 160, 1, &kDeletionFlags, "0 oder 1"},
    FieldRule{"Nachfolge-Bankleitzahl", 161, 8, &kDigits, "8 Ziffern"},
    FieldRule{"IBAN-Regel", 169, 6, &kDigits, "6 Ziffern"},
};
static_assert(kFieldRules.back().position + kFieldRules.back().width - 1 == kBankLineBytes);

// The same check at load speed: eight bytes at a time where the fields are digits. It must take
// exactly the lines that kFieldRules takes; the table then names what is wrong.
std::uint64_t eightBytes(const char* bytes)
{
    std::uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Every byte 0x30 to 0x39: high nibble 3, and the low nibble does not carry when 6 is added.
bool eightDigits(std::uint64_t value)
{
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull;
    constexpr std::uint64_t kThrees = 0x3030303030303030ull;
    constexpr std::uint64_t kSixes = 0x0606060606060606ull;
    return (value & kHigh) == kThrees && ((value + kSixes) & kHigh) == kThrees;
}

bool hasForm(std::string_view line)
{
    const char* p = line.data();
    // Record number: six digits, padded with two more to fill eight bytes.
    char record[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};
    std::memcpy(record, p + 152, 6);
    return eightDigits(eightBytes(p)) && kFeatures.has[static_cast<unsigned char>(p[8])] &&
           kDigitsAndCapitals.has[static_cast<unsigned char>(p[150])] &&
           kDigitsAndCapitals.has[static_cast<unsigned char>(p[151])] && eightDigits(eightBytes(record)) &&
           kChangeCodes.has[static_cast<unsigned char>(p[158])] &&
           kDeletionFlags.has[static_cast<unsigned char>(p[159])] && eightDigits(eightBytes(p + 160)) &&
           eightDigits(eightBytes(p + 166));
}

constexpr std::size_t kBlzWidth = 8;
constexpr std::size_t kFeaturePosition = 9;

// A UTF-8 lead byte followed by a continuation byte: umlauts of a copy saved as UTF-8, or its
// byte-order mark. In Windows-1252 text such pairs do not occur.
bool holdsUtf8(std::string_view line)
{
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const auto next = static_cast<unsigned char>(line[i + 1]);
        if (lead >= 0xC2 && lead <= 0xF4 && next >= 0x80 && next <= 0xBF)
            return true;
    }
    return false;
}

// The field's bytes as the message shows them: decoded, control characters as "?".
std::string shown(std::string_view bytes)
{
    std::string text(bytes);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    return windows1252ToUtf8(text);
}

std::string positions(const FieldRule& rule)
{
    if (rule.width == 1)
        return "Byte " + std::to_string(rule.position);
    return "Bytes " + std::to_string(rule.position) + " bis " + std::to_string(rule.position + rule.width - 1);
}

std::uint32_t blzNumber(std::string_view blz)
{
    std::uint32_t number = 0;
    for (const char c : blz)
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    return number;
}

std::string blzText(std::uint32_t number)
{
    std::string text = std::to_string(number);
    return std::string(kBlzWidth - text.size(), '0') + text;
}

// "1 Byte", "2 Bytes": a count of bytes in the words of a message.
std::string byteCount(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " Byte" : " Bytes");
}

std::string lineLabel(std::size_t number)
{
    return "Zeile " + std::to_string(number);
}

std::string secondMainEntry(std::size_t number, std::uint32_t blz, std::size_t firstNumber)
{
    return lineLabel(number) + ": Die Bankleitzahl " + blzText(blz) +
           " hat einen zweiten Haupteintrag (Merkmal 1); der erste steht in Zeile " + std::to_string(firstNumber) + ".";
}

} // namespace

std::string checkBankLine(std::string_view line, std::size_t number)
{
    if (line.empty())
        return lineLabel(number) + " ist leer.";
    if (line.size() != kBankLineBytes) {
        // Bytes, not characters: an editor shows a UTF-8 line of 175 bytes as 174 characters.
        return lineLabel(number) + " ist " + byteCount(line.size()) + " lang statt " + std::to_string(kBankLineBytes) +
               (holdsUtf8(line) ? " – ist die Datei als UTF-8 gespeichert?" : ".");
    }
    if (hasForm(line))
        return {};
    for (const auto& rule : kFieldRules) {
        const auto field = line.substr(rule.position - 1, rule.width);
        const bool fits = std::all_of(field.begin(), field.end(),
                                      [&](char c) { return rule.allowed->has[static_cast<unsigned char>(c)]; });
        if (!fits) {
            return lineLabel(number) + ": Das Feld \"" + std::string(rule.name) + "\" (" + positions(rule) +
                   ") enthält \"" + shown(field) + "\" statt " + std::string(rule.expected) + ".";
        }
    }
    return {};
}

void BankFileCheck::line(std::string_view line)
{
    ++m_lines;
    if (line.size() != kBankLineBytesWithoutRules)
        m_allWithoutRules = false;
    // Whatever follows the first bad line can only be worse news from further down.
    if (m_problemLine != 0)
        return;
    if (auto problem = checkBankLine(line, m_lines); !problem.empty()) {
        noteProblem(m_lines, std::move(problem));
        return;
    }
    const auto blz = line.substr(0, kBlzWidth);
    if (blz == kSampleMarkerBlz)
        m_sample = true;
    if (line[kFeaturePosition - 1] != '1')
        return;
    const auto key = blzNumber(blz);
    // The Bundesbank's file comes sorted: a second main entry then follows the first directly
    // among the main entries. Any other order is sorted in finish().
    if (m_mainEntriesSorted && !m_mainEntries.empty()) {
        const auto& previous = m_mainEntries.back();
        if (key == previous.first) {
            noteProblem(m_lines, secondMainEntry(m_lines, key, previous.second));
            return;
        }
        if (key < previous.first)
            m_mainEntriesSorted = false;
    }
    m_mainEntries.emplace_back(key, m_lines);
}

void BankFileCheck::noteProblem(std::size_t number, std::string problem)
{
    if (m_problemLine == 0 || number < m_problemLine) {
        m_problemLine = number;
        m_problem = std::move(problem);
    }
}

BankFileCheck::Verdict BankFileCheck::finish()
{
    if (m_lines > 0 && m_allWithoutRules) {
        return {false,
                "Ihre Zeilen sind " + std::to_string(kBankLineBytesWithoutRules) +
                    " Bytes lang: Das ist die Fassung der BLZ-Datei ohne IBAN-Regeln. Bitte die BLZ-Datei der "
                    "Bundesbank mit dem Feld \"IBAN-Regel\" (" +
                    std::to_string(kBankLineBytes) + " Bytes je Zeile) verwenden.",
                false};
    }
    if (!m_mainEntriesSorted) {
        // Stable: of equal BLZs the earlier line comes first, the later one is the second entry.
        std::stable_sort(m_mainEntries.begin(), m_mainEntries.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < m_mainEntries.size(); ++i) {
            const auto& first = m_mainEntries[i - 1];
            const auto& second = m_mainEntries[i];
            if (first.first == second.first)
                noteProblem(second.second, secondMainEntry(second.second, second.first, first.second));
        }
    }
    if (m_problemLine != 0)
        return {false, m_problem, false};
    if (m_mainEntries.empty())
        return {false, "Sie enthält keine Bankleitzahl im Format der Bundesbank (keine Zeile mit Merkmal 1).", false};
    return {true, {}, m_sample};
}

} // namespace zelvan
