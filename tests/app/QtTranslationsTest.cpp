#include "app/QtTranslations.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
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

    void the_file_dialog_is_german_with_german_sizes_and_dates_also_on_a_folder()
    {
        useGermanLocale();
        const auto file = m_dir.write("MARL002.MDB", std::string(12288, 'x'));
        std::filesystem::create_directories(m_dir.path() / "Mandanten");
        QString size;
        QString date;
        QString accept;
        QString acceptOnFolder;
        QString cancel;
        QString detailView;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* files = dialog->findChild<QFileSystemModel*>();
            QTRY_VERIFY(files->index(QString::fromStdString(file)).isValid());
            const QModelIndex shown =
                dialog->proxyModel()->mapFromSource(files->index(QString::fromStdString(file), 1));
            size = shown.data().toString();
            date = shown.siblingAtColumn(3).data().toString();
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            accept = plain(buttons->button(QDialogButtonBox::Open)->text());
            cancel = plain(buttons->button(QDialogButtonBox::Cancel)->text());
            // A folder in the name field turns the button into the dialog's own "Open".
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
                             QStringLiteral("Mandanten"));
            acceptOnFolder = plain(buttons->button(QDialogButtonBox::Open)->text());
            detailView = dialog->findChild<QToolButton*>(QStringLiteral("detailModeButton"))->toolTip();
            dialog->reject();
        });
        QtFileOpenDialog dialog;
        const FileFilter filters[] = {{"Marlo Mandant (marl*.mdb)", "marl*.mdb"}};
        QCOMPARE(dialog.openFileName(nullptr, {"Marlo-Datenbank auswählen", filters, m_dir.path().string()}),
                 std::string());
        QCOMPARE(size, QStringLiteral("12,00 KiB"));
        QVERIFY2(date.contains(QLocale().toString(QDate::currentDate(), QStringLiteral("dd.MM."))), qPrintable(date));
        QCOMPARE(accept, QStringLiteral("Öffnen"));
        QCOMPARE(acceptOnFolder, QStringLiteral("Öffnen"));
        QCOMPARE(cancel, QStringLiteral("Abbrechen"));
        QCOMPARE(detailView, QStringLiteral("Details")); // "Detail View"
    }

    void a_catalogue_that_cannot_be_found_is_reported()
    {
        QVERIFY(!installQtTranslations(*QCoreApplication::instance(), QStringLiteral("/gibt/es/nicht")));
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::QtTranslationsTest)
#include "QtTranslationsTest.moc"
