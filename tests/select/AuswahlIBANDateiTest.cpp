#include "select/AuswahlIBANDatei.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <cerrno>
#include <filesystem>

#include "gui/AccessKeys.h"
#include "gui/GuiTestDoubles.h"
#include "search/ClientFileKinds.h"
#include "select/FoundDatabasesModel.h"
#include "support/RefusedFolder.h"
#include "support/TempDir.h"

namespace zelvan {

namespace fs = std::filesystem;

class AuswahlIBANDateiTest : public QObject {
    Q_OBJECT

private:
    // A folder tree with client files of several formats and look-alikes.
    void writeTree()
    {
        fs::create_directories(m_dir.path() / "a");
        fs::create_directories(m_dir.path() / "b");
        for (const char* name : {"a/MARL001.MDB", "a/MARL012A.MDB", "b/marl123.mdb", "b/MARL007.MDB",
                                 "b/marl001kopie.mdb", "b/XARL001.MDB", "b/DORV002.MDB"})
            m_dir.write(name, "x");
    }

    std::string root() const { return m_dir.path().string(); }

    std::unique_ptr<AuswahlIBANDatei> makeDialog(ClientFormat format = ClientFormat::None, std::string path = {})
    {
        auto dialog = std::make_unique<AuswahlIBANDatei>(
            SelectionStart{format, std::move(path), "/opt/zelvan/bin/", {}}, m_files, m_ui);
        dialog->setDrives({Drive{"test [Daten]", root()}});
        return dialog;
    }

    static QPushButton* command(AuswahlIBANDatei& dialog, int index)
    {
        return dialog.findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(index));
    }
    static QRadioButton* option(AuswahlIBANDatei& dialog, int index)
    {
        return dialog.findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(index));
    }
    static QStringList column(const AuswahlIBANDatei& dialog, int col)
    {
        QStringList values;
        const auto& model = dialog.foundDatabases();
        for (int row = 0; row < model.rowCount(); ++row)
            values << model.index(row, col).data().toString();
        return values;
    }

    test::TempDir m_dir;
    test::ScriptedFileDialog m_files;
    test::ScriptedUserInterface m_ui;

