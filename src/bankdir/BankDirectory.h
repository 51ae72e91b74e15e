#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bankdir/LineScanner.h"

namespace zelvan {

// Columns of a bank entry, as Field(row, column) numbers them.
enum class BankField : int {
    Blz = 0,
    ShortName = 1,
    Bic = 2,
    CheckMethod = 3,
    SuccessorBlz = 4,
    RuleCode = 5,
    ChangeCode = 6,
};

inline constexpr int kBankFieldCount = 7;

// One bank code of the Bundesbank file ("1" lines only).
struct BankEntry {
    std::string blz;          // positions 1-8, unchanged
    std::string shortName;    // positions 108-134, trimmed, decoded to UTF-8
    std::string bic;          // positions 140-150, untrimmed
    std::string checkMethod;  // positions 151-152
    std::string successorBlz; // positions 161-168, empty when the file has "00000000"
    std::string ruleCode;     // positions 169-174
    std::string changeCode;   // position 159: A, D, M or U
    std::string deletionFlag; // position 160: "1" while the bank is marked for deletion

    const std::string& field(BankField column) const;
    // Change code "D": the bank is gone, with or without a successor.
    bool isDeleted() const { return changeCode == "D"; }
    // Deletion flag "1" without change code "D": the bank is still listed but will go.
    bool isMarkedForDeletion() const { return deletionFlag == "1" && !isDeleted(); }
};

// Builds a bank entry from one line of the bank-code file; false for a line that is not a "1" line.
bool parseBankLine(std::string_view line, BankEntry& entry);

// The in-memory bank-code directory: rows 1..Count, sorted by BLZ. Filled through the
// LineSink events (begin resets, each line may add an entry, end sorts).
class BankDirectory final : public LineSink {
public:
    void begin(std::size_t bytes = 0) override;
    void line(std::string_view line) override;
    void end() override;

    int Count() const { return static_cast<int>(m_entries.size()); }
    // Row number (1 or more) of the entry whose BLZ equals `blz` exactly, or 0 when there is none.
    int Find(std::string_view blz) const;
    // The cell of a row (1..Count) and column (0..6); an empty string outside the table.
    const std::string& Field(int row, int column) const;

    const BankEntry& entry(int row) const { return m_entries[static_cast<std::size_t>(row - 1)]; }
    // The entry with that BLZ, or nullptr.
    const BankEntry* findEntry(std::string_view blz) const;

private:
    // Eight-byte BLZs (all real ones) are found through a hash index built at end(); any other
    // length by binary search.
    struct IndexSlot {
        std::uint64_t key = 0;
        int row = 0; // 0: free
    };
    void buildIndex();
    int findInIndex(std::string_view blz) const;

    std::vector<BankEntry> m_entries;
    std::vector<IndexSlot> m_index;
};

} // namespace zelvan
