#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "search/DriveSearch.h"

namespace zelvan {

// The selection dialog's result list: FoundDatabases shown read-only in four columns
// ("Mandant" or, for Tondra, "Datenbank"; "Im Ordner"; "zuletzt geändert"; "Dateiname").
class FoundDatabasesModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kColumnCount = 4;

    using QAbstractTableModel::QAbstractTableModel;

    // Shows a new list; `tondra` names the first column "Datenbank" instead of "Mandant".
    void reset(std::vector<FoundDatabase> rows, bool tondra);

    const std::vector<FoundDatabase>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::vector<FoundDatabase> m_rows;
    bool m_tondra = false;
};

} // namespace zelvan
