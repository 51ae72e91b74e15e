#include "app/ClientDatabaseStore.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <filesystem>

#include "DemoDatabases.h"
#include "app/AccountGrid.h"
#include "app/FormAdressen.h"
#include "gui/FakeWorkingSetStore.h"
#include "gui/GuiTestDoubles.h"
#include "support/TempDir.h"

namespace zelvan {

namespace fs = std::filesystem;

// The main window over a real Marlo database: load, convert, edit, save, load again.
class ClientDatabaseStoreTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;
    std::string m_marlo;

    static const AccountRow* rowWithKey(const WorkingSetArray& rows, const std::string& key)
    {
        for (const auto& row : rows) {
            if (row[AccountColumn::Key] == key)
                return &row;
        }
        return nullptr;
    }
    static int rowOf(const QAbstractItemModel& model, const QString& key)
    {
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.index(row, 0).data().toString() == key)
                return row;
        }
        return -1;
    }

    // The main window over the real store, started on the database the settings name.
    struct StartedWindow {
        ProgramState state;
        ClientDatabaseStore store{ZELVAN_SOURCE_DIR "/data/"};
        test::FakeDatabaseChooser chooser;
        test::ScriptedUserInterface ui;
        FormAdressen window{state, FormAdressenServices{store, chooser, ui, ZELVAN_SOURCE_DIR "/data/"}};
        StartedWindow()
        {
            window.show();
            window.Form_Activate();
        }
        AccountGrid& grid() { return *window.findChild<AccountGrid*>(QStringLiteral("TDBGrid1")); }
        QPushButton& command(int index)
        {
            return *window.findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(index));
        }
        // The BIC cell of the customer with the key, as the grid shows it.
        QModelIndex bicOf(const QString& key)
        {
            const QAbstractItemModel& model = *grid().model();
            return model.index(rowOf(model, key), static_cast<int>(AccountColumn::Bic));
        }
        // Typed by hand into the BIC cell of the customer with the key, and committed.
        void typeBic(const QString& key, const char* text)
        {
            grid().setFocus();
            grid().setCurrentIndex(bicOf(key));
            QTest::keyClick(&grid(), text[0]);
            QTest::keyClicks(grid().indexWidget(grid().currentIndex()), text + 1);
            grid().commitPendingEdit();
        }
    };

    // Runs the statement on the Marlo database through a connection of its own.
    bool changedByAnotherProgram(const char* statement) const
    {
        sqlite3* other = nullptr;
        const bool done = sqlite3_open(m_marlo.c_str(), &other) == SQLITE_OK &&
                          sqlite3_exec(other, statement, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(other);
        return done;
    }

    std::size_t copiesBesideMarlo() const
    {
        std::error_code ec;
        std::size_t count = 0;
        for (auto it = fs::directory_iterator(m_dir.path() / "Sicherung_ZELVAN", ec);
             !ec && it != fs::directory_iterator(); ++it)
            count += it->path().extension() == ".sha256" ? 0u : 1u;
        return count;
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString((m_dir.path() / "config").string()));
        m_marlo = (m_dir.path() / demo::kMarloFile).string();
        QCOMPARE(demo::writeMarloDatabase(m_marlo, {}), std::string());
        QSettings settings((m_dir.path() / "config" / "Zelvan Konverter.ini").string().c_str(), QSettings::IniFormat);
        settings.setValue("Einstellungen/AktuelleKonvertierDatei", QString::fromStdString(m_marlo));
        settings.setValue("Einstellungen/AktuellesKonvertierformat", "1");
        settings.setValue("Einstellungen/EingabeIBANFreigeben", "1");
        settings.sync();
    }

    void load_convert_edit_save_and_load_again()
    {
        StartedWindow started;
        FormAdressen& window = started.window;
        const ProgramState& state = started.state;
        QCOMPARE(state.tableName, std::string("Personenkonten"));
        const QAbstractItemModel& model = *started.grid().model();
        QVERIFY(model.flags(started.bicOf(QStringLiteral("10000"))) & Qt::ItemIsEditable);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

        started.command(FormAdressen::IbanBicEinsetzen).click();
        const std::string iban = (*rowWithKey(window.rows(), "10000"))[AccountColumn::Iban];
        QVERIFY(iban.starts_with("DE") && iban.size() == 22);
        // A hand-made correction in another row.
        started.typeBic(QStringLiteral("10010"), "XYZDDEFFXXX");

        started.ui.messages.clear();
        started.command(FormAdressen::DatenSpeichern).click();
        // The summary names the copy the open made before it added the fields.
        QVERIFY(started.ui.messages.back().text.find("\r\nSicherungskopie: " + state.backups.copies().at(0)) !=
                std::string::npos);
        QVERIFY(!started.command(FormAdressen::DatenSpeichern).isEnabled());

        started.command(FormAdressen::DatenNeuEinlesen).click();
        QCOMPARE((*rowWithKey(window.rows(), "10000"))[AccountColumn::Iban], iban);
        QCOMPARE((*rowWithKey(window.rows(), "10010"))[AccountColumn::Bic], std::string("XYZDDEFFXXX"));
        QCOMPARE(started.bicOf(QStringLiteral("10010")).data().toString(), QStringLiteral("XYZDDEFFXXX"));

        // The open added the fields: the file was copied before, once, and not again by the save.
        QCOMPARE(state.backups.copies().size(), std::size_t{1});
        QCOMPARE(copiesBesideMarlo(), std::size_t{1});

        started.command(FormAdressen::Ende).click();
        QVERIFY(!window.isVisible());
        QVERIFY(!state.database.isOpen());
    }

    // Another program changes a record while the window holds it: the save leaves that record
    // alone, the typed value stays in the grid, and "Daten speichern" stays enabled.
    void a_record_changed_by_another_program_keeps_what_was_typed()
    {
        StartedWindow started;
        test::ScriptedUserInterface& ui = started.ui;
        QPushButton* save = &started.command(FormAdressen::DatenSpeichern);
        started.command(FormAdressen::IbanBicEinsetzen).click();
        started.typeBic(QStringLiteral("10010"), "QRSDDEFFXXX");

        QVERIFY(changedByAnotherProgram("UPDATE Personenkonten SET BankKontoNr = '5555' WHERE OPKontoNr = 10010"));

        // Twice: the second save does not take the first one's records for changes by another program.
        for (int attempt = 0; attempt < 2; ++attempt) {
            ui.messages.clear();
            save->click();
            QCOMPARE(ui.messages.size(), std::size_t{1});
            const auto& summary = ui.messages.back().text;
            QVERIFY2(summary.ends_with("\r\nDavon nicht gespeichert: 1\r\n10010: inzwischen von einem anderen "
                                       "Programm geändert"),
                     summary.c_str());
            QVERIFY(save->isEnabled());
            QCOMPARE(started.bicOf(QStringLiteral("10010")).data().toString(), QStringLiteral("QRSDDEFFXXX"));
        }
        // A new session: the fields are there, so the first save copies the file; the second does not.
        QCOMPARE(started.state.backups.copies().size(), std::size_t{1});
        QCOMPARE(copiesBesideMarlo(), std::size_t{2});
    }

    // The way back from the window: the copy this session's save made goes back, chosen and
    // confirmed, and the grid shows its rows again.
    void a_copy_chosen_and_confirmed_goes_back_and_the_grid_shows_its_rows()
    {
        StartedWindow started;
        FormAdressen& window = started.window;
        test::ScriptedUserInterface& ui = started.ui;
        const std::size_t rows = window.rows().size();
        started.command(FormAdressen::IbanBicEinsetzen).click();
        started.command(FormAdressen::DatenSpeichern).click();
        QCOMPARE(started.state.backups.copies().size(), std::size_t{1});

        QVERIFY(changedByAnotherProgram("DELETE FROM Personenkonten WHERE OPKontoNr = 10010"));
        started.command(FormAdressen::DatenNeuEinlesen).click();
        QCOMPARE(window.rows().size(), rows - 1);

        // The newest copy stands first in the choice.
        QTimer::singleShot(0, [] { qobject_cast<QInputDialog*>(QApplication::activeModalWidget())->accept(); });
        ui.messages.clear();
        ui.answers.push_back(MessageAnswer::Yes);
        window.findChild<QAction*>(QStringLiteral("Aktion_SicherungZurueckspielen"))->trigger();
        QVERIFY(ui.messages.at(0).text.starts_with("Die Sicherungskopie vom "));
        QCOMPARE(window.rows().size(), rows);
        QVERIFY(rowWithKey(window.rows(), "10010"));
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::ClientDatabaseStoreTest)
#include "ClientDatabaseStoreTest.moc"
