#include "app/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QAbstractProxyModel>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

#include "select/FileOpenDialog.h"
#include "support/TempDir.h"

namespace zelvan {

// Registered with LANG=C: the machine speaks English, the program's dialogs German.
class QtTranslationsTest : public QObject {
    Q_OBJECT

  private:
    static QString plain(QString caption) { return caption.remove(QLatin1Char('&')); }

    test::TempDir m_dir;

  private slots:
    void initTestCase()
    {
        QVERIFY2(!QLocale::system().name().startsWith(QStringLiteral("de")), qPrintable(QLocale::system().name()));
        QVERIFY2(installQtTranslations(*QCoreApplication::instance()),
                 "qtbase_de not found: the package qt6-translations-l10n is missing");
    }

    void the_file_dialog_shows_sizes_and_dates_in_german()
    {
        useGermanLocale();
        const auto file = m_dir.write("MARL002.MDB", std::string(12288, 'x'));
        QString size;
        QString date;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* files = dialog->findChild<QFileSystemModel*>();
            QTRY_VERIFY(files->index(QString::fromStdString(file)).isValid());
            const QModelIndex shown = dialog->proxyModel()->mapFromSource(files->index(QString::fromStdString(file), 1));
            size = shown.data().toString();
            date = shown.siblingAtColumn(3).data().toString();
            dialog->reject();
        });
        QtFileOpenDialog dialog;
        dialog.openFileName(nullptr, {"Marlo-Datenbank auswählen", {}, m_dir.path().string()});
        QCOMPARE(size, QStringLiteral("12,00 KiB"));
        QVERIFY2(date.contains(QLocale().toString(QDate::currentDate(), QStringLiteral("dd.MM."))), qPrintable(date));
    }

    void a_catalogue_that_cannot_be_found_is_reported()
    {
        QVERIFY(!installQtTranslations(*QCoreApplication::instance(), QStringLiteral("/gibt/es/nicht")));
    }

    void standard_buttons_are_german_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("caption");
        QTest::newRow("OK") << int(QDialogButtonBox::Ok) << QStringLiteral("OK");
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << QStringLiteral("Abbrechen");
        QTest::newRow("Yes") << int(QDialogButtonBox::Yes) << QStringLiteral("Ja");
        QTest::newRow("No") << int(QDialogButtonBox::No) << QStringLiteral("Nein");
        QTest::newRow("Open") << int(QDialogButtonBox::Open) << QStringLiteral("Öffnen");
        QTest::newRow("Save") << int(QDialogButtonBox::Save) << QStringLiteral("Speichern");
        QTest::newRow("Close") << int(QDialogButtonBox::Close) << QStringLiteral("Schließen");
    }

    void standard_buttons_are_german()
    {
        QFETCH(int, button);
        QFETCH(QString, caption);
        QDialogButtonBox box(static_cast<QDialogButtonBox::StandardButton>(button));
        QCOMPARE(plain(box.button(static_cast<QDialogButtonBox::StandardButton>(button))->text()), caption);
    }

    void the_file_dialog_stays_german_also_on_a_folder()
    {
        std::filesystem::create_directories(m_dir.path() / "Mandanten");
        m_dir.write("MARL001.MDB", "x");
        QString accept;
        QString acceptOnFolder;
        QString cancel;
        QString detailView;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            QVERIFY(buttons);
            accept = plain(buttons->button(QDialogButtonBox::Open)->text());
            cancel = plain(buttons->button(QDialogButtonBox::Cancel)->text());
            // A folder in the name field turns the button into the dialog's own "Open".
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            QTest::keyClicks(name, QStringLiteral("Mandanten"));
            acceptOnFolder = plain(buttons->button(QDialogButtonBox::Open)->text());
            detailView = dialog->findChild<QToolButton*>(QStringLiteral("detailModeButton"))->toolTip();
            dialog->reject();
        });
        QtFileOpenDialog files;
        const FileFilter filters[] = {{"Marlo Mandant (marl*.mdb)", "marl*.mdb"}};
        const std::string chosen =
            files.openFileName(nullptr, {"Marlo-Datenbank auswählen", filters, m_dir.path().string()});
        QCOMPARE(chosen, std::string());
        QCOMPARE(accept, QStringLiteral("Öffnen"));
        QCOMPARE(acceptOnFolder, QStringLiteral("Öffnen"));
        QCOMPARE(cancel, QStringLiteral("Abbrechen"));
        QCOMPARE(detailView, QStringLiteral("Details")); // "Detail View"
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::QtTranslationsTest)
#include "QtTranslationsTest.moc"
