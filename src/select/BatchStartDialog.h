#pragma once

#include <QDialog>

#include "select/BatchDialogs.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace zelvan {

// Asked before a whole-office run: how many databases, which bank-code file, "Nur Probelauf"
// (on when it opens), "Starten" and "Abbrechen".
class BatchStartDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Alle konvertieren";

    explicit BatchStartDialog(const BatchStartInfo& info, QWidget* parent = nullptr);

    bool dryRunOnly() const;
    QString text() const;

private:
    QLabel* m_text = nullptr;
    QCheckBox* m_dryRun = nullptr;
};

// The start dialog's text, as "Nur Probelauf" is set: "3 Datenbanken (Marlo) in /daten werden
// nacheinander konvertiert und gespeichert." or that they are converted in copies, and the
// bank-code file.
QString batchStartText(const BatchStartInfo& info, bool dryRun);

} // namespace zelvan
