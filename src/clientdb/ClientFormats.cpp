#include "clientdb/ClientFormats.h"

#include <array>

#include "clientdb/SqliteHandles.h"

namespace zelvan {

namespace {

// ClientFormat -> format name, main table, index for writing back, key field.
constexpr FormatInfo kFormats[] = {
    {ClientFormat::MarloOp, "Marlo", "Personenkonten", "PrimaryKey", "OPKontoNr"},
    {ClientFormat::Tondra, "Tondra", "Kunden", "PrimaryKey", "OPKontoNr"},
    {ClientFormat::Dorvan, "Dorvan", "Personenkonten", "OPKontoNr", "OPKontoNr"},
    {ClientFormat::Galdo, "Galdo", "Personal", "PrimaryKey", "Nr"},
};
static_assert(std::size(kFormats) == 4);

// Account-table field -> type and size, in the order they are added.
constexpr FieldSpec kAccountTableFields[] = {
    {"BankIBAN", FieldType::Text, 34},
    {"BankBIC", FieldType::Text, 11},
    {"SEPALastschriftMandatReferenz", FieldType::Text, 35},
    {"SEPALastschriftMandatDatum", FieldType::DateTime, 0},
    {"SEPALastschriftMandatArt", FieldType::Text, 50},
    {"IBANKonvertierHinweis", FieldType::Text, 250},
    {"IBANKonvertierNr", FieldType::Integer16, 0},
};
static_assert(std::size(kAccountTableFields) == 7);

// Galdo Festabzug/Personal field -> type and size, in the order they are added.
constexpr FieldSpec kGaldoPersonFields[] = {
    {"BankIBAN", FieldType::Text, 34},
    {"IBANKonvertierHinweis", FieldType::Text, 250},
    {"IBANKonvertierNr", FieldType::Integer16, 0},
};

// Galdo Banken field -> type and size.
constexpr FieldSpec kGaldoBankFields[] = {
    {"BankBIC", FieldType::Text, 11},
};

// Galdo table -> index sought when writing back and its key fields.
constexpr WriteBackTable kGaldoWriteBackTables[] = {
    {"Personal", "PrimaryKey", "Nr"},
    {"Festabzug", "PrimaryKey", "PersonalNr,Zeile"},
    {"Banken", "BLZ", "BLZ"},
};

constexpr FormatInfo kNoFormat{ClientFormat::None, "Galdo", "", "", ""};

} // namespace

const FormatInfo& formatInfo(ClientFormat format)
{
    for (const auto& info : kFormats) {
        if (info.format == format)
            return info;
    }
    return kNoFormat;
}

std::string FormatFileLine(ClientFormat format, std::string_view path)
{
    return "Format: " + std::string(formatInfo(format).name) + "  Datei: " + std::string(path);
}

std::span<const FieldSpec> accountTableFields()
{
    return kAccountTableFields;
}

std::span<const FieldSpec> galdoPersonFields()
{
    return kGaldoPersonFields;
}

std::span<const FieldSpec> galdoBankFields()
{
    return kGaldoBankFields;
}

int addedTextFieldSize(std::string_view fieldName)
{
    for (const auto fields : {accountTableFields(), galdoPersonFields(), galdoBankFields()}) {
        for (const auto& field : fields) {
            if (field.type == FieldType::Text && sqlite::sameName(field.name, fieldName))
                return field.size;
        }
    }
    return 0;
}

std::span<const WriteBackTable> galdoWriteBackTables()
{
    return kGaldoWriteBackTables;
}

} // namespace zelvan
