#include "select/BatchDialogs.h"

#include "select/BatchStartDialog.h"
#include "select/BatchSummaryDialog.h"

namespace zelvan {

std::optional<bool> QtBatchDialogs::confirmStart(QWidget* owner, const BatchStartInfo& info)
{
    BatchStartDialog dialog(info, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.dryRunOnly();
}

void QtBatchDialogs::showSummary(QWidget* owner, const BatchSummary& summary, bool dryRun)
{
    BatchSummaryDialog dialog(summary, dryRun, owner);
    dialog.exec();
}

} // namespace zelvan
