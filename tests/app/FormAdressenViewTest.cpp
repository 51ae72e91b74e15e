#include "app/FormAdressen.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "app/AccountGrid.h"
#include "app/ClientDatabaseStore.h"
#include "gui/FakeWorkingSetStore.h"
#include "gui/GuiTestDoubles.h"
#include "support/TempDir.h"

namespace zelvan {

// What the main window shows while filtering, finding and refusing input, and a chosen file that
// is no database.
class FormAdressenViewTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;
    std::string m_marlo;
    ProgramState m_state;
    test::FakeWorkingSetStore m_store;
    test::FakeDatabaseChooser m_chooser;
    test::ScriptedUserInterface m_ui;
    std::unique_ptr<FormAdressen> m_window;

    // Where the program keeps its settings.
    static QSettings stored() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "Zelvan Konverter"); }
    FormAdressen& start(WorkingSetStore& store, ClientFormat format, const std::string& path)
    {
        QSettings settings = stored();
        settings.setValue(QStringLiteral("Einstellungen/AktuelleKonvertierDatei"), QString::fromStdString(path));
        settings.setValue(QStringLiteral("Einstellungen/AktuellesKonvertierformat"), static_cast<int>(format));
        settings.sync();
        m_window = std::make_unique<FormAdressen>(
            m_state, FormAdressenServices{store, m_chooser, m_ui, ZELVAN_SOURCE_DIR "/data/"});
        m_window->show();
        m_window->Form_Activate();
        m_ui.messages.clear();
        return *m_window;
    }
    AccountGrid* grid() const { return m_window->findChild<AccountGrid*>(QStringLiteral("TDBGrid1")); }
    QCheckBox* onlyHinted() const { return m_window->findChild<QCheckBox*>(QStringLiteral("NurZeilenMitHinweis")); }
    void find(const char* text)
    {
        QTest::keyClick(grid(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    void focusCell(int row, int column)
    {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(row, column));
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString((m_dir.path() / "config").string()));
        m_marlo = m_dir.write("MARL001.MDB", "x");
    }
    void init()
    {
        m_state = ProgramState{};
        m_store.samples = test::FakeWorkingSetStore{}.samples;
        m_store.samples[1][6] = "3-BLZ ist nicht im Bundesbank-Bestand";
        m_ui = {};
        m_chooser = {};
    }
    void cleanup() { m_window.reset(); }

    void the_filter_says_how_many_rows_it_shows()
    {
        start(m_store, ClientFormat::MarloOp, m_marlo);
        onlyHinted()->click();
        QVERIFY(m_window->hintCounts().endsWith(QStringLiteral("   1 von 3 Zeilen angezeigt")));
        onlyHinted()->click();
        QVERIFY(!m_window->hintCounts().contains(QStringLiteral("angezeigt")));
    }

    void find_offers_to_switch_the_filter_off_for_a_hidden_row()
    {
        start(m_store, ClientFormat::MarloOp, m_marlo);
        onlyHinted()->click();
        focusCell(0, 0);
        m_ui.answers = {MessageAnswer::No};
        find("Weber");
        QCOMPARE(m_ui.messages.size(), 1u);
        QCOMPARE(m_ui.messages[0].text, std::string("Die Zeile ist ausgeblendet. Filter ausschalten?"));
        QVERIFY(onlyHinted()->isChecked());
        m_ui.answers = {MessageAnswer::Yes};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!onlyHinted()->isChecked());
        QCOMPARE(grid()->currentIndex().data().toString(), QStringLiteral("10002"));
    }

    void typing_on_a_cell_without_input_stays_on_its_row()
    {
        start(m_store, ClientFormat::MarloOp, m_marlo);
        focusCell(0, 0);
        QTest::keyClicks(grid(), "10002");
        QCOMPARE(grid()->currentIndex().row(), 0);
    }

    void a_locked_blz_or_account_says_why_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("status");
        const QString locked(
            "BLZ und Kontonummer sind erst mit „IBAN / BIC für manuelle Eingaben freigeben“ änderbar.");
        QTest::newRow("Marlo, eine Ziffer") << 1 << int(Qt::Key_1) << locked;
        QTest::newRow("Marlo, F2") << 1 << int(Qt::Key_F2) << locked;
        QTest::newRow("Galdo") << 4 << int(Qt::Key_1)
                               << QStringLiteral("In Galdo werden BLZ und Kontonummer im Galdo-Programm geändert.");
    }
    void a_locked_blz_or_account_says_why()
    {
        QFETCH(int, format);
        QFETCH(int, key);
        QFETCH(QString, status);
        start(m_store, static_cast<ClientFormat>(format), m_marlo);
        focusCell(0, static_cast<int>(AccountColumn::Account));
        QTest::keyClick(grid(), static_cast<Qt::Key>(key));
        QCOMPARE(m_window->statusText(), status);
        QVERIFY(!grid()->isEditing());
    }

    void ctrl_a_in_an_editor_selects_its_text_only()
    {
        stored().setValue(QStringLiteral("Einstellungen/EingabeIBANFreigeben"), QStringLiteral("1"));
        start(m_store, ClientFormat::MarloOp, m_marlo);
        stored().remove(QStringLiteral("Einstellungen/EingabeIBANFreigeben"));
        focusCell(0, static_cast<int>(AccountColumn::Blz));
        QTest::keyClick(grid(), Qt::Key_F2);
        // The keys the editor leaves to the grid reach it while the cell is open.
        QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->selectedText(), QStringLiteral("37040044"));
        QCOMPARE(grid()->selectionModel()->selectedIndexes().size(), 1);
    }

    void galdo_counts_the_employees_without_an_account()
    {
        start(m_store, ClientFormat::Galdo, m_marlo);
        QVERIFY(m_window->hintCounts().endsWith(QStringLiteral("   Ohne Kontonummer: 1")));
    }

    void the_conversion_shows_each_hint_number_at_once()
    {
        start(m_store, ClientFormat::MarloOp, m_marlo);
        m_window->Command1_Click(FormAdressen::IbanBicEinsetzen);
        QCOMPARE(m_window->rows()[1][AccountColumn::HintNumber], std::string("5"));
    }

    void a_file_that_is_no_database_is_named_once_and_not_kept()
    {
        const std::string bad = m_dir.write("MARL002.MDB", "kein SQLite, nur Text");
        ClientDatabaseStore store(ZELVAN_SOURCE_DIR "/data/");
        start(store, ClientFormat::MarloOp, "");
        m_chooser.next = DatabaseChoice{ClientFormat::MarloOp, bad};
        m_window->Command1_Click(FormAdressen::Auswaehlen);
        QCOMPARE(m_ui.messages.size(), 1u);
        QVERIFY(m_ui.messages[0].text.starts_with("Fehler beim Öffnen der Haupt-Datenbank"));
        QVERIFY(!m_window->formatFileLine().contains(QStringLiteral("MARL002")));
        QVERIFY(!m_window->findChild<QPushButton*>(QStringLiteral("Command1_0"))->isEnabled());
        m_window->Command1_Click(FormAdressen::Ende);
        QCOMPARE(stored().value(QStringLiteral("Einstellungen/AktuelleKonvertierDatei")).toString(), QString());
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::FormAdressenViewTest)
#include "FormAdressenViewTest.moc"
