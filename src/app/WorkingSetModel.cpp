#include "app/WorkingSetModel.h"

#include <algorithm>

#include "app/ColumnDescriptions.h"
#include "clientdb/HintClass.h"
#include "iban/BankDetailsCheck.h"
#include "iban/ConversionHint.h"

namespace zelvan {

WorkingSetModel::WorkingSetModel(WorkingSetArray& rows, QObject* parent) : QAbstractTableModel(parent), m_rows(rows) {}

void WorkingSetModel::beginReplace()
{
    beginResetModel();
}

void WorkingSetModel::endReplace(std::size_t columnCount, std::vector<GridColumn> columns)
{
    m_columnCount = std::min(columnCount, kAccountColumnCount);
    m_columns = std::move(columns);
    endResetModel();
}

void WorkingSetModel::setColumns(std::vector<GridColumn> columns)
{
    m_columns = std::move(columns);
    if (m_columnCount == 0)
        return;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {kMaxLengthRole});
}

void WorkingSetModel::cellsChanged(int firstColumn, int lastColumn)
{
    const int last = std::min(lastColumn, columnCount() - 1);
    if (rowCount() == 0 || firstColumn > last)
        return;
    emit dataChanged(index(0, firstColumn), index(rowCount() - 1, last), {Qt::DisplayRole, Qt::EditRole});
}

const GridColumn* WorkingSetModel::column(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_columns.size())
        return nullptr;
    return &m_columns[static_cast<std::size_t>(index)];
}

bool WorkingSetModel::valid(const QModelIndex& index) const
{
    return checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid);
}

int WorkingSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int WorkingSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columnCount);
}

QVariant WorkingSetModel::data(const QModelIndex& index, int role) const
{
    if (!valid(index))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const auto& cell =
            m_rows[static_cast<std::size_t>(index.row())].cells[static_cast<std::size_t>(index.column())];
        return QString::fromStdString(cell);
    }
    if (role == Qt::ToolTipRole && index.column() == static_cast<int>(AccountColumn::Hint)) {
        // The whole hint and, below it, what to do about it.
        const auto& hint = m_rows[static_cast<std::size_t>(index.row())][AccountColumn::Hint];
        const std::string_view advice = hintAdviceLine(hintNumberOf(hint));
        if (advice.empty())
            return {};
        return QString::fromStdString(hint) + QLatin1Char('\n') +
               QString::fromUtf8(advice.data(), static_cast<qsizetype>(advice.size()));
    }
    if (role == kMaxLengthRole) {
        const GridColumn* setup = column(index.column());
        return setup ? setup->maxLength : 0;
    }
    return {};
}

bool WorkingSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!valid(index) || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    const GridColumn* setup = column(index.column());
    if (setup && setup->maxLength > 0 && text.size() > setup->maxLength)
        return false;
    auto& row = m_rows[static_cast<std::size_t>(index.row())];
    auto& cell = row.cells[static_cast<std::size_t>(index.column())];
    std::string newValue = text.toStdString();
    const bool bankDetail = index.column() == static_cast<int>(AccountColumn::Iban) ||
                            index.column() == static_cast<int>(AccountColumn::Bic);
    if (bankDetail) {
        // Refused where it is typed; the cell keeps its value.
        TypedValueCheck check =
            index.column() == static_cast<int>(AccountColumn::Iban) ? checkIban(newValue) : checkBic(newValue);
        if (!check.valid()) {
            emit valueRefused(QString::fromStdString(check.reason));
            return false;
        }
        newValue = std::move(check.value);
    }
    if (newValue == cell)
        return true;
    cell = std::move(newValue);
    if (bankDetail)
        row.typedFor = TypedFor{row[AccountColumn::Blz], row[AccountColumn::Account]};
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit cellCommitted(index.column());
    if (bankDetail)
        emit bankDetailTyped(index.row());
    return true;
}

QVariant WorkingSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(QString()) : QVariant(); // a plain record selector
    const GridColumn* setup = column(section);
    if (!setup)
        return {};
    if (role == Qt::ToolTipRole)
        return columnToolTip(section, setup->heading);
    return QString::fromStdString(setup->heading);
}

Qt::ItemFlags WorkingSetModel::flags(const QModelIndex& index) const
{
    if (!valid(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    const GridColumn* setup = column(index.column());
    if (setup && setup->editable)
        result |= Qt::ItemIsEditable;
    return result;
}

} // namespace zelvan
