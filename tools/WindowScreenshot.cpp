// Opens the main window as the program does, waits for its start-up to finish, inserts IBAN
// and BIC ("IBAN / BIC einsetzen") and saves a picture of the window. Used by
// scripts/screenshot under a virtual X server.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <iostream>

#include "app/FormAdressen.h"
#include "app/ProgramFont.h"
#include "app/ProgramStart.h"
#include "app/ShellSettings.h"
#include "cli/ProgramFolder.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Aufruf: window_screenshot BILD.png\n";
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    QApplication application(argc, argv);
    zelvan::setUpApplication(application);

    zelvan::ProgramSession session(zelvan::programFolder(argv[0]));
    zelvan::FormAdressen& window = session.window();
    // No one answers under the virtual X server: a message box (the note on the sample bank-code
    // file after start-up) is closed as soon as it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->close();
    });
    closer.start(100);
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.startupDone() && clock.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
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
