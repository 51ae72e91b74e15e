#include "search/ClientFileKinds.h"

#include <array>

namespace zelvan {

namespace {

constexpr std::array kMarloFilters{FileFilter{"Marlo Mandant (marl*.mdb)", "marl*.mdb"}};
constexpr std::array kTondraFilters{FileFilter{"Tondra-Datenbank (TONDRA*.MDB)", "TONDRA*.MDB"},
                                    FileFilter{"Tondra-Datenbank (*.MDB)", "*.MDB"}};
constexpr std::array kDorvanFilters{FileFilter{"Dorvan Mandant (dorv*.mdb)", "dorv*.mdb"}};
constexpr std::array kGaldoFilters{FileFilter{"Galdo Mandant (gald*.mdb)", "gald*.mdb"}};

// Search pattern, prefix, title and filters of the file-open dialog per format.
constexpr std::array kKinds{
    ClientFileKind{ClientFormat::MarloOp, "marl###*.mdb", "MARL", "Marlo-Datenbank auswählen", kMarloFilters},
    ClientFileKind{ClientFormat::Tondra, "TONDRA*.MDB", "", "Tondra-Datenbank öffnen", kTondraFilters},
    ClientFileKind{ClientFormat::Dorvan, "dorv###*.mdb", "DORV", "Dorvan-Datenbank auswählen", kDorvanFilters},
    ClientFileKind{ClientFormat::Galdo, "gald###*.mdb", "GALD", "Galdo-Datenbank auswählen", kGaldoFilters},
};

} // namespace

std::optional<ClientFileKind> clientFileKind(ClientFormat format)
{
    for (const auto& kind : kKinds) {
        if (kind.format == format)
            return kind;
    }
    return std::nullopt;
}

} // namespace zelvan
