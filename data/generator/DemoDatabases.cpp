#include "DemoDatabases.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace zelvan::demo {

namespace {

// One debtor, customer or tenant account; nullptr stands for a null field.
struct AccountSample {
    std::int64_t key; // OPKontoNr
    const char* searchName;
    const char* name;
    const char* town;
    const char* blz;
    const char* account;
    const char* bankName;
    const char* iban; // only where the table has BankIBAN
};

// Marlo OP accounts: key -> search name, name, town, BLZ, account number, bank name, IBAN.
// Rows without account number or BLZ (null or empty) are not converted; 9990 and 100 come
// after larger keys so that the order of the load shows.
// Every BLZ but the malformed "1001001" belongs to a real bank with the same rule and check-digit
// method in the sample file, so the demo converts alike with the Bundesbank's file. Every account
// passes its bank's method except 100's "1000"; 52410300 takes part in no IBAN conversion.
constexpr AccountSample kMarloAccounts[] = {
    {10000, "MUELLER BAU", "Müller Bau GmbH", "Berlin", "10010010", "1234565", "Musterbank Berlin", nullptr},
    {10010, "SCHMIDT", "Elektro Schmidt KG", "Leipzig", "86095604", "7654324", "Volksbank Leipzig", ""},
    {10020, "WEBER", "Weber & Söhne OHG", "Köln", "59050101", "", "Sparkasse Saarbrücken", nullptr},
    {10030, "FISCHER", "Fischer Getränke", "Kiel", nullptr, "55667788", nullptr, nullptr},
    {10040, "BECKER", "Bäckerei Becker", "Würzburg", "", "112233", "", nullptr},
    {10050, "HOFFMANN", "Hoffmann Spedition GmbH", "Saarbrücken", "59050101", nullptr, "Sparkasse Saarbrücken",
     nullptr},
    {9990, "ZIMMERMANN", "Zimmermann Immobilien", "München", "70250150", "9988776655", "Kreissparkasse München",
     nullptr},
    {10060, "SCHULZ", "Schulz Papierhandel", "München", "70250150", "0000123455", "Kreissparkasse München",
     "DE85702501500000123455"},
    {10070, "KOCH", "Koch Gastronomie", "Freiburg im Breisgau", "52410300", "4711", "Handelsbank Frankfurt", nullptr},
    {10080, "RICHTER", "Richter Steuerberatung", "Berlin", "10090000", "987654325", "Bürgerbank Berlin", "   "},
    {10090, "KLEIN", "Klein Werkzeuge", "Dresden", "10010010", "  ", "Musterbank Berlin", nullptr},
    {100, "AUGUST", "August Bürobedarf", "Berlin", "10090000", "1000", "Bürgerbank Berlin", ""},
    {10100, "WOLF", "Wolf Sanitär", "Ulm", "1001001", "123", "Musterbank Berlin", nullptr},
};

// Tondra customers: key -> search name, company, town, BLZ, account number, bank name, IBAN.
constexpr AccountSample kTondraCustomers[] = {
    {20001, "ALTMANN", "Altmann Maschinenbau GmbH", "Nürnberg", "79050000", "3344556679", "Stadtsparkasse Würzburg",
     nullptr},
    {20002, "BRAUN", "Braun Textil e.K.", "Erfurt", "86095604", "220043", "Volksbank Leipzig", nullptr},
    {20003, "CONRAD", "Conrad Möbelhaus", "Magdeburg", nullptr, nullptr, nullptr, nullptr},
    {20004, "DIETRICH", "Druckerei Dietrich", "Hannover", "10010010", "8765431", "Musterbank Berlin",
     "DE40100100100008765431"},
    {20005, "EBERT", "Ebert Fliesen", "Kiel", "10090000", "", "Bürgerbank Berlin", nullptr},
    {20006, "FRANKE", "Autohaus Franke", "Dortmund", "59050101", "600700", "Sparkasse Saarbrücken", " "},
};

// Dorvan owners and tenants: key -> search name, name, town, BLZ, account number, bank name, IBAN.
constexpr AccountSample kDorvanAccounts[] = {
    {30010, "WEG LINDENSTR", "WEG Lindenstraße 12", "Leipzig", "86095604", "4455667785", "Volksbank Leipzig",
     "DE78860956044455667785"},
    {30020, "NEUMANN", "Neumann, Gisela", "Leipzig", "10010010", "2233448", "Musterbank Berlin", nullptr},
    {30005, "SCHWARZ", "Schwarz, Herbert", "Erfurt", "70250150", "12345674", "Kreissparkasse München", ""},
    {30030, "ZIEGLER", "Ziegler Hausverwaltung", "Erfurt", "", "", nullptr, nullptr},
    {30040, "KRAUSE", "Krause, Ingrid", "Köln", "52410300", "998877", "Handelsbank Frankfurt", nullptr},
};

// Galdo banks: Nr -> BLZ, name, town, BIC.
struct BankSample {
    std::int64_t nr;
    const char* blz;
    const char* name;
    const char* town;
    const char* bic;
};
constexpr BankSample kGaldoBanks[] = {
    {1, "10010010", "Musterbank Berlin", "Berlin", "MUSBDEBBXXX"},
    {2, "10090000", "Bürgerbank Berlin", "Berlin", ""},
    {3, "59050101", "Sparkasse Saarbrücken", "Saarbrücken", nullptr},
    {4, "86095604", "Volksbank Leipzig", "Leipzig", nullptr},
    {5, "70250150", "Kreissparkasse München", "München", nullptr},
    {6, nullptr, "Barauszahlung", nullptr, nullptr},
};

// Galdo employees: Nr -> search name, surname, first name, account number, bank, IBAN.
// Employee 5 refers to a bank that does not exist, employee 6 to none.
struct EmployeeSample {
    std::int64_t nr;
    const char* searchName;
    const char* surname;
    const char* firstName;
    const char* account;
    std::int64_t bankNr; // 0 = null
    const char* iban;
};
constexpr EmployeeSample kGaldoEmployees[] = {
    {1, "MEIER", "Meier", "Anna", "1234565", 1, nullptr},
    {2, "SCHNEIDER", "Schneider", "Jürgen", "7654324", 2, nullptr},
    {3, "WAGNER", "Wagner", "Petra", "", 3, nullptr},
    {4, "BAUER", "Bauer", "Thomas", nullptr, 5, nullptr},
    {5, "LEHMANN", "Lehmann", "Sabine", "9988776655", 99, nullptr},
    {6, "KRUEGER", "Krüger", "Uwe", "445566", 0, nullptr},
    {7, "HARTMANN", "Hartmann", "Monika", "0012345674", 5, "DE89702501500012345674"},
    {8, "SCHWARZ", "Schwarz", "Klaus", "3030309", 1, nullptr},
};

// Galdo fixed deductions: employee, line -> purpose, amount, bank, account number.
// Employee 1 has three lines; the line of employee 7 refers to a bank that does not exist.
struct DeductionSample {
    std::int64_t personalNr;
    std::int64_t line;
    const char* purpose;
    double amount;
    std::int64_t bankNr;
    const char* account;
};
constexpr DeductionSample kGaldoDeductions[] = {
    {1, 1, "Vermögenswirksame Leistungen", 40.00, 2, "7777000"},
    {1, 2, "Bausparvertrag", 50.00, 5, "8888000"},
    {1, 3, "Pfändung", 120.50, 3, "9999001"},
    {2, 1, "Vermögenswirksame Leistungen", 40.00, 1, "1212120"},
    {5, 1, "Gewerkschaftsbeitrag", 15.00, 2, ""},
    {7, 1, "Lebensversicherung", 75.00, 99, "5656565"},
    {8, 1, "Direktversicherung", 100.00, 4, "3434346"},
};

// Banks and towns the made-up rows cycle through.
constexpr std::array kGeneratedBanks = {
    std::array<const char*, 2>{"10010010", "Musterbank Berlin"},
    std::array<const char*, 2>{"10090000", "Bürgerbank Berlin"},
    std::array<const char*, 2>{"86095604", "Volksbank Leipzig"},
    std::array<const char*, 2>{"59050101", "Sparkasse Saarbrücken"},
    std::array<const char*, 2>{"70250150", "Kreissparkasse München"},
};
constexpr std::array kGeneratedTowns = {"Berlin", "Hamburg", "München", "Köln", "Leipzig", "Dresden", "Kiel"};

// The fields the conversion writes, as the program adds them.
constexpr std::string_view kIbanColumns = ", BankIBAN VARCHAR(34), BankBIC VARCHAR(11), "
                                          "SEPALastschriftMandatReferenz VARCHAR(35), "
                                          "SEPALastschriftMandatDatum DATETIME, SEPALastschriftMandatArt VARCHAR(50), "
                                          "IBANKonvertierHinweis VARCHAR(250)";
constexpr std::string_view kHintNumberColumn = ", IBANKonvertierNr SMALLINT";

// A new database file, written in one transaction; throws on any failure.
class Writer {
public:
    explicit Writer(const std::filesystem::path& file)
    {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        std::filesystem::remove(file.string() + "-journal", ec);
        if (sqlite3_open_v2(file.string().c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK)
            fail("Die Datei " + file.string() + " kann nicht angelegt werden");
        execute("BEGIN");
    }
    ~Writer() { sqlite3_close(m_db); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void execute(const std::string& sql)
    {
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            fail("SQL-Fehler");
    }

    // Inserts one row; values are text, whole numbers, doubles or null (nullptr).
    class Insert {
    public:
        Insert(Writer& writer, const std::string& sql) : m_writer(writer)
        {
            if (sqlite3_prepare_v2(writer.m_db, sql.c_str(), -1, &m_statement, nullptr) != SQLITE_OK)
                writer.fail("SQL-Fehler");
        }
        ~Insert() { sqlite3_finalize(m_statement); }
        Insert(const Insert&) = delete;
        Insert& operator=(const Insert&) = delete;

        Insert& text(const char* value)
        {
            if (value == nullptr)
                sqlite3_bind_null(m_statement, ++m_index);
            else
                sqlite3_bind_text(m_statement, ++m_index, value, -1, SQLITE_TRANSIENT);
            return *this;
        }
        Insert& text(const std::string& value) { return text(value.c_str()); }
        Insert& number(std::int64_t value)
        {
            sqlite3_bind_int64(m_statement, ++m_index, value);
            return *this;
        }
        Insert& numberOrNull(std::int64_t value) { return value == 0 ? text(nullptr) : number(value); }
        Insert& decimal(double value)
        {
            sqlite3_bind_double(m_statement, ++m_index, value);
            return *this;
        }
        void run()
        {
            if (sqlite3_step(m_statement) != SQLITE_DONE)
                m_writer.fail("Zeile kann nicht geschrieben werden");
            sqlite3_reset(m_statement);
            sqlite3_clear_bindings(m_statement);
            m_index = 0;
        }

    private:
        Writer& m_writer;
        sqlite3_stmt* m_statement = nullptr;
        int m_index = 0;
    };

    void commit() { execute("COMMIT"); }

    [[noreturn]] void fail(const std::string& what) const
    {
        throw std::runtime_error(what + ": " + sqlite3_errmsg(m_db));
    }

private:
    sqlite3* m_db = nullptr;
};

std::string ibanColumns(IbanFields fields)
{
    switch (fields) {
    case IbanFields::None: return "";
    case IbanFields::All: return std::string(kIbanColumns) + std::string(kHintNumberColumn);
    case IbanFields::AllButHintNumber: return std::string(kIbanColumns);
    }
    return "";
}

// A made-up account number of 5 to 10 digits; the same index always gives the same number.
std::string generatedAccount(std::uint32_t index)
{
    std::uint32_t value = index * 2654435761u + 12345u;
    value ^= value >> 13;
    const std::uint32_t digits = 5 + value % 6;
    std::string account;
    for (std::uint32_t i = 0; i < digits; ++i) {
        value = value * 1103515245u + 12345u;
        account += static_cast<char>('0' + (value >> 16) % 10);
    }
    if (account.front() == '0')
        account.front() = '1';
    return account;
}

// Creates the account table and fills it with the samples and the made-up rows. `keyColumns`
// opens the column list (OPKontoNr as primary key, or an ID before it).
void writeAccountTable(Writer& writer, const std::string& table, const std::string& keyColumns,
                       const std::string& nameColumn, std::span<const AccountSample> samples,
                       const AccountDatabaseOptions& options)
{
    const bool withIban = options.ibanFields != IbanFields::None;
    writer.execute("CREATE TABLE " + table + " (" + keyColumns + ", Suchname VARCHAR(30), " + nameColumn +
                   " VARCHAR(50), Ort VARCHAR(40), BankBLZ VARCHAR(8), BankKontoNr VARCHAR(12), "
                   "BankName VARCHAR(40)" + ibanColumns(options.ibanFields) + ")");
    std::string insertSql = "INSERT INTO " + table + " (OPKontoNr, Suchname, " + nameColumn +
                            ", Ort, BankBLZ, BankKontoNr, BankName" + (withIban ? ", BankIBAN" : "") +
                            ") VALUES (?, ?, ?, ?, ?, ?, ?" + (withIban ? ", ?" : "") + ")";
    Writer::Insert insert(writer, insertSql);
    for (const auto& sample : samples) {
        insert.number(sample.key)
            .text(sample.searchName)
            .text(sample.name)
            .text(sample.town)
            .text(sample.blz)
            .text(sample.account)
            .text(sample.bankName);
        if (withIban)
            insert.text(sample.iban);
        insert.run();
    }
    for (int i = 0; i < options.generatedRows; ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        const auto& bank = kGeneratedBanks[index % kGeneratedBanks.size()];
        const std::string number = std::to_string(i + 1);
        insert.number(100000 + i)
            .text("KUNDE" + number)
            .text("Kunde " + number + " GmbH")
            .text(kGeneratedTowns[index % kGeneratedTowns.size()])
            .text(bank[0])
            .text(generatedAccount(index))
            .text(bank[1]);
        if (withIban)
            insert.text(nullptr);
        insert.run();
    }
}

template <typename Write>
std::string guarded(Write write)
{
    try {
        write();
        return {};
    } catch (const std::exception& error) {
        return error.what();
    }
}

} // namespace

std::string writeMarloDatabase(const std::filesystem::path& file, const AccountDatabaseOptions& options)
{
    return guarded([&] {
        Writer writer(file);
        writeAccountTable(writer, "Personenkonten", "OPKontoNr INTEGER NOT NULL PRIMARY KEY", "Name1",
                          kMarloAccounts, options);
        writer.execute("CREATE TABLE Mandant (Nr INTEGER PRIMARY KEY, Firma VARCHAR(50), Wirtschaftsjahr SMALLINT)");
        writer.execute("INSERT INTO Mandant VALUES (1, 'Musterfirma Zelvan GmbH', 2013)");
        writer.commit();
    });
}

std::string writeTondraDatabase(const std::filesystem::path& file, const AccountDatabaseOptions& options)
{
    return guarded([&] {
        Writer writer(file);
        writeAccountTable(writer, "Kunden", "OPKontoNr INTEGER NOT NULL PRIMARY KEY", "Firma", kTondraCustomers,
                          options);
        writer.execute("CREATE TABLE Artikel (ArtikelNr VARCHAR(20) PRIMARY KEY, Bezeichnung VARCHAR(50), "
                       "Preis DOUBLE)");
        writer.execute("INSERT INTO Artikel VALUES ('A-100', 'Büroklammern, 1000 Stück', 4.95), "
                       "('A-200', 'Kopierpapier A4', 3.49)");
        if (options.invoicingTables) {
            writer.execute("CREATE TABLE Vorgang (VorgangNr INTEGER PRIMARY KEY, OPKontoNr INTEGER, Datum DATETIME)");
            writer.execute("CREATE TABLE Vorgangszeilen (VorgangNr INTEGER, Zeile SMALLINT, ArtikelNr VARCHAR(20), "
                           "Menge DOUBLE, PRIMARY KEY (VorgangNr, Zeile))");
            writer.execute("CREATE TABLE RechnungsBuch (RechnungNr INTEGER PRIMARY KEY, VorgangNr INTEGER, "
                           "Betrag DOUBLE)");
            writer.execute("CREATE TABLE Preisgruppen (Nr INTEGER PRIMARY KEY, Bezeichnung VARCHAR(40))");
            writer.execute("CREATE TABLE Mengenpreise (ArtikelNr VARCHAR(20), AbMenge DOUBLE, Preis DOUBLE)");
        }
        writer.commit();
    });
}

std::string writeLinkedTondraDatabase(const std::filesystem::path& file, const std::string& marloFile)
{
    return guarded([&] {
        Writer writer(file);
        writer.execute("CREATE TABLE LinkedTables (Name TEXT PRIMARY KEY, Connect TEXT NOT NULL)");
        Writer::Insert link(writer, "INSERT INTO LinkedTables (Name, Connect) VALUES (?, ?)");
        link.text("Kunden").text(";DATABASE=" + marloFile).run();
        writer.execute("CREATE TABLE Artikel (ArtikelNr VARCHAR(20) PRIMARY KEY, Bezeichnung VARCHAR(50), "
                       "Preis DOUBLE)");
        writer.execute("INSERT INTO Artikel VALUES ('B-10', 'Druckerpatrone schwarz', 24.90)");
        writer.commit();
    });
}

std::string writeDorvanDatabase(const std::filesystem::path& file, const AccountDatabaseOptions& options)
{
    return guarded([&] {
        Writer writer(file);
        writeAccountTable(writer, "Personenkonten", "ID INTEGER PRIMARY KEY, OPKontoNr INTEGER NOT NULL", "Name1",
                          kDorvanAccounts, options);
        writer.execute("CREATE UNIQUE INDEX OPKontoNr ON Personenkonten (OPKontoNr)");
        writer.commit();
    });
}

std::string writeGaldoDatabase(const std::filesystem::path& file, const GaldoDatabaseOptions& options)
{
    return guarded([&] {
        Writer writer(file);
        const std::string personIban =
            options.ibanFields ? ", BankIBAN VARCHAR(34), IBANKonvertierHinweis VARCHAR(250), IBANKonvertierNr SMALLINT"
                               : "";
        writer.execute("CREATE TABLE Banken (Nr INTEGER PRIMARY KEY, BLZ VARCHAR(8), Bezeichnung VARCHAR(40), "
                       "Ort VARCHAR(40)" + std::string(options.bankBic ? ", BankBIC VARCHAR(11)" : "") + ")");
        writer.execute("CREATE INDEX BLZ ON Banken (BLZ)");
        writer.execute("CREATE TABLE Personal (Nr INTEGER PRIMARY KEY, Suchname VARCHAR(30), Name VARCHAR(40), "
                       "Vorname VARCHAR(30), \"Konto-Nr\" VARCHAR(12), BankNr INTEGER" + personIban + ")");
        writer.execute("CREATE TABLE Festabzug (PersonalNr INTEGER NOT NULL, Zeile SMALLINT NOT NULL, "
                       "Bezeichnung VARCHAR(40), Betrag DOUBLE, BankNr INTEGER, \"Konto-Nr\" VARCHAR(12)" +
                       personIban + ", PRIMARY KEY (PersonalNr, Zeile))");

        const char* bankSql = options.bankBic
                                  ? "INSERT INTO Banken (Nr, BLZ, Bezeichnung, Ort, BankBIC) VALUES (?, ?, ?, ?, ?)"
                                  : "INSERT INTO Banken (Nr, BLZ, Bezeichnung, Ort) VALUES (?, ?, ?, ?)";
        Writer::Insert bank(writer, bankSql);
        for (const auto& sample : kGaldoBanks) {
            bank.number(sample.nr).text(sample.blz).text(sample.name).text(sample.town);
            if (options.bankBic)
                bank.text(sample.bic);
            bank.run();
        }
        Writer::Insert employee(writer, options.ibanFields
                                            ? "INSERT INTO Personal (Nr, Suchname, Name, Vorname, \"Konto-Nr\", "
                                              "BankNr, BankIBAN) VALUES (?, ?, ?, ?, ?, ?, ?)"
                                            : "INSERT INTO Personal (Nr, Suchname, Name, Vorname, \"Konto-Nr\", "
                                              "BankNr) VALUES (?, ?, ?, ?, ?, ?)");
        for (const auto& sample : kGaldoEmployees) {
            employee.number(sample.nr)
                .text(sample.searchName)
                .text(sample.surname)
                .text(sample.firstName)
                .text(sample.account)
                .numberOrNull(sample.bankNr);
            if (options.ibanFields)
                employee.text(sample.iban);
            employee.run();
        }
        Writer::Insert deduction(writer, "INSERT INTO Festabzug (PersonalNr, Zeile, Bezeichnung, Betrag, BankNr, "
                                         "\"Konto-Nr\") VALUES (?, ?, ?, ?, ?, ?)");
        for (const auto& sample : kGaldoDeductions) {
            deduction.number(sample.personalNr)
                .number(sample.line)
                .text(sample.purpose)
                .decimal(sample.amount)
                .number(sample.bankNr)
                .text(sample.account)
                .run();
        }
        writer.commit();
    });
}

std::string writeDemoDatabases(const std::filesystem::path& folder, int extraMarloRows)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return "Der Ordner " + folder.string() + " kann nicht angelegt werden: " + ec.message();
    const auto marlo = std::filesystem::absolute(folder / kMarloFile, ec);
    std::string error = writeMarloDatabase(marlo, {IbanFields::None, extraMarloRows});
    if (error.empty())
        error = writeTondraDatabase(folder / kTondraFile, {IbanFields::AllButHintNumber, 0});
    if (error.empty())
        error = writeLinkedTondraDatabase(folder / kLinkedTondraFile, marlo.string());
    if (error.empty())
        error = writeDorvanDatabase(folder / kDorvanFile, {IbanFields::All, 0});
    if (error.empty())
        error = writeGaldoDatabase(folder / kGaldoFile, {false, false});
    return error;
}

std::string officeGroupFolder(int client)
{
    const int group = (client - 1) / kClientsPerFolder + 1;
    return (group < 10 ? "Gruppe0" : "Gruppe") + std::to_string(group);
}

std::string writeOfficeDatabases(const std::filesystem::path& folder, int clients, int extraMarloRows)
{
    for (int client = 1; client <= clients; ++client) {
        const auto group = folder / officeGroupFolder(client);
        std::error_code ec;
        std::filesystem::create_directories(group, ec);
        if (ec)
            return "Der Ordner " + group.string() + " kann nicht angelegt werden: " + ec.message();
        const std::string number = (client < 10 ? "00" : client < 100 ? "0" : "") + std::to_string(client);
        std::string error = writeMarloDatabase(group / ("MARL" + number + ".MDB"), {IbanFields::None, extraMarloRows});
        if (error.empty())
            error = writeTondraDatabase(group / ("TONDRA" + number + ".MDB"), {IbanFields::AllButHintNumber, 0, true});
        if (error.empty())
            error = writeDorvanDatabase(group / ("DORV" + number + ".MDB"), {IbanFields::All, 0});
        if (error.empty())
            error = writeGaldoDatabase(group / ("GALD" + number + ".MDB"), {false, false});
        if (!error.empty())
            return error;
    }
    return {};
}

} // namespace zelvan::demo
