#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvan {

// The client database format that is being worked on.
enum class ClientFormat : std::int16_t { None = 0, MarloOp = 1, Tondra = 2, Dorvan = 3, Galdo = 4 };

// Columns of one row of the working set, in grid order.
enum class AccountColumn : std::size_t {
    Key = 0,        // OPKontoNr, or Personal.Nr for Galdo
    SearchName = 1, // Suchname
    Blz = 2,
    Account = 3,
    Bic = 4,
    Iban = 5,
    Hint = 6, // IBANKonvertierHinweis
    BankName = 7,
    HintNumber = 8,    // IBANKonvertierNr
    DeductionLine = 9, // Festabzug.Zeile, Galdo fixed deductions only
};

inline constexpr std::size_t kAccountColumnCount = 10;

// The bank details of the record a row stands for, as this program last loaded them from it or
// saved them there. A save leaves a record alone whose values differ from these: another program
// has changed it since.
struct StoredBankDetails {
    std::string blz;
    std::string account;
    std::string bic;
    std::string iban;
};

// The BLZ and account number a row had when its IBAN or BIC was typed since the load.
struct TypedFor {
    std::string blz;
    std::string account;
};

// One row of the working set. A null database value reads as the empty string.
struct AccountRow {
    std::array<std::string, kAccountColumnCount> cells;
    // Filled by the load, renewed by every save that wrote the row; never shown in the grid.
    StoredBankDetails stored;
    // The cells the record holds as numbers rather than text, one bit per column: a key is sought
    // again as it is stored.
    std::uint16_t numberCells = 0;
    // Set by a typed IBAN or BIC, cleared by a save that wrote the row: a new conversion keeps the
    // typed values while BLZ and account are still these.
    std::optional<TypedFor> typedFor;

    bool isNumber(AccountColumn column) const { return (numberCells >> static_cast<std::size_t>(column) & 1U) != 0; }

    std::string& operator[](AccountColumn column) { return cells[static_cast<std::size_t>(column)]; }
    const std::string& operator[](AccountColumn column) const { return cells[static_cast<std::size_t>(column)]; }
};

using WorkingSetArray = std::vector<AccountRow>;

} // namespace zelvan
