#pragma once

#include <optional>
#include <string>

#include "batch/FolderConversion.h"

class QWidget;

namespace zelvan {

// What the start dialog of a whole-office run shows.
struct BatchStartInfo {
    std::size_t databases = 0;
    ClientFormat format = ClientFormat::None;
    std::string folder;
    std::string bankFile;
};

// The seam around the modal windows of a whole-office run, so that tests can script them.
class BatchDialogs {
public:
    virtual ~BatchDialogs() = default;
    // Asks before the run: nothing for "Abbrechen", else whether only a dry run is wanted.
    virtual std::optional<bool> confirmStart(QWidget* owner, const BatchStartInfo& info) = 0;
    // Shows the summary until it is closed.
    virtual void showSummary(QWidget* owner, const BatchSummary& summary, bool dryRun) = 0;
};

// The real dialogs: BatchStartDialog and BatchSummaryDialog.
class QtBatchDialogs final : public BatchDialogs {
public:
    std::optional<bool> confirmStart(QWidget* owner, const BatchStartInfo& info) override;
    void showSummary(QWidget* owner, const BatchSummary& summary, bool dryRun) override;
};

} // namespace zelvan
