#include "app/ClientDatabaseStore.h"

#include <QPushButton>
#include <QSettings>
#include <QTest>

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
    static int columnOf(const QAbstractItemModel& model, const QString& heading)
    {
        for (int column = 0; column < model.columnCount(); ++column) {
            if (model.headerData(column, Qt::Horizontal).toString() == heading)
                return column;
        }
        return -1;
    }
    static int rowOf(const QAbstractItemModel& model, const QString& key)
    {
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.index(row, 0).data().toString() == key)
                return row;
        }
        return -1;
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
        ProgramState state;
        ClientDatabaseStore store(ZELVAN_SOURCE_DIR "/data/");
        test::FakeDatabaseChooser chooser;
        test::ScriptedUserInterface ui;
        FormAdressen window(state, FormAdressenServices{store, chooser, ui, ZELVAN_SOURCE_DIR "/data/"});
        window.show();
        window.Form_Activate();

        QCOMPARE(state.tableName, std::string("Personenkonten"));
        QVERIFY(window.rows().size() >= 5);
        QVERIFY(window.gridCaption().startsWith(QStringLiteral("Anzahl Datensätze: ")));
        const auto* grid = window.findChild<AccountGrid*>(QStringLiteral("TDBGrid1"));
        const QAbstractItemModel& model = *grid->model();
        const int ibanColumn = columnOf(model, QStringLiteral("BankIBAN"));
        const int bicColumn = columnOf(model, QStringLiteral("BankBIC"));
        QVERIFY(ibanColumn >= 0 && bicColumn >= 0);
        QVERIFY(model.flags(model.index(0, ibanColumn)) & Qt::ItemIsEditable);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

        window.findChild<QPushButton*>(QStringLiteral("Command1_1"))->click(); // IBAN / BIC einsetzen
        const AccountRow* converted = rowWithKey(window.rows(), "10000");
        QVERIFY(converted);
        const std::string iban = (*converted)[AccountColumn::Iban];
        QVERIFY(iban.starts_with("DE") && iban.size() == 22);
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("Command1_2"))->isEnabled());

        // A hand-made correction in another row.
        auto* editableGrid = window.findChild<AccountGrid*>(QStringLiteral("TDBGrid1"));
        const int row = rowOf(model, QStringLiteral("10010"));
        QVERIFY(row >= 0);
        editableGrid->setFocus();
        editableGrid->setCurrentIndex(model.index(row, bicColumn));
        QTest::keyClick(editableGrid, 'X');
        auto* editor = editableGrid->indexWidget(editableGrid->currentIndex());
        QVERIFY(editor);
        QTest::keyClicks(editor, "YZDEFFXXX");
        editableGrid->commitPendingEdit();

        ui.messages.clear();
        window.findChild<QPushButton*>(QStringLiteral("Command1_2"))->click(); // Daten speichern
        QVERIFY(!ui.messages.empty());                                         // the summary
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("Command1_2"))->isEnabled());

        window.findChild<QPushButton*>(QStringLiteral("Command1_0"))->click(); // Daten neu einlesen
        const AccountRow* reloaded = rowWithKey(window.rows(), "10000");
        QVERIFY(reloaded);
        QCOMPARE((*reloaded)[AccountColumn::Iban], iban);
        const AccountRow* edited = rowWithKey(window.rows(), "10010");
        QVERIFY(edited);
        QCOMPARE((*edited)[AccountColumn::Bic], std::string("XYZDEFFXXX"));
        QCOMPARE(model.index(rowOf(model, QStringLiteral("10010")), bicColumn).data().toString(),
                 QStringLiteral("XYZDEFFXXX"));

        window.findChild<QPushButton*>(QStringLiteral("Command1_3"))->click(); // Ende
        QVERIFY(!window.isVisible());
        QVERIFY(!state.database.isOpen());
    }

    void a_failed_save_keeps_daten_speichern_enabled()
    {
        ProgramState state;
        test::FakeWorkingSetStore store;
        store.saveSucceeds = false;
        test::FakeDatabaseChooser chooser;
        test::ScriptedUserInterface ui;
        FormAdressen window(state, FormAdressenServices{store, chooser, ui, ZELVAN_SOURCE_DIR "/data/"});
        window.show();
        window.Form_Activate();
        auto* save = window.findChild<QPushButton*>(QStringLiteral("Command1_2"));
        window.findChild<QPushButton*>(QStringLiteral("Command1_1"))->click();
        save->click();
        QVERIFY(save->isEnabled());
        store.saveSucceeds = true;
        save->click();
        QVERIFY(!save->isEnabled());
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::ClientDatabaseStoreTest)
#include "ClientDatabaseStoreTest.moc"
