#include "bankdir/BankDirectory.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/Windows1252.h"

namespace zelvan {

namespace {

// Byte positions (1-based) and widths of the fields read from a line.
struct FieldSpan {
    std::size_t position;
    std::size_t width;
};
constexpr FieldSpan kBlz{1, 8};
constexpr FieldSpan kFeature{9, 1};
constexpr FieldSpan kShortName{108, 27};
constexpr FieldSpan kBic{140, 11};
constexpr FieldSpan kCheckMethod{151, 2};
constexpr FieldSpan kChangeCode{159, 1};
constexpr FieldSpan kDeletionFlag{160, 1};
constexpr FieldSpan kSuccessorBlz{161, 8};
constexpr FieldSpan kRuleCode{169, 6};

constexpr std::string_view kNoSuccessor = "00000000";
// 174 bytes and CR LF.
constexpr std::size_t kLineBytes = 176;
// Far more banks than Germany has; a larger file is not trusted with a larger reservation.
constexpr std::size_t kMaxReserve = 65536;

constexpr std::size_t kIndexedBlzLength = 8;

// The eight bytes of a BLZ as one number.
std::uint64_t indexKey(std::string_view blz)
{
    std::uint64_t key = 0;
    std::memcpy(&key, blz.data(), kIndexedBlzLength);
    return key;
}

std::size_t slotOf(std::uint64_t key, std::size_t mask)
{
    key ^= key >> 32;
    key *= 0x9E3779B97F4A7C15ull;
    key ^= key >> 29;
    return static_cast<std::size_t>(key) & mask;
}

// Substring semantics: a field beyond the end of a short line is shorter or empty.
std::string_view cut(std::string_view line, FieldSpan span)
{
    const auto start = span.position - 1;
    if (start >= line.size())
        return {};
    return line.substr(start, span.width);
}

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Which member holds which column of Field(row, column).
constexpr std::array<std::string BankEntry::*, kBankFieldCount> kColumns{
    &BankEntry::blz,          &BankEntry::shortName, &BankEntry::bic,        &BankEntry::checkMethod,
    &BankEntry::successorBlz, &BankEntry::ruleCode,  &BankEntry::changeCode,
};

const std::string kEmpty;

} // namespace

const std::string& BankEntry::field(BankField column) const
{
    return this->*kColumns[static_cast<std::size_t>(column)];
}

bool parseBankLine(std::string_view line, BankEntry& entry)
{
    if (cut(line, kFeature) != "1")
        return false;
    entry.blz = cut(line, kBlz);
    entry.shortName = windows1252ToUtf8(trimBlanks(cut(line, kShortName)));
    entry.bic = cut(line, kBic);
    entry.checkMethod = cut(line, kCheckMethod);
    const auto successor = cut(line, kSuccessorBlz);
    if (successor != kNoSuccessor)
        entry.successorBlz = successor;
    else
        entry.successorBlz.clear();
    entry.changeCode = cut(line, kChangeCode);
    entry.deletionFlag = cut(line, kDeletionFlag);
    entry.ruleCode = cut(line, kRuleCode);
    return true;
}

void BankDirectory::begin(std::size_t bytes)
{
    m_entries.clear();
    m_index.clear();
    m_entries.reserve(std::min(bytes / kLineBytes + 1, kMaxReserve));
}

void BankDirectory::line(std::string_view line)
{
    BankEntry entry;
    if (parseBankLine(line, entry))
        m_entries.push_back(std::move(entry));
}

void BankDirectory::end()
{
    // The Bundesbank file comes sorted; only another order needs the sort. Stable, so that of two
    // lines with the same BLZ the first one in the file is found.
    const auto byBlz = [](const BankEntry& a, const BankEntry& b) { return a.blz < b.blz; };
    if (!std::is_sorted(m_entries.begin(), m_entries.end(), byBlz))
        std::stable_sort(m_entries.begin(), m_entries.end(), byBlz);
    buildIndex();
}

void BankDirectory::buildIndex()
{
    std::size_t size = 16;
    while (size < m_entries.size() * 2)
        size *= 2;
    m_index.assign(size, IndexSlot{});
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const auto& blz = m_entries[i].blz;
        if (blz.size() != kIndexedBlzLength)
            continue;
        const auto key = indexKey(blz);
        // Rows go in in order: of two entries with one BLZ the first keeps the slot.
        for (auto slot = slotOf(key, mask);; slot = (slot + 1) & mask) {
            if (m_index[slot].row == 0) {
                m_index[slot] = {key, static_cast<int>(i) + 1};
                break;
            }
            if (m_index[slot].key == key)
                break;
        }
    }
}

int BankDirectory::findInIndex(std::string_view blz) const
{
    const auto key = indexKey(blz);
    const std::size_t mask = m_index.size() - 1;
    for (auto slot = slotOf(key, mask);; slot = (slot + 1) & mask) {
        if (m_index[slot].row == 0)
            return 0;
        if (m_index[slot].key == key)
            return m_index[slot].row;
    }
}

int BankDirectory::Find(std::string_view blz) const
{
    if (blz.size() == kIndexedBlzLength && !m_index.empty())
        return findInIndex(blz);
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), blz,
                                     [](const BankEntry& entry, std::string_view key) { return entry.blz < key; });
    if (it == m_entries.end() || it->blz != blz)
        return 0;
    return static_cast<int>(it - m_entries.begin()) + 1;
}

const BankEntry* BankDirectory::findEntry(std::string_view blz) const
{
    const int row = Find(blz);
    return row > 0 ? &entry(row) : nullptr;
}

const std::string& BankDirectory::Field(int row, int column) const
{
    if (row < 1 || row > Count() || column < 0 || column >= kBankFieldCount)
        return kEmpty;
    return entry(row).field(static_cast<BankField>(column));
}

} // namespace zelvan
