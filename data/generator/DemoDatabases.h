#pragma once

#include <filesystem>
#include <string>

// Writes client databases of the four formats with German sample rows, for the demo and the
// tests. Everything is deterministic: the same call writes the same rows. Each function
// replaces an existing file and returns an empty string, or a German error text.
namespace zelvan::demo {

// Which of the fields that the conversion writes an account table has from the start.
enum class IbanFields {
    None,             // an old database: no IBAN, BIC, SEPA or hint fields
    All,              // all seven, some rows with an IBAN already
    AllButHintNumber, // all but IBANKonvertierNr
};

struct AccountDatabaseOptions {
    IbanFields ibanFields = IbanFields::None;
    // Rows made up after the sample rows (keys from 100000 on), for load tests.
    int generatedRows = 0;
    // Tondra only: the other tables of an invoicing database (Vorgang, Vorgangszeilen, RechnungsBuch,
    // Preisgruppen, Mengenpreise, empty), by which the drive search tells one.
    bool invoicingTables = false;
};

struct GaldoDatabaseOptions {
    // BankIBAN, IBANKonvertierHinweis, IBANKonvertierNr in Personal and Festabzug.
    bool ibanFields = false;
    // BankBIC in Banken.
    bool bankBic = false;
};

// Marlo OP: Personenkonten with primary key OPKontoNr.
std::string writeMarloDatabase(const std::filesystem::path& file, const AccountDatabaseOptions& options);
// Tondra: a local Kunden table with primary key OPKontoNr, and Artikel.
std::string writeTondraDatabase(const std::filesystem::path& file, const AccountDatabaseOptions& options);
// Tondra whose Kunden table is linked to the Marlo database at `marloFile`.
std::string writeLinkedTondraDatabase(const std::filesystem::path& file, const std::string& marloFile);
// Dorvan: Personenkonten with the unique index OPKontoNr.
std::string writeDorvanDatabase(const std::filesystem::path& file, const AccountDatabaseOptions& options);
// Galdo: Personal, Festabzug and Banken.
std::string writeGaldoDatabase(const std::filesystem::path& file, const GaldoDatabaseOptions& options);

// File names of the demo set.
inline constexpr const char* kMarloFile = "MARL001.MDB";
inline constexpr const char* kTondraFile = "TONDRA.MDB";
inline constexpr const char* kLinkedTondraFile = "TONDRA2.MDB";
inline constexpr const char* kDorvanFile = "DORV001.MDB";
inline constexpr const char* kGaldoFile = "GALD001.MDB";

// The demo set in `folder` (created when missing): MARL001.MDB without IBAN fields (with
// `extraMarloRows` made-up rows after the samples), TONDRA.MDB, TONDRA2.MDB linked to
// MARL001.MDB, DORV001.MDB with IBAN fields, GALD001.MDB without.
std::string writeDemoDatabases(const std::filesystem::path& folder, int extraMarloRows = 0);

// How many client databases of one format share a folder in an office set.
inline constexpr int kClientsPerFolder = 4;

// The folder of client `client` (from 1) in an office set: "Gruppe01" for clients 1 to 4, and so on.
std::string officeGroupFolder(int client);

// An accountant's office in `folder`: for each client 1 to `clients` MARLnnn.MDB, TONDRAnnn.MDB
// (with the invoicing tables, so that the search finds it), DORVnnn.MDB and GALDnnn.MDB (nnn the
// client number with at least three digits), the clients of one group sharing a folder
// (officeGroupFolder). Each Marlo database has `extraMarloRows` made-up rows after the samples.
std::string writeOfficeDatabases(const std::filesystem::path& folder, int clients, int extraMarloRows = 0);

} // namespace zelvan::demo
