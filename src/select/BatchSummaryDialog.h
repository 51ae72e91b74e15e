#pragma once

#include <QDialog>

#include "widgets/MessageBoxes.h"
#include "batch/FolderConversion.h"

class QLabel;
class QPushButton;
class QTableView;

namespace zelvan {

class BatchSummaryModel;

// The end of a whole-office run: what was done, the summary as a table, and buttons to open
// the summary file and its folder; a path the system cannot open is named in a message.
class BatchSummaryDialog final : public QDialog {
    Q_OBJECT

public:
    BatchSummaryDialog(const BatchSummary& summary, bool dryRun, QWidget* parent = nullptr,
                       FolderOpener open = openInFileManager);

    QString text() const;
    const BatchSummaryModel& table() const { return *m_model; }

private:
    QLabel* m_text = nullptr;
    BatchSummaryModel* m_model = nullptr;
    QTableView* m_table = nullptr;
};

// The line above the table: how many were done, how many failed, and whether the run stopped
// or was a dry run.
QString batchSummaryText(const BatchSummary& summary, bool dryRun);

} // namespace zelvan
