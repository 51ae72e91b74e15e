#pragma once

#include <optional>
#include <string>

#include "core/UserInterface.h"
#include "core/WorkingSet.h"
#include "select/AuswahlIBANDatei.h"

class QWidget;

namespace zelvan {

// What the selection dialog chose.
struct DatabaseChoice {
    ClientFormat format = ClientFormat::None;
    std::string path;
};

// The seam around the modal selection dialog, so that tests can script the choice.
class DatabaseChooser {
  public:
    virtual ~DatabaseChooser() = default;
    // Nothing when the dialog was cancelled.
    virtual std::optional<DatabaseChoice> choose(QWidget* owner, const SelectionStart& start, UserInterface& ui) = 0;
};

// Shows AuswahlIBANDatei, created afresh at every call, with the real file-open dialog.
class DialogDatabaseChooser final : public DatabaseChooser {
  public:
    std::optional<DatabaseChoice> choose(QWidget* owner, const SelectionStart& start, UserInterface& ui) override;
};

} // namespace zelvan
