#pragma once

#include <QDialog>

#include "core/UserInterface.h"

class QLabel;
class QPushButton;

namespace zelvan {

// Shown while a whole-office run works: database i of n, its name and the step, drawn anew after
// every step. It is the run's UserInterface: progress goes to its labels, a stop is asked for
// with its "Abbrechen" (or its close box, or Esc), and everything else goes on to `outer`. The
// run reads the stop right after naming the next database, so the one in hand is finished first
// and the one named is not begun.
class BatchProgressDialog final : public QDialog, public UserInterface {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Alle konvertieren";
    static constexpr const char* kSearching = "Die Datenbanken werden gesucht...";
    static constexpr const char* kStopping =
        "Wird angehalten: die Datenbank, die gerade bearbeitet wird, wird noch fertig gespeichert; "
        "die übrigen bleiben unverändert.";

    explicit BatchProgressDialog(UserInterface& outer, QWidget* parent = nullptr);

    // Shows the dialog and draws its text at once: the run does not return to the event loop.
    void showNow();

    QString itemText() const;
    QString nameText() const;
    QString stepText() const;

    // UserInterface
    void setStatusText(std::string_view text) override { m_outer.setStatusText(text); }
    void setBusy(bool busy) override { m_outer.setBusy(busy); }
    MessageAnswer showMessage(const MessageRequest& request) override { return m_outer.showMessage(request); }
    void processEvents() override { m_outer.processEvents(); }
    void showProgress(const ProgressReport& report) override;
    bool stopRequested() override { return m_stopRequested; }

    void reject() override;

private:
    void requestStop();
    void redraw();

    UserInterface& m_outer;
    QLabel* m_item = nullptr;
    QLabel* m_name = nullptr;
    QLabel* m_step = nullptr;
    QLabel* m_stopNote = nullptr; // its own line, so that no step overwrites it
    QPushButton* m_cancel = nullptr;
    bool m_stopRequested = false;
};

} // namespace zelvan
