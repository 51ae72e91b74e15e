#include "app/FormAdressen.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>

#include "app/AccountGrid.h"
#include "app/ClientDatabaseStore.h"
#include "app/FormatLine.h"
#include "app/SortMenu.h"
#include "gui/AccessKeys.h"
#include "gui/CellToolTip.h"
#include "gui/FakeWorkingSetStore.h"
#include "gui/GuiTestDoubles.h"
#include "iban/ConversionHint.h"
#include "support/TempDir.h"
#include "widgets/HelpWindow.h"

namespace zelvan {

namespace fs = std::filesystem;

// After a conversion of the store's sample rows and one more, with the bundled bank-code file:
// hint 5 (no BLZ) and hint 3 (unknown BLZ) are errors, hint 101 (Müller) a conversion hint.
constexpr int kErrorsAfterConversion = 2;
constexpr int kConversionHintsAfterConversion = 1;
constexpr const char* kRealBankFile = ZELVAN_SOURCE_DIR "/../shared/bankdata/bundesbank-format-20201207.txt";

class FormAdressenTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;
    std::string m_marlo;
    std::string m_galdo;
    ProgramState m_state;
    test::FakeWorkingSetStore m_store;
    test::FakeDatabaseChooser m_chooser;
    test::ScriptedUserInterface m_ui;
    std::unique_ptr<FormAdressen> m_window;
    std::string m_programFolder = ZELVAN_SOURCE_DIR "/data/";
    // The messages of the last start-up; start() takes them out of m_ui.
    std::vector<MessageRequest> m_startupMessages;

    QString settingsFile() const
    {
        return QString::fromStdString((m_dir.path() / "config" / "Zelvan Konverter.ini").string());
    }
    QSettings stored() const { return QSettings(settingsFile(), QSettings::IniFormat); }
    void store(const QString& key, const QString& value)
    {
        QSettings settings = stored();
        settings.setValue(QStringLiteral("Einstellungen/") + key, value);
        settings.sync();
    }
    QString storedValue(const QString& key) const
    {
        return stored().value(QStringLiteral("Einstellungen/") + key).toString();
    }

