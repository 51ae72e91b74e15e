// Opens the main window as the program does, waits for its start-up to finish, chooses the
// database given through "Auswählen" and "Datei direkt auswählen" as a user would, inserts IBAN
// and BIC ("IBAN / BIC einsetzen") and saves a picture of the window. Used by
// scripts/screenshot under a virtual X server.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <iostream>

#include "app/FormAdressen.h"
#include "widgets/ProgramFont.h"
#include "app/ProgramStart.h"
#include "app/ShellSettings.h"
#include "cli/ProgramFolder.h"
#include "select/AuswahlIBANDatei.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "Aufruf: window_screenshot BILD.png DATENBANK\n";
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    const QString database = QString::fromLocal8Bit(argv[2]);
    QApplication application(argc, argv);
    zelvan::setUpApplication(application);

    zelvan::ProgramSession session(zelvan::programFolder(argv[0]));
    zelvan::FormAdressen& window = session.window();
    // No one answers under the virtual X server: a message box (the note on the sample bank-code
    // file after start-up) is closed as soon as it shows, the selection dialog chooses the file
    // directly and the file dialog takes the database given.
    QTimer closer;
    QList<QPointer<QWidget>> answered;
    QObject::connect(&closer, &QTimer::timeout, [&database, &answered] {
        QWidget* modal = QApplication::activeModalWidget();
        // Each window is answered once: the answer may take a turn of the event loop to arrive.
        if (!modal || answered.contains(modal))
            return;
        answered << modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->close();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            // Typed into the name field, as a user would.
            if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(database);
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        } else if (auto* selection = qobject_cast<zelvan::AuswahlIBANDatei*>(modal)) {
            // Clicked from the dialog's own event loop: this timer does not fire while its call runs.
            QMetaObject::invokeMethod(selection->findChild<QPushButton*>(QStringLiteral("Command1_3")), "click",
                                      Qt::QueuedConnection);
        }
    });
    closer.start(100);
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.startupDone() && clock.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    window.Command1_Click(zelvan::FormAdressen::Auswaehlen);
    window.Command1_Click(zelvan::FormAdressen::IbanBicEinsetzen);
    clock.restart();
    while (clock.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    const QPixmap picture =
        window.screen()->grabWindow(0, window.frameGeometry().x(), window.frameGeometry().y(),
                                    window.frameGeometry().width(), window.frameGeometry().height());
    if (!picture.save(target, "PNG")) {
        std::cerr << "Das Bild konnte nicht gespeichert werden: " << target.toStdString() << '\n';
        return 1;
    }
    // Nothing is saved: the window goes without its close question.
    return 0;
}
