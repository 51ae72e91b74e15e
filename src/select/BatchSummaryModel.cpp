#include "select/BatchSummaryModel.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QStyle>

#include "batch/SummaryTable.h"

namespace zelvan {

namespace {

// Columns 3 to 7 hold counts and stand right-aligned.
constexpr int kFirstCount = 3;
constexpr int kLastCount = 7;
constexpr int kResultColumn = static_cast<int>(kSummaryColumnCount) - 1;

} // namespace

BatchSummaryModel::BatchSummaryModel(std::vector<BatchLine> lines, QObject* parent)
    : QAbstractTableModel(parent), m_lines(std::move(lines))
{
}

int BatchSummaryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int BatchSummaryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(kSummaryColumnCount);
}

QVariant BatchSummaryModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const BatchLine& line = m_lines[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(summaryFields(line)[static_cast<std::size_t>(index.column())]);
    case Qt::ToolTipRole:
        // The whole reason, however narrow its column.
        return QString::fromStdString(line.result);
    case Qt::TextAlignmentRole:
        return index.column() >= kFirstCount && index.column() <= kLastCount
                   ? QVariant((Qt::AlignRight | Qt::AlignVCenter).toInt())
                   : QVariant();
    case Qt::BackgroundRole:
        return line.failed ? QVariant(QBrush(QColor(0xff, 0xd8, 0xd8))) : QVariant();
    case Qt::DecorationRole:
        return line.failed && index.column() == kResultColumn
                   ? QVariant(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical))
                   : QVariant();
    default:
        return {};
    }
}

QVariant BatchSummaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= static_cast<int>(kSummaryColumnCount))
        return {};
    return QString::fromStdString(summaryHeadings()[static_cast<std::size_t>(section)]);
}

Qt::ItemFlags BatchSummaryModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace zelvan