private slots:
    void initTestCase() { writeTree(); }
    void init()
    {
        m_files = {};
        m_ui.onEventTurn = nullptr;
        m_ui.eventTurns = 0;
    }

    void search_lists_sorted_clients_with_caption_and_enables_auswaehlen()
    {
        auto dialog = makeDialog();
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);

        QCOMPARE(column(*dialog, 0), (QStringList{"1", "12", "7", "123"}));
        const QString a = QString::fromStdString((m_dir.path() / "a").string()) + "/";
        const QString b = QString::fromStdString((m_dir.path() / "b").string()) + "/";
        QCOMPARE(column(*dialog, 1), (QStringList{a, a, b, b}));
        QCOMPARE(column(*dialog, 3), (QStringList{"MARL001.MDB", "MARL012A.MDB", "MARL007.MDB", "marl123.mdb"}));
        QCOMPARE(dialog->resultCaption(), QStringLiteral("4 gefundene Mandanten in test [Daten]"));
        QVERIFY(command(*dialog, AuswahlIBANDatei::Auswaehlen)->isEnabled());
        QVERIFY(!dialog->searchRunning());
        QCOMPARE(m_ui.busyDepth, 0);
        QVERIFY(m_ui.eventTurns >= 3); // one turn per folder
    }

    void a_folder_the_search_could_not_read_is_named_under_the_list()
    {
        auto dialog = makeDialog();
        const std::string b = (m_dir.path() / "b").string();
        {
            const test::RefusedFolder refused(b, EACCES);
            QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);
        }
        QCOMPARE(column(*dialog, 0), (QStringList{"1", "12"}));
        QVERIFY(dialog->searchNotes().isVisibleTo(dialog.get()));
        QCOMPARE(dialog->searchNotes().text(), QStringLiteral("1 Ordner konnte nicht durchsucht werden"));
        QCOMPARE(dialog->searchNotes().toolTip(),
                 QString::fromStdString("Ordner nicht lesbar: " + b + " (keine Berechtigung)"));

        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);
        QVERIFY(!dialog->searchNotes().isVisibleTo(dialog.get()));
    }

    void a_search_that_finds_nothing_shows_zero_and_enter_chooses_nothing()
    {
        auto dialog = makeDialog();
        dialog->show();
        QVERIFY(!command(*dialog, AuswahlIBANDatei::Auswaehlen)->isEnabled());
        option(*dialog, 3)->setChecked(true);
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);
        QCOMPARE(dialog->resultCaption(), QStringLiteral("0 gefundene Mandanten in test [Daten]"));
        QCOMPARE(dialog->foundDatabases().rowCount(), 0);
        QVERIFY(!command(*dialog, AuswahlIBANDatei::Auswaehlen)->isEnabled());
        auto* grid = dialog->findChild<QTableView*>(QStringLiteral("TDBGrid1"));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->selectedPath(), std::string());
    }

    void auswaehlen_sets_the_path_of_the_found_file_and_the_format_at_the_click()
    {
        auto dialog = makeDialog();
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);
        auto* grid = dialog->findChild<QTableView*>(QStringLiteral("TDBGrid1"));
        grid->setCurrentIndex(dialog->foundDatabases().index(1, 0)); // client 12, MARL012A.MDB
        option(*dialog, 2)->setChecked(true);                        // Dorvan, chosen after the search

        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::Auswaehlen), Qt::LeftButton);

        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->selectedFormat(), ClientFormat::Dorvan);
        QCOMPARE(dialog->selectedPath(), (m_dir.path() / "a" / "MARL012A.MDB").string());
    }

    void drive_list_offers_the_home_folder_the_volumes_and_ordner_waehlen()
    {
        AuswahlIBANDatei dialog(SelectionStart{}, m_files, m_ui);
        auto* drives = dialog.findChild<QComboBox*>(QStringLiteral("Drive1"));
        QVERIFY(drives->count() >= 3);
        QCOMPARE(drives->itemText(0), QDir::homePath() + QStringLiteral(" [Persönlicher Ordner]"));
        QCOMPARE(drives->itemText(drives->count() - 1), QStringLiteral("Ordner wählen..."));
    }

    void ordner_waehlen_searches_the_chosen_folder_and_cancelled_returns_to_the_entry_before()
    {
        auto dialog = makeDialog();
        auto* drives = dialog->findChild<QComboBox*>(QStringLiteral("Drive1"));
        drives->setCurrentIndex(drives->count() - 1);
        emit drives->activated(drives->count() - 1);
        QCOMPARE(drives->currentText(), QStringLiteral("test [Daten]"));
        QCOMPARE(dialog->resultCaption(), QString());
        QCOMPARE(m_ui.eventTurns, 0); // no search

        const std::string folder = (m_dir.path() / "b").string();
        m_files.nextFolders = {folder};
        drives->setCurrentIndex(drives->count() - 1);
        emit drives->activated(drives->count() - 1);
        QCOMPARE(m_files.folderTitles.back(), std::string("Zu durchsuchenden Ordner wählen"));
        QCOMPARE(m_files.folderStarts.back(), QDir::homePath().toStdString());
        QCOMPARE(drives->currentText(), QString::fromStdString(folder));
        QCOMPARE(drives->itemText(drives->count() - 1), QStringLiteral("Ordner wählen..."));
        QCOMPARE(column(*dialog, 0), (QStringList{"7", "123"}));
        QCOMPARE(dialog->resultCaption(), QString::fromStdString("2 gefundene Mandanten in " + folder));
        QVERIFY(command(*dialog, AuswahlIBANDatei::Auswaehlen)->isEnabled());

        // "Laufwerk durchsuchen" searches it again; choosing it once more adds no second entry.
        const int entries = drives->count();
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);
        QCOMPARE(column(*dialog, 0), (QStringList{"7", "123"}));
        m_files.nextFolders = {folder};
        emit drives->activated(drives->count() - 1);
        QCOMPARE(drives->count(), entries);
        QCOMPARE(drives->currentText(), QString::fromStdString(folder));
    }

    void the_folder_of_the_last_time_is_shown_again()
    {
        const std::string folder = (m_dir.path() / "b").string();
        SelectionStart start;
        start.searchFolder = folder;
        AuswahlIBANDatei dialog(start, m_files, m_ui);
        dialog.setDrives({Drive{"test [Daten]", root()}});
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("Drive1"))->currentText(), QString::fromStdString(folder));
        QCOMPARE(dialog.searchFolder(), folder);
    }

    void ordner_waehlen_starts_in_the_folder_of_the_current_database()
    {
        auto dialog = makeDialog(ClientFormat::MarloOp, (m_dir.path() / "a" / "MARL001.MDB").string());
        auto* drives = dialog->findChild<QComboBox*>(QStringLiteral("Drive1"));
        emit drives->activated(drives->count() - 1);
        QCOMPARE(m_files.folderStarts, (std::vector<std::string>{(m_dir.path() / "a").string() + "/"}));
    }

    void double_click_or_enter_on_a_found_database_chooses_it_data()
    {
        QTest::addColumn<int>("key"); // 0: double-click
        QTest::newRow("Doppelklick") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Return") << int(Qt::Key_Return);
    }

    void double_click_or_enter_on_a_found_database_chooses_it()
    {
        QFETCH(int, key);
        auto dialog = makeDialog();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);
        auto* grid = dialog->findChild<QTableView*>(QStringLiteral("TDBGrid1"));
        const QModelIndex twelve = dialog->foundDatabases().index(1, 2); // client 12, MARL012A.MDB
        if (key == 0) {
            // A double-click is a click and then the second press, as the platform delivers them.
            const QPoint at = grid->visualRect(twelve).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        } else {
            grid->setFocus();
            grid->setCurrentIndex(twelve);
            QTest::keyClick(grid, static_cast<Qt::Key>(key));
        }
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->selectedFormat(), ClientFormat::MarloOp);
        QCOMPARE(dialog->selectedPath(), (m_dir.path() / "a" / "MARL012A.MDB").string());
    }

    void escape_cancels_from_every_control_and_so_does_abbruch_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("pressed");
        QTest::newRow("Ergebnisliste") << QStringLiteral("TDBGrid1") << int(Qt::Key_Escape);
        QTest::newRow("Laufwerk") << QStringLiteral("Drive1") << int(Qt::Key_Escape);
        QTest::newRow("Datei direkt auswählen") << QStringLiteral("Command1_3") << int(Qt::Key_Escape);
        QTest::newRow("Abbruch") << QStringLiteral("Command1_1") << int(Qt::Key_Space);
    }

    void escape_cancels_from_every_control_and_so_does_abbruch()
    {
        QFETCH(QString, control);
        QFETCH(int, pressed);
        auto dialog = makeDialog(ClientFormat::MarloOp, "/x/MARL001.MDB");
        dialog->show();
        // With something found and selected, Esc still chooses nothing.
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);
        QVERIFY(dialog->foundDatabases().rowCount() > 0);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        auto* widget = dialog->findChild<QWidget*>(control);
        QVERIFY(widget);
        widget->setFocus();
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(pressed));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(dialog->selectedPath(), std::string());
        QCOMPARE(dialog->selectedFormat(), ClientFormat::None);
    }

    void every_button_has_its_own_access_key()
    {
        auto dialog = makeDialog();
        const test::AccessKeys keys = test::accessKeysIn(*dialog);
        QCOMPARE(keys.withoutKey, QStringList());
        QCOMPARE(keys.duplicates(), QStringList());
        QCOMPARE(keys.keys.size(), 10); // four formats, five buttons, the drive list
    }

    void the_direct_choice_asks_for_the_checked_format_and_takes_the_file_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("current"); // the current database
        QTest::addColumn<QString>("folder");  // where the file dialog starts
        QTest::addColumn<QString>("chosen");  // empty: cancelled
        QTest::newRow("ohne Format") << 0 << ""
                                     << "/opt/zelvan/"
                                     << "";
        QTest::newRow("Marlo") << 1 << "/daten/MARL001.MDB"
                               << "/daten/"
                               << "/srv/MARL002.MDB";
        QTest::newRow("Tondra, abgebrochen") << 2 << "/daten/kunden/TONDRA.MDB"
                                             << "/daten/kunden/"
                                             << "";
        QTest::newRow("Dorvan") << 3 << ""
                                << "/opt/zelvan/"
                                << "/srv/dorv001.mdb";
        QTest::newRow("Galdo") << 4 << ""
                               << "/opt/zelvan/"
                               << "/srv/lohn/gald007.mdb";
    }

    void the_direct_choice_asks_for_the_checked_format_and_takes_the_file()
    {
        QFETCH(int, format);
        QFETCH(QString, current);
        QFETCH(QString, folder);
        QFETCH(QString, chosen);
        auto dialog = makeDialog(static_cast<ClientFormat>(format), current.toStdString());
        dialog->show();
        QVERIFY(option(*dialog, std::max(format - 1, 0))->isChecked());
        if (!chosen.isEmpty())
            m_files.nextFileNames = {chosen.toStdString()};
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::DateiDirektAuswaehlen), Qt::LeftButton);

        const ClientFileKind kind = *clientFileKind(static_cast<ClientFormat>(std::max(format, 1)));
        QCOMPARE(m_files.titles, std::vector<std::string>{std::string(kind.openDialogTitle)});
        QCOMPARE(m_files.filters.front().size(), kind.filters.size());
        QCOMPARE(m_files.filters.front().front(), std::string(kind.filters.front().description));
        QCOMPARE(m_files.initialFolders.front(), folder.toStdString());
        QCOMPARE(dialog->isVisible(), chosen.isEmpty());
        QCOMPARE(dialog->selectedPath(), chosen.toStdString());
        if (!chosen.isEmpty())
            QCOMPARE(dialog->selectedFormat(), kind.format);
    }

    void initial_folder_of_the_direct_choice()
    {
        QCOMPARE(directChoiceFolder("MARL001.MDB", "/opt/z/bin/"), std::string("/opt/z/bin/"));
        QCOMPARE(directChoiceFolder("C:\\Daten\\marl001.mdb", "/opt/z/bin/"), std::string("C:\\Daten\\"));
    }

    void abbruch_or_the_close_box_during_a_search_ends_the_walk_and_closes_afterwards_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Abbruch") << false;
        QTest::newRow("Schließfeld") << true;
    }

    void abbruch_or_the_close_box_during_a_search_ends_the_walk_and_closes_afterwards()
    {
        QFETCH(bool, closeBox);
        auto dialog = makeDialog();
        dialog->show();
        bool runningAtClick = false;
        m_ui.onEventTurn = [&](int turn) {
            if (turn == 2) {
                runningAtClick = dialog->searchRunning();
                if (closeBox)
                    dialog->close();
                else
                    QTest::mouseClick(command(*dialog, AuswahlIBANDatei::Abbruch), Qt::LeftButton);
            }
        };
        QTest::mouseClick(command(*dialog, AuswahlIBANDatei::LaufwerkDurchsuchen), Qt::LeftButton);

        QVERIFY(runningAtClick);
        QCOMPARE(m_ui.eventTurns, 2); // no folder after the click was walked
        QVERIFY(!dialog->searchRunning());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(dialog->selectedPath(), std::string());
        // List, caption and "Auswählen" agree.
        const int rows = dialog->foundDatabases().rowCount();
        QCOMPARE(dialog->resultCaption(), QStringLiteral("%1 gefundene Mandanten in test [Daten]").arg(rows));
        QCOMPARE(command(*dialog, AuswahlIBANDatei::Auswaehlen)->isEnabled(), rows > 0);
    }

    void deleting_the_dialog_during_a_search_waits_for_the_walk()
    {
        auto* dialog = makeDialog().release();
        QPointer<AuswahlIBANDatei> watch(dialog);
        m_ui.onEventTurn = [&](int turn) {
            if (turn == 1) {
                dialog->deleteLater();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QVERIFY(!watch.isNull());
            }
        };
        dialog->Command1_Click(AuswahlIBANDatei::LaufwerkDurchsuchen);
        QVERIFY(!watch.isNull());
        QCOMPARE(m_ui.eventTurns, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTRY_VERIFY(watch.isNull());
    }

    void a_second_search_during_a_search_starts_afresh()
    {
        auto dialog = makeDialog();
        int nestedClicks = 0;
        m_ui.onEventTurn = [&](int turn) {
            if (turn == 2 && nestedClicks == 0) {
                ++nestedClicks;
                QCOMPARE(dialog->resultCaption(), QStringLiteral("Suchvorgang läuft..."));
                QVERIFY(!command(*dialog, AuswahlIBANDatei::Auswaehlen)->isEnabled());
                option(*dialog, 2)->setChecked(true); // the new search is for Dorvan
                dialog->Command1_Click(AuswahlIBANDatei::LaufwerkDurchsuchen);
                QVERIFY(dialog->searchRunning()); // the first walk is still below us
            }
        };
        dialog->Command1_Click(AuswahlIBANDatei::LaufwerkDurchsuchen);

        QCOMPARE(nestedClicks, 1);
        QCOMPARE(column(*dialog, 0), QStringList{"2"});
        QCOMPARE(dialog->resultCaption(), QStringLiteral("1 gefundene Mandanten in test [Daten]"));
        QVERIFY(command(*dialog, AuswahlIBANDatei::Auswaehlen)->isEnabled());
    }

    void file_filters_match_without_regard_to_case()
    {
        QCOMPARE(caseInsensitivePattern("marl*.mdb"), QStringLiteral("[mM][aA][rR][lL]*.[mM][dD][bB]"));
        const std::array filters{FileFilter{"Marlo Mandant (marl*.mdb)", "marl*.mdb"}};
        QCOMPARE(nameFilters(filters),
                 QStringList{QStringLiteral("Marlo Mandant (marl*.mdb) ([mM][aA][rR][lL]*.[mM][dD][bB])")});
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::AuswahlIBANDateiTest)
#include "AuswahlIBANDateiTest.moc"