    FormAdressen& open()
    {
        m_window =
            std::make_unique<FormAdressen>(m_state, FormAdressenServices{m_store, m_chooser, m_ui, m_programFolder});
        return *m_window;
    }
    FormAdressen& start()
    {
        open();
        m_window->show();
        m_window->Form_Activate();
        m_startupMessages = std::move(m_ui.messages);
        m_ui.messages.clear();
        return *m_window;
    }
    QString modified(const std::string& path) const
    {
        return QFileInfo(QString::fromStdString(path)).lastModified().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    }
    QPushButton* command(int index) const
    {
        return m_window->findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(index));
    }
    QCheckBox* check(int index) const
    {
        return m_window->findChild<QCheckBox*>(QStringLiteral("Check1_%1").arg(index));
    }
    QComboBox* combo() const { return m_window->findChild<QComboBox*>(QStringLiteral("Combo1")); }
    AccountGrid* grid() const { return m_window->findChild<AccountGrid*>(QStringLiteral("TDBGrid1")); }
    QCheckBox* onlyHinted() const { return m_window->findChild<QCheckBox*>(QStringLiteral("NurZeilenMitHinweis")); }
    QLineEdit* findField() const { return m_window->findChild<QLineEdit*>(QStringLiteral("Suchfeld")); }
    QStringList keysShown() const
    {
        QStringList keys;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            keys << grid()->model()->index(row, 0).data().toString();
        return keys;
    }
    void activate()
    {
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    bool saveEnabled() const { return command(FormAdressen::DatenSpeichern)->isEnabled(); }
    void startOn(ClientFormat format, const std::string& path)
    {
        m_state.format = format;
        store(QStringLiteral("AktuelleKonvertierDatei"), QString::fromStdString(path));
        store(QStringLiteral("AktuellesKonvertierformat"), QString::number(static_cast<int>(format)));
        start();
    }
    void startOnMarlo() { startOn(ClientFormat::MarloOp, m_marlo); }
    void find(const char* text)
    {
        QTest::keyClick(grid(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    void focusCell(int row, int column)
    {
        activate();
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(row, column));
    }
    void makeUnsaved() { command(FormAdressen::IbanBicEinsetzen)->click(); }
    // Frees the bank columns, starts on Marlo and types into the cell, which stays open for input.
    void typeIntoOpenCell(int row, int column, const char* text)
    {
        store("EingabeIBANFreigeben", "1");
        startOnMarlo();
        focusCell(row, column);
        QTest::keyClick(grid(), text[0]);
        QVERIFY(grid()->isEditing());
        QTest::keyClicks(grid()->indexWidget(grid()->currentIndex()), text + 1);
    }
    void withUnknownBlz() { m_store.samples[1][6] = "3-BLZ ist nicht im Bundesbank-Bestand"; }
    // What the last command did: closed the window, chose a database, called the store, or converted.
    QString effectShown() const
    {
        if (!m_window->isVisible())
            return QStringLiteral("geschlossen");
        if (!m_chooser.starts.empty())
            return QStringLiteral("ausgewählt");
        if (!m_store.calls.empty())
            return QString::fromStdString(m_store.calls.back()).section(QLatin1Char(' '), 0, 0);
        return QString::fromStdString(m_window->rows()[0][AccountColumn::Iban]);
    }
    std::size_t countOf(const std::string& prefix) const
    {
        return static_cast<std::size_t>(std::count_if(m_store.calls.begin(), m_store.calls.end(),
                                                      [&](const std::string& c) { return c.starts_with(prefix); }));
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString((m_dir.path() / "config").string()));
        m_marlo = m_dir.write("MARL001.MDB", "x");
        m_galdo = m_dir.write("GALD001.MDB", "x");
    }
    void init()
    {
        fs::remove(settingsFile().toStdString());
        m_state = ProgramState{};
        // Every test starts from the store's own sample rows.
        m_store.calls.clear();
        m_store.samples = test::FakeWorkingSetStore{}.samples;
        m_store.onLoad = nullptr;
        m_store.saved.clear();
        m_store.saveSucceeds = true;
        m_chooser = {};
        m_ui = {};
        m_programFolder = ZELVAN_SOURCE_DIR "/data/";
        m_startupMessages.clear();
    }
    void cleanup() { m_window.reset(); }

    void the_bank_code_file_is_named_in_the_tooltip_and_refused_when_missing_data()
    {
        QTest::addColumn<QString>("file"); // the bundled sample, the Bundesbank's file, or none at all
        QTest::newRow("Beispiel") << "sample";
        QTest::newRow("Bundesbank") << "real";
        QTest::newRow("fehlt") << QString();
    }

    void the_bank_code_file_is_named_in_the_tooltip_and_refused_when_missing()
    {
        QFETCH(QString, file);
        test::TempDir folder;
        if (file != "sample")
            m_programFolder = folder.path().string() + "/";
        const std::string path = m_programFolder + "ZELVANBLZ4.txt";
        if (file == "real")
            fs::create_symlink(fs::absolute(kRealBankFile), path);
        startOnMarlo();
        FormAdressen& window = *m_window;
        const int banks = window.bankDirectory().Count();
        QCOMPARE(window.statusText(), QString::fromStdString("BLZ-Bestand eingelesen.  Anzahl BLZ: " +
                                                             std::to_string(banks) + "  BLZ-Datei: " + path));
        const QString named = window.formatFileLine() + QStringLiteral("\n\nBLZ-Datei: %1\ngeändert am %2, %3 Banken")
                                                            .arg(QString::fromStdString(path), modified(path))
                                                            .arg(banks);
        if (file == "real") {
            QVERIFY(m_startupMessages.empty());
            QCOMPARE(window.sampleNote(), QString());
            QCOMPARE(window.formatFileLineToolTip(), named);
            QCOMPARE(banks, 3571);
        } else if (file == "sample") {
            // Announced once, noted beside the format line; the conversion then says nothing more.
            const std::string notice = "Beispiel-BLZ-Datei: Banknamen und BICs sind erfunden.";
            QCOMPARE(m_startupMessages.size(), 1u);
            QCOMPARE(m_startupMessages[0].text, notice);
            QCOMPARE(m_startupMessages[0].icon, MessageIcon::Information);
            QCOMPARE(window.sampleNote(), QString::fromStdString(notice));
            QCOMPARE(window.formatFileLineToolTip(), named + "\n" + QString::fromStdString(notice));
            makeUnsaved();
            QVERIFY(m_ui.messages.empty());
            QVERIFY(saveEnabled());
        } else {
            const std::string message = "Die BLZ-Datei kann nicht gelesen werden. Die Datei \"" + path +
                                        "\" wurde nicht gefunden. Die BLZ-Datei der Bundesbank mit IBAN-Regeln gehört "
                                        "als \"ZELVANBLZ4.txt\" in den Programmordner \"" +
                                        m_programFolder + "\".";
            QCOMPARE(m_startupMessages.size(), 1u);
            QCOMPARE(m_startupMessages[0].text, message);
            QCOMPARE(m_startupMessages[0].icon, MessageIcon::Critical);
            QCOMPARE(banks, 0);
            QCOMPARE(window.formatFileLineToolTip(),
                     window.formatFileLine() + QString::fromStdString("\n\nKeine BLZ-Datei eingelesen. " + message));
            // "IBAN / BIC einsetzen" answers with the same message and leaves every row as it was.
            makeUnsaved();
            QCOMPARE(m_ui.messages.size(), 1u);
            QCOMPARE(m_ui.messages[0].text, message);
            QCOMPARE(window.rows()[2][AccountColumn::Hint], std::string());
            QVERIFY(!saveEnabled());
        }
    }

    void first_start_without_settings_offers_convert_and_save_only_once_a_database_is_loaded()
    {
        FormAdressen& window = open();
        QCOMPARE(window.windowTitle(), QStringLiteral("IBAN-Konverter für Orvia-Programme"));
        QCOMPARE(window.formatFileLine(), QString::fromUtf8(kNoDatabaseChosen.data()));
        // The designed size, centred.
        QCOMPARE(window.width(), int(12885.0 / (1440.0 / window.logicalDpiX())));
        QCOMPARE(window.x(), (window.screen()->geometry().width() - window.width()) / 2);
        QVERIFY(!window.startupDone());

        window.show();
        window.Form_Activate();
        m_ui.messages.clear(); // the note on the sample bank-code file
        QVERIFY(window.startupDone());
        QCOMPARE(m_store.calls, (std::vector<std::string>{"load hide=0 free=0 festabzug=0"}));
        // A second activation does not run the sequence again.
        window.Form_Activate();
        QCOMPARE(countOf("load"), 1u);

        QVERIFY(!command(FormAdressen::IbanBicEinsetzen)->isEnabled());
        // Called as a click would be: nothing happens, nothing is offered for saving.
        window.Command1_Click(FormAdressen::IbanBicEinsetzen);
        QVERIFY(m_ui.messages.empty());
        QVERIFY(!saveEnabled());

        m_chooser.next = DatabaseChoice{ClientFormat::MarloOp, m_marlo};
        command(FormAdressen::Auswaehlen)->click();
        QVERIFY(command(FormAdressen::IbanBicEinsetzen)->isEnabled());
        makeUnsaved();
        QVERIFY(saveEnabled());

        // A database that is gone: nothing loaded, nothing to convert, nothing to save.
        m_chooser.next = DatabaseChoice{ClientFormat::MarloOp, "/gibt/es/nicht/MARL001.MDB"};
        m_ui.answers = {MessageAnswer::No};
        command(FormAdressen::Auswaehlen)->click();
        QCOMPARE(window.formatFileLine(), QString::fromUtf8(kNoDatabaseChosen.data()));
        QCOMPARE(countOf("load"), 3u);
        QVERIFY(!command(FormAdressen::IbanBicEinsetzen)->isEnabled());
        QVERIFY(!saveEnabled());
    }

    void start_with_stored_settings_restores_them_and_writes_them_back()
    {
        // Each as stored is written back at the end.
        const std::pair<QString, QString> kept[] = {{"AktuelleKonvertierDatei", QString::fromStdString(m_marlo)},
                                                    {"AktuelleKonvertierTabelle", "Personenkonten"},
                                                    {"AktuellesKonvertierformat", "1"},
                                                    {"ProtokollAusgabe", "2"},
                                                    {"DatenIBANVorhAusblenden", "1"},
                                                    {"EingabeIBANFreigeben", "1"},
                                                    {"BankBezeichnungSchreiben", "0"},
                                                    {"State", "0"}};
        for (const auto& [key, value] : kept)
            store(key, value);
        store("Top", "1500");
        store("Left", "3000");
        store("Height", "7500");
        store("Width", "14400");
        FormAdressen& window = start();

        QCOMPARE(m_state.tableName, std::string("Personenkonten"));
        QCOMPARE(window.formatFileLine(), QString::fromStdString("Format: Marlo  Datei: " + m_marlo));
        QCOMPARE(combo()->currentText(), QStringLiteral("Alle Daten"));
        QVERIFY(check(0)->isChecked() && check(1)->isChecked() && !check(2)->isChecked());
        const double twips = 1440.0 / window.logicalDpiY();
        QCOMPARE(window.geometry(),
                 QRect(qRound(3000 / twips), qRound(1500 / twips), qRound(14400 / twips), qRound(7500 / twips)));
        QCOMPARE(m_store.calls.front(), std::string("load hide=1 free=1 festabzug=0"));
        QCOMPARE(window.rows().size(), 3u);
        makeUnsaved();
        command(FormAdressen::DatenSpeichern)->click(); // with the protocol option as chosen
        QCOMPARE(m_store.calls.back(), std::string("save protocol=2"));

        command(FormAdressen::Ende)->click();
        QVERIFY(!window.isVisible());
        for (const auto& [key, value] : kept)
            QCOMPARE(storedValue(key), value);
        QCOMPARE(storedValue("Top"), QString::number(qRound(1500 / twips) * twips, 'g', 15));
        QCOMPARE(m_store.calls.back(), std::string("close"));
    }

    void unusable_settings_leave_their_targets_unchanged()
    {
        store("AktuellesKonvertierformat", "abc");
        store("ProtokollAusgabe", "7");
        store("DatenIBANVorhAusblenden", "ja");
        store("AktuelleKonvertierDatei", "/gibt/es/nicht/MARL001.MDB");
        store("State", "1");
        store("Top", "1500");
        FormAdressen& window = start();
        QCOMPARE(m_state.format, ClientFormat::None);
        QCOMPARE(combo()->currentIndex(), 0);
        QVERIFY(!check(0)->isChecked());
        QCOMPARE(window.formatFileLine(), QString::fromUtf8(kNoDatabaseChosen.data()));
        const QRect screen = window.screen()->geometry();
        QCOMPARE(window.y(), (screen.height() - window.height()) / 2); // closed minimised: centred
        window.Command1_Click(FormAdressen::Ende);
        QCOMPARE(storedValue("AktuellesKonvertierformat"), QStringLiteral("0"));
        QCOMPARE(storedValue("AktuelleKonvertierDatei"), QStringLiteral("/gibt/es/nicht/MARL001.MDB"));
    }

    void save_question_on_every_path_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("after");
        const auto yes = int(MessageAnswer::Yes);
        const auto no = int(MessageAnswer::No);
        const auto cancel = int(MessageAnswer::Cancel);
        QTest::newRow("neu einlesen, Nein") << int(FormAdressen::DatenNeuEinlesen) << no << "load";
        QTest::newRow("neu einlesen, Abbrechen") << int(FormAdressen::DatenNeuEinlesen) << cancel << "";
        QTest::newRow("Ende, Ja") << int(FormAdressen::Ende) << yes << "save,close";
        QTest::newRow("Ende, Nein") << int(FormAdressen::Ende) << no << "close";
        QTest::newRow("Ende, Abbrechen") << int(FormAdressen::Ende) << cancel << "";
        QTest::newRow("Auswählen, Nein") << int(FormAdressen::Auswaehlen) << no << "load";
        QTest::newRow("Auswählen, Abbrechen") << int(FormAdressen::Auswaehlen) << cancel << "";
        QTest::newRow("Schließfeld, Nein") << -1 << no << "close";
        QTest::newRow("Schließfeld, Abbrechen") << -1 << cancel << "";
        QTest::newRow("IBAN ausblenden, Nein") << -3 << no << "load";
        QTest::newRow("IBAN ausblenden, Abbrechen") << -3 << cancel << "";
    }

    void save_question_on_every_path()
    {
        QFETCH(int, button);
        QFETCH(int, answer);
        QFETCH(QString, after);
        startOnMarlo();
        makeUnsaved();
        m_store.calls.clear();
        m_ui.answers = {static_cast<MessageAnswer>(answer)};

        if (button >= 0)
            command(button)->click();
        else if (button == -1)
            m_window->close();
        else
            check(0)->click();

        QCOMPARE(m_ui.messages.size(), 1u);
        const MessageRequest& question = m_ui.messages.front();
        QCOMPARE(question.text, std::string("Möchten Sie vorher die aktuellen Daten speichern?"));
        QCOMPARE(question.buttons, MessageButtons::YesNoCancel);

        QStringList calls;
        for (const auto& call : m_store.calls)
            calls << QString::fromStdString(call).section(QLatin1Char(' '), 0, 0);
        QCOMPARE(calls.join(QLatin1Char(',')), after);
        const bool closed = after.endsWith(QStringLiteral("close"));
        QCOMPARE(m_window->isVisible(), !closed);
        if (after.isEmpty()) {
            QVERIFY(saveEnabled());
            QVERIFY(!fs::exists(settingsFile().toStdString()) || storedValue("State").isEmpty());
            if (button == -3)
                QVERIFY(!check(0)->isChecked()); // back to its value before the click
        }
    }

    void check_digit_option_is_a_setting_and_refuses_wrong_check_digits()
    {
        m_store.samples[0] = {"10000", "Müller", "10020030", "1000", "", "", "", ""};
        store("KontonummerPruefen", "1");
        startOnMarlo();
        makeUnsaved();
        QCOMPARE(m_window->rows()[0][AccountColumn::Iban], std::string());
        QCOMPARE(m_window->rows()[0][AccountColumn::Hint],
                 std::string("10-Prüfziffer der Kontonummer ist falsch. Bitte die Kontonummer prüfen."));

        check(FormAdressen::KontonummerPruefen)->click();
        makeUnsaved();
        QCOMPARE(m_window->rows()[0][AccountColumn::Iban], std::string("DE74100200300000001000"));
        command(FormAdressen::DatenSpeichern)->click();
        command(FormAdressen::Ende)->click();
        QCOMPARE(storedValue("KontonummerPruefen"), QStringLiteral("0"));
    }

    void galdo_question_chooses_the_data_set_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("fixedDeductions");
        QTest::addColumn<QString>("shown"); // beside the format line
        QTest::newRow("Ja: Festabzüge") << int(MessageAnswer::Yes) << true << QStringLiteral("Festabzüge");
        QTest::newRow("Nein: Personal") << int(MessageAnswer::No) << false << QStringLiteral("Personaldaten");
    }

    void galdo_question_chooses_the_data_set()
    {
        QFETCH(int, answer);
        QFETCH(bool, fixedDeductions);
        QFETCH(QString, shown);
        start();
        m_chooser.next = DatabaseChoice{ClientFormat::Galdo, m_galdo};
        m_ui.answers = {static_cast<MessageAnswer>(answer)};
        command(FormAdressen::Auswaehlen)->click();

        QCOMPARE(m_ui.messages.size(), 1u);
        const MessageRequest& question = m_ui.messages.front();
        QCOMPARE(question.text,
                 std::string("Möchen Sie bei Galdo statt der Personaldaten die Daten für Festabzüge bearbeiten?"));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(m_state.fixedDeductions, fixedDeductions);
        QCOMPARE(m_window->formatFileLine(), QString::fromStdString("Format: Galdo  Datei: " + m_galdo));
        QCOMPARE(m_window->dataSet(), shown);
        QCOMPARE(m_store.calls.back(), "load hide=0 free=0 festabzug=" + std::to_string(int(fixedDeductions)));
        // Galdo offers neither the bank-name nor the hide option.
        QVERIFY(!check(2)->isEnabled());
        QVERIFY(!check(0)->isEnabled());
    }

    void cancelled_selection_with_galdo_asks_again_and_reloads()
    {
        startOn(ClientFormat::Galdo, m_galdo);
        QCOMPARE(m_window->dataSet(), QStringLiteral("Personaldaten"));
        m_store.calls.clear();
        m_chooser.next.reset();
        command(FormAdressen::Auswaehlen)->click();
        QCOMPARE(m_chooser.starts.size(), 1u);
        QCOMPARE(m_chooser.starts.front().format, ClientFormat::Galdo);
        QCOMPARE(m_chooser.starts.front().databasePath, m_galdo);
        QCOMPARE(m_ui.messages.size(), 1u);
        QCOMPARE(m_store.calls, (std::vector<std::string>{"load hide=0 free=0 festabzug=0"}));
    }

    void the_selection_dialog_gets_the_options_and_bank_file_for_alle_konvertieren()
    {
        // The boxes as ticked, also where the loaded database's format does not offer them.
        store("DatenIBANVorhAusblenden", "1");
        store("BankBezeichnungSchreiben", "1");
        store("KontonummerPruefen", "1");
        store("ProtokollAusgabe", "2");
        start();
        command(FormAdressen::Auswaehlen)->click();
        QCOMPARE(m_chooser.starts.size(), 1u);
        const BatchSetup& batch = m_chooser.starts.front().batch;
        QCOMPARE(batch.directory, &m_window->bankDirectory());
        QCOMPARE(batch.bankFile, m_programFolder + "ZELVANBLZ4.txt");
        QVERIFY(batch.settings.hideRowsWithIban);
        QVERIFY(batch.settings.overwriteBankName);
        QVERIFY(batch.settings.checkDigits != nullptr);
        QCOMPARE(batch.settings.protocol, ProtocolOption::AllData);
        QCOMPARE(batch.settings.programFolder, m_programFolder);

        // Boxes off: none of the options.
        for (int i : {FormAdressen::IbanAusblenden, FormAdressen::BankNameSchreiben, FormAdressen::KontonummerPruefen})
            check(i)->setChecked(false);
        combo()->setCurrentIndex(0);
        command(FormAdressen::Auswaehlen)->click();
        const ConversionSettings& off = m_chooser.starts.back().batch.settings;
        QVERIFY(!off.hideRowsWithIban);
        QVERIFY(!off.overwriteBankName);
        QVERIFY(off.checkDigits == nullptr);
        QCOMPARE(off.protocol, ProtocolOption::Off);
    }

    void conversion_before_the_bank_file_is_read_says_so()
    {
        // "IBAN / BIC einsetzen" clicked in the event turn between the load and the bank-code file.
        m_store.onLoad = [this] {
            QTimer::singleShot(0, m_window.get(), [this] { command(FormAdressen::IbanBicEinsetzen)->click(); });
        };
        startOnMarlo();
        QCOMPARE(m_startupMessages.size(), 2u);
        QCOMPARE(m_startupMessages[0].text, std::string("Der BLZ-Bestand der Bundesbank ist noch nicht eingelesen."));
        QCOMPARE(m_window->rows()[0][AccountColumn::Iban], std::string());
        QVERIFY(!saveEnabled());
    }

    void check_boxes_act_only_after_start_up()
    {
        m_state.format = ClientFormat::MarloOp;
        store(QStringLiteral("AktuelleKonvertierDatei"), QString::fromStdString(m_marlo));
        store(QStringLiteral("AktuellesKonvertierformat"), QStringLiteral("1"));
        open();
        check(0)->click();
        QVERIFY(m_store.calls.empty());
        m_window->show();
        m_window->Form_Activate();
        m_ui.messages.clear(); // the note on the sample bank-code file
        QCOMPARE(m_store.calls, (std::vector<std::string>{"load hide=1 free=0 festabzug=0"}));
        check(1)->click();
        QCOMPARE(m_store.calls.back(), std::string("bind free=1"));
        const auto before = m_store.calls.size();
        check(2)->click();
        QCOMPARE(m_store.calls.size(), before);
        QVERIFY(m_ui.messages.empty());
    }

    void conversion_commits_a_pending_edit_first()
    {
        typeIntoOpenCell(2, 3, "532013000");
        grid()->setCurrentIndex(grid()->model()->index(2, 2));
        command(FormAdressen::IbanBicEinsetzen)->click();
        QCOMPARE(m_window->rows()[2][AccountColumn::Account], std::string("532013000"));
    }

    void close_box_with_a_cell_open_for_input_asks_the_save_question()
    {
        typeIntoOpenCell(1, 2, "1");
        m_ui.answers = {MessageAnswer::Yes};
        m_window->close();
        QCOMPARE(m_ui.messages.size(), 1u);
        QCOMPARE(m_store.saved.at(1)[AccountColumn::Blz], std::string("1"));
        QVERIFY(!m_window->isVisible());
    }

    void destroying_the_window_with_a_cell_open_for_input_is_safe()
    {
        typeIntoOpenCell(1, 2, "1");
        m_window.reset();
    }

    void every_button_and_check_box_has_its_own_access_key()
    {
        startOnMarlo();
        const test::AccessKeys keys = test::accessKeysIn(*m_window);
        QCOMPARE(keys.withoutKey, QStringList());
        QCOMPARE(keys.duplicates(), QStringList());
        // Five buttons, five check boxes, the protocol list, the search field and the menu titles.
        QCOMPARE(keys.keys.size(), 16);
    }

    void each_menu_key_does_what_its_button_does_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("effect");
        QTest::newRow("Daten neu einlesen") << 0 << QStringLiteral("F5") << "load";
        QTest::newRow("IBAN / BIC einsetzen") << 1 << QStringLiteral("Ctrl+I") << "DE89370400440532013000";
        QTest::newRow("Daten speichern") << 2 << QStringLiteral("Ctrl+S") << "save";
        QTest::newRow("Beenden") << 3 << QStringLiteral("Ctrl+Q") << "geschlossen";
        QTest::newRow("Datenbank auswählen") << 4 << QStringLiteral("Ctrl+O") << "ausgewählt";
    }
    void each_menu_key_does_what_its_button_does()
    {
        QFETCH(int, index);
        QFETCH(QString, key);
        QFETCH(QString, effect);
        startOnMarlo();
        activate();
        m_store.calls.clear();
        auto* action = m_window->findChild<QAction*>(QStringLiteral("Aktion_%1").arg(index));
        if (index == FormAdressen::DatenSpeichern) {
            // Disabled with its button, and its key then does nothing.
            QVERIFY(!action->isEnabled());
            QTest::keySequence(m_window.get(), QKeySequence(key));
            QVERIFY(m_store.calls.empty());
            command(index)->setEnabled(true);
        }
        QVERIFY(action->isEnabled());
        QTest::keySequence(m_window.get(), QKeySequence(key));
        QCOMPARE(effectShown(), effect);
    }

    void tab_moves_through_the_cells_and_ctrl_tab_out_of_the_grid()
    {
        // From a cell open for input: the edit is committed and the focus goes on to the first button.
        typeIntoOpenCell(1, 2, "1");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(!grid()->isEditing());
        QCOMPARE(m_window->rows()[1][AccountColumn::Blz], std::string("1"));
        QVERIFY(saveEnabled());
        QCOMPARE(QApplication::focusWidget(), command(FormAdressen::DatenNeuEinlesen));

        // Backwards: the control before the grid, from the grid and from an open editor.
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), onlyHinted());
        grid()->setFocus();
        QTest::keyClick(grid(), '4');
        QVERIFY(grid()->isEditing());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), onlyHinted());
        QCOMPARE(m_window->rows()[1][AccountColumn::Blz], std::string("4"));
    }

    void hint_counts_and_the_shown_rows_stand_beside_the_row_count()
    {
        withUnknownBlz();
        startOnMarlo();
        QCOMPARE(m_window->gridCaption(), QStringLiteral("Anzahl Datensätze: 3"));
        QCOMPARE(m_window->hintCounts(), QStringLiteral("Fehlerhinweise: 1   Konvertierhinweise: 0"));
        onlyHinted()->click();
        QCOMPARE(m_window->hintCounts(),
                 QStringLiteral("Fehlerhinweise: 1   Konvertierhinweise: 0   1 von 3 Zeilen angezeigt"));
        onlyHinted()->click();
        m_store.samples.push_back({"10003", "Vogel", "10020030", "1000", "", "", "", ""});
        command(FormAdressen::DatenNeuEinlesen)->click();
        makeUnsaved();
        QCOMPARE(m_window->hintCounts(), QStringLiteral("Fehlerhinweise: %1   Konvertierhinweise: %2")
                                             .arg(kErrorsAfterConversion)
                                             .arg(kConversionHintsAfterConversion));
        QCOMPARE(m_window->rows()[1][AccountColumn::HintNumber], std::string("5"));
    }

    void galdo_counts_the_employees_without_an_account()
    {
        startOn(ClientFormat::Galdo, m_galdo);
        QVERIFY(m_window->hintCounts().endsWith(QStringLiteral("   Ohne Kontonummer: 1")));
    }

    void edit_conversion_and_save_through_a_sorted_and_filtered_view_change_the_rows_meant()
    {
        const std::string unknown = "3-BLZ ist nicht im Bundesbank-Bestand";
        m_store.samples = {{"10003", "Adler", "37040044", "532013000", "", "", "", ""},
                           {"10001", "Schmidt", "99999999", "1", "", "", unknown, ""},
                           {"10000", "Zander", "37040044", "532013000", "", "", "", ""},
                           {"10002", "Weber", "99999998", "1234", "", "", unknown, ""}};
        store("EingabeIBANFreigeben", "1");
        startOnMarlo();
        QAbstractItemModelTester tester(grid()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        activate();
        m_store.calls.clear();
        onlyHinted()->click();
        QVERIFY(m_store.calls.empty()); // a view: no reload
        // The menu's entry for a column acts as a click on its heading.
        auto* sortMenu = m_window->findChild<SortMenu*>(QStringLiteral("SortierenNach"));
        sortMenu->fill();
        sortMenu->actions().at(0)->trigger();
        grid()->clickHeading(0);
        QCOMPARE(grid()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(keysShown(), (QStringList{"10002", "10001"}));

        // View row 1 is Schmidt, the second row of the working set.
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(1, 2));
        QTest::keyClick(grid(), '1');
        QTest::keyClicks(QApplication::focusWidget(), "0020030");
        // Tab commits and opens the next cell, the account, for input.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(grid()->isEditing());
        QCOMPARE(grid()->currentIndex(), grid()->model()->index(1, 3));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "1000");
        grid()->commitPendingEdit();
        QCOMPARE(m_window->rows()[1][AccountColumn::Blz], std::string("10020030"));
        QCOMPARE(m_window->rows()[1][AccountColumn::Account], std::string("1000"));
        QCOMPARE(m_window->rows()[3][AccountColumn::Blz], std::string("99999998"));
        QCOMPARE(m_window->rows()[3][AccountColumn::Account], std::string("1234"));

        // The conversion gives Schmidt an IBAN without a hint: the row leaves the view, while Adler
        // and Zander come in with hint 101, in the order of the sorted column.
        makeUnsaved();
        QCOMPARE(m_window->rows()[1][AccountColumn::Iban], std::string("DE74100200300000001000"));
        QCOMPARE(m_window->rows()[1][AccountColumn::Hint], std::string());
        QCOMPARE(keysShown(), (QStringList{"10003", "10002", "10000"}));

        command(FormAdressen::DatenSpeichern)->click();
        QCOMPARE(m_store.saved.size(), 4u);
        const QStringList keys{"10003", "10001", "10000", "10002"};
        for (std::size_t i = 0; i < m_store.saved.size(); ++i)
            QCOMPARE(QString::fromStdString(m_store.saved[i][AccountColumn::Key]), keys[qsizetype(i)]);
        QCOMPARE(m_store.saved[1][AccountColumn::Blz], std::string("10020030"));
        QCOMPARE(m_store.saved[1][AccountColumn::Iban], std::string("DE74100200300000001000"));
        // The rows outside the view were converted as well, and nothing else changed.
        QCOMPARE(m_store.saved[0][AccountColumn::Iban], std::string("DE89370400440532013000"));
        QCOMPARE(m_store.saved[2][AccountColumn::Iban], std::string("DE89370400440532013000"));
        QCOMPARE(m_store.saved[3][AccountColumn::Blz], std::string("99999998"));
        QCOMPARE(m_store.saved[3][AccountColumn::Iban], std::string());
        QCOMPARE(m_store.saved[3][AccountColumn::Hint].substr(0, 2), std::string("3-"));
        // A third click brings back the load order; the view follows a reload.
        grid()->clickHeading(0);
        QVERIFY(!grid()->horizontalHeader()->isSortIndicatorShown());
        QCOMPARE(keysShown(), (QStringList{"10003", "10000", "10002"}));
        command(FormAdressen::DatenNeuEinlesen)->click();
        QCOMPARE(keysShown(), (QStringList{"10001", "10002"}));
    }

    void typed_iban_and_bic_are_checked_where_typed_and_kept_by_a_new_conversion()
    {
        store("EingabeIBANFreigeben", "1");
        startOnMarlo();
        const auto type = [this](int row, AccountColumn column, const QString& text) {
            const QModelIndex cell = grid()->model()->index(row, static_cast<int>(column));
            grid()->setCurrentIndex(cell);
            grid()->edit(cell);
            qobject_cast<QLineEdit*>(grid()->indexWidget(cell))->setText(text);
            grid()->commitPendingEdit();
            QCoreApplication::processEvents();
        };
        const auto& rows = m_window->rows();
        // Refused where it is typed: the reason in a box, the cell as it was.
        type(2, AccountColumn::Iban, QStringLiteral("DE99120300000000202051"));
        QCOMPARE(m_ui.messages.size(), 1u);
        QCOMPARE(m_ui.messages[0].text, std::string("Die Prüfziffer der IBAN stimmt nicht."));
        QCOMPARE(rows[2][AccountColumn::Iban], std::string());
        // A foreign IBAN is taken as it is written; a German one beside another BIC is noted.
        type(2, AccountColumn::Iban, QStringLiteral("gb29 nwbk 6016 1331 9268 19"));
        QCOMPARE(rows[2][AccountColumn::Iban], std::string("GB29NWBK60161331926819"));
        type(1, AccountColumn::Iban, QStringLiteral("DE89370400440532013000"));
        QCOMPARE(m_window->statusText(),
                 QStringLiteral("Die BLZ 37040044 hat in der BLZ-Datei den BIC ZVASDEFFXXX, die Zeile keinen BIC."));
        // Typed for another account than the row has at the conversion: computed anew.
        type(0, AccountColumn::Iban, QStringLiteral("FR1420041010050500013M02606"));
        type(0, AccountColumn::Account, QStringLiteral("1234"));
        QCOMPARE(m_ui.messages.size(), 1u);

        makeUnsaved();
        QCOMPARE(m_window->statusText(), QStringLiteral("Bereit. 2 Zeilen behalten die eingegebene IBAN / BIC."));
        QCOMPARE(rows[0][AccountColumn::Iban], std::string("DE21370400440000001234"));
        QCOMPARE(rows[1][AccountColumn::Iban], std::string("DE89370400440532013000"));
        QCOMPARE(rows[2][AccountColumn::Iban], std::string("GB29NWBK60161331926819"));
        command(FormAdressen::DatenSpeichern)->click();
        QCOMPARE(m_store.saved[1][AccountColumn::Iban], std::string("DE89370400440532013000"));
        QCOMPARE(m_store.saved[2][AccountColumn::Iban], std::string("GB29NWBK60161331926819"));
    }

    void ctrl_f_finds_the_next_row_and_selects_it()
    {
        startOnMarlo();
        activate();
        grid()->setFocus();
        QVERIFY(!findField()->isVisible());
        QTest::keyClick(grid(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(findField()->isVisible());
        QCOMPARE(QApplication::focusWidget(), findField());

        QTest::keyClicks(findField(), "weber");
        QTest::keyClick(findField(), Qt::Key_Return);
        QCOMPARE(grid()->currentIndex().row(), 2);
        QVERIFY(grid()->selectionModel()->isRowSelected(2, {}));
        QCOMPARE(m_window->statusText(), QStringLiteral("Gefunden: 10002"));

        findField()->clear();
        QTest::keyClicks(findField(), "Meier");
        QTest::keyClick(findField(), Qt::Key_Return);
        QCOMPARE(grid()->currentIndex().row(), 2);
        QCOMPARE(m_window->statusText(), QStringLiteral("Keine Zeile enthält „Meier“."));

        // Esc closes the field and gives the grid back its focus; the window stays.
        QTest::keyClick(findField(), Qt::Key_Escape);
        QVERIFY(!findField()->isVisible());
        QCOMPARE(QApplication::focusWidget(), grid());
        QVERIFY(m_window->isVisible());

        // F3 opens the closed field; in the open one it finds the next row, from the end round to
        // the start.
        QTest::keyClick(grid(), Qt::Key_F3);
        QVERIFY(findField()->isVisible());
        findField()->setText(QStringLiteral("1000"));
        QTest::keyClick(findField(), Qt::Key_F3);
        QCOMPARE(grid()->currentIndex().row(), 0);
    }

    void f1_on_a_row_opens_the_help_at_its_hint_whose_tooltip_advises()
    {
        const std::string hint6 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 002002";
        m_store.samples.push_back({"10003", "Krause", "10020030", "12", "", "", hint6, ""});
        startOnMarlo();
        activate();
        const QModelIndex hint = grid()->model()->index(3, int(AccountColumn::Hint));
        const std::string advice(hintAdviceLine(6));
        QCOMPARE(test::toolTipAt(*grid(), hint), QString::fromStdString(hint6 + "\n" + advice));

        grid()->setCurrentIndex(grid()->model()->index(3, 0));
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_F1);
        auto* help = m_window->findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentSection(), QStringLiteral("hinweis-6"));

        // Elsewhere in the window F1 opens the help at its start.
        activate();
        command(FormAdressen::Auswaehlen)->setFocus();
        QTest::keyClick(command(FormAdressen::Auswaehlen), Qt::Key_F1);
        QCOMPARE(help->currentSection(), QStringLiteral("anfang"));

        // The contents list names the sections; the search finds a place and says when there is none.
        QVERIFY(help->findChild<QTreeWidget*>(QStringLiteral("HilfeInhalt"))->topLevelItemCount() > 5);
        auto* search = help->findChild<QLineEdit*>(QStringLiteral("HilfeSuche"));
        auto* text = help->findChild<QTextBrowser*>(QStringLiteral("HilfeText"));
        QTest::keyClicks(search, "Probelauf");
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(text->textCursor().selectedText(), QStringLiteral("Probelauf"));
        search->setText(QStringLiteral("Quadratwurzel"));
        QTest::keyClick(search, Qt::Key_Return);
        const auto labels = help->findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
            return label->isVisible() && label->text() == QStringLiteral("Nicht gefunden.");
        }));

        // Its link shows "Über Zelvan Konverter": version, bank-code file, Qt and SQLite.
        emit text->anchorClicked(QUrl(QStringLiteral("zelvan:ueber")));
        auto* about = help->findChild<QMessageBox*>(QStringLiteral("UeberZelvanKonverter"));
        QVERIFY(about && about->isVisible());
        QVERIFY(about->text().startsWith(QStringLiteral("Zelvan Konverter ")));
        QVERIFY(about->text().contains(QStringLiteral("SQLite ")));
        about->close();
    }

    void the_hint_column_takes_what_the_window_gains()
    {
        startOnMarlo();
        const int hint = grid()->columnWidth(static_cast<int>(AccountColumn::Hint));
        m_window->resize(m_window->width() + 400, m_window->height());
        QVERIFY(grid()->columnWidth(static_cast<int>(AccountColumn::Hint)) > hint);
        int total = 0;
        for (int column = 0; column < grid()->model()->columnCount(); ++column)
            total += grid()->columnWidth(column);
        QCOMPARE(total, grid()->viewport()->width());
    }

    void a_failed_save_keeps_daten_speichern_enabled()
    {
        startOnMarlo();
        m_store.saveSucceeds = false;
        makeUnsaved();
        command(FormAdressen::DatenSpeichern)->click();
        QVERIFY(saveEnabled());
    }

    void find_offers_to_switch_the_filter_off_for_a_hidden_row()
    {
        withUnknownBlz();
        startOnMarlo();
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

    void typing_on_a_cell_without_input_stays_on_its_row_and_esc_twice_asks_and_ends_the_program()
    {
        startOnMarlo();
        makeUnsaved();
        focusCell(0, 0);
        QTest::keyClicks(grid(), "10002");
        QCOMPARE(grid()->currentIndex().row(), 0);
        check(2)->setFocus();
        QCOMPARE(m_window->statusText(), QStringLiteral("Bank Name überschreiben ein-/ausschalten"));
        grid()->setFocus();
        m_ui.answers = {MessageAnswer::No};
        QTest::keyClick(grid(), Qt::Key_Escape); // to browse mode
        QTest::keyClick(grid(), Qt::Key_Escape);
        QCOMPARE(m_ui.messages.size(), 1u); // the save question
        QVERIFY(!m_window->isVisible());
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
        startOn(static_cast<ClientFormat>(format), m_marlo);
        focusCell(0, static_cast<int>(AccountColumn::Account));
        QTest::keyClick(grid(), static_cast<Qt::Key>(key));
        QCOMPARE(m_window->statusText(), status);
        QVERIFY(!grid()->isEditing());
    }

    void a_file_that_is_no_database_is_named_once_and_not_kept()
    {
        const std::string bad = m_dir.write("MARL002.MDB", "kein SQLite, nur Text");
        ClientDatabaseStore realStore(m_programFolder);
        FormAdressen window(m_state, FormAdressenServices{realStore, m_chooser, m_ui, m_programFolder});
        window.show();
        window.Form_Activate();
        m_ui.messages.clear();
        m_chooser.next = DatabaseChoice{ClientFormat::MarloOp, bad};
        window.Command1_Click(FormAdressen::Auswaehlen);
        QCOMPARE(m_ui.messages.size(), 1u);
        QVERIFY(m_ui.messages[0].text.starts_with("Fehler beim Öffnen der Haupt-Datenbank"));
        QVERIFY(!window.formatFileLine().contains(QStringLiteral("MARL002")));
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("Command1_0"))->isEnabled());
        window.Command1_Click(FormAdressen::Ende);
        QCOMPARE(storedValue("AktuelleKonvertierDatei"), QString());
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::FormAdressenTest)
#include "FormAdressenTest.moc"
