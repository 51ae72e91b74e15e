#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "batch/FolderConversion.h"

namespace zelvan {

// The summary of a whole-office run, one row per database and pass, in the columns of
// the summary file. A failed line is marked (icon, colour) and its reason is its tooltip.
class BatchSummaryModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    BatchSummaryModel(std::vector<BatchLine> lines, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<BatchLine> m_lines;
};

} // namespace zelvan
