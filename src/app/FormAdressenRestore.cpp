#include "app/FormAdressen.h"

#include <QInputDialog>
#include <QStringList>

#include "app/AccountGrid.h"
#include "app/WorkingSetStore.h"
#include "core/FileExists.h"

namespace zelvan {

namespace {

// A copy as the choice lists it: time, rows and what its check found.
QString describe(const BackupCopyEntry& copy)
{
    const QString rows =
        copy.rows < 0 ? QStringLiteral("Datensätze unbekannt") : QStringLiteral("%1 Datensätze").arg(copy.rows);
    return QStringLiteral("%1 – %2 – %3")
        .arg(QString::fromStdString(copy.time), rows, QString::fromStdString(copy.check));
}

} // namespace

void FormAdressen::restoreBackup()
{
    const std::string title(kApplicationTitle);
    if (m_state.databasePath.empty() || !FileExists(m_state.databasePath)) {
        showMessage({"Es ist keine Datenbank ausgewählt, deren Sicherungskopie zurückgespielt werden könnte.", title,
                     MessageButtons::Ok, MessageIcon::Information, 0});
        return;
    }
    // Putting a copy back replaces what is loaded: unsaved work is offered for saving first.
    if (!askSaveQuestion())
        return;
    std::string error;
    const std::vector<BackupCopyEntry> copies = m_store.ListBackupCopies(m_state, error);
    if (!error.empty()) {
        showMessage({error, title, MessageButtons::Ok, MessageIcon::Critical, 0});
        return;
    }
    if (copies.empty()) {
        showMessage({"Zu dieser Datenbank gibt es keine Sicherungskopie.", title, MessageButtons::Ok,
                     MessageIcon::Information, 0});
        return;
    }
    QStringList items;
    for (const auto& copy : copies)
        items << describe(copy);
    bool chosen = false;
    const QString item =
        QInputDialog::getItem(this, QStringLiteral("Sicherung zurückspielen"),
                              QStringLiteral("&Sicherungskopie (die neueste zuerst):"), items, 0, false, &chosen);
    const auto index = items.indexOf(item);
    if (!chosen || index < 0)
        return;
    const BackupCopyEntry& copy = copies[static_cast<std::size_t>(index)];
    const std::string rows = copy.rows < 0 ? std::string("unbekannt vielen") : std::to_string(copy.rows);
    const MessageRequest question{"Die Sicherungskopie vom " + copy.time + " mit " + rows +
                                      " Datensätzen zurückspielen?\r\n\r\nDie Datenbank " + m_state.databasePath +
                                      " wird durch sie ersetzt; ihr jetziger Stand wird vorher selbst gesichert.",
                                  title, MessageButtons::YesNo, MessageIcon::Question, 1};
    if (showMessage(question) != MessageAnswer::Yes)
        return;
    m_grid->cancelPendingEdit();
    m_store.RestoreBackupCopy(m_state, copy.path, *this);
    // Read again whether or not the copy went back: the grid shows what the database now holds.
    LoadWorkingSet();
}

} // namespace zelvan
