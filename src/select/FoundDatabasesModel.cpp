#include "select/FoundDatabasesModel.h"

namespace zelvan {

void FoundDatabasesModel::reset(std::vector<FoundDatabase> rows, bool tondra)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_tondra = tondra;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

int FoundDatabasesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int FoundDatabasesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant FoundDatabasesModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FoundDatabase& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == 0 && !m_tondra)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return m_tondra ? QVariant(QString::fromStdString(row.client)) : QVariant(row.clientNumber);
    case 1:
        return QString::fromStdString(row.folder);
    case 2:
        return QString::fromStdString(row.modified);
    case 3:
        return QString::fromStdString(row.fileName);
    default:
        return {};
    }
}

QVariant FoundDatabasesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return m_tondra ? QStringLiteral("Datenbank") : QStringLiteral("Mandant");
    case 1:
        return QStringLiteral("Im Ordner");
    case 2:
        return QStringLiteral("zuletzt geändert");
    case 3:
        return QStringLiteral("Dateiname");
    default:
        return {};
    }
}

Qt::ItemFlags FoundDatabasesModel::flags(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

} // namespace zelvan
