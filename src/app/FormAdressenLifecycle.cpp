#include "app/FormAdressen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/AccountGrid.h"
#include "app/FormatLine.h"
#include "widgets/ProgramFont.h"
#include "app/WindowPlacement.h"
#include "app/WorkingSetStore.h"
#include "bankdir/BankCodeFile.h"
#include "bankdir/BankFileCheck.h"
#include "core/FileExists.h"
#include "widgets/HelpWindow.h"

namespace zelvan {

namespace {

// Settings keys of the check boxes, by index.
constexpr std::array<const char*, FormAdressen::kOptionCount> kCheckKeys{
    "DatenIBANVorhAusblenden", "EingabeIBANFreigeben", "BankBezeichnungSchreiben", "KontonummerPruefen"};

QString key(const char* name)
{
    return QString::fromUtf8(name);
}

} // namespace

void FormAdressen::Form_Load()
{
    m_state.databasePath = m_settings.read(key("AktuelleKonvertierDatei")).toStdString();
    m_state.tableName = m_settings.read(key("AktuelleKonvertierTabelle")).toStdString();
    if (const auto format = wholeNumber(m_settings.read(key("AktuellesKonvertierformat")));
        format && *format >= INT16_MIN && *format <= INT16_MAX)
        m_state.format = static_cast<ClientFormat>(*format);
    if (const auto protocol = wholeNumber(m_settings.read(key("ProtokollAusgabe"), QStringLiteral("0")));
        protocol && *protocol >= 0 && *protocol < m_combo->count())
        m_combo->setCurrentIndex(*protocol);
    m_container->setFont(ProgramFont());
    showFormatFileLine();
    for (std::size_t i = 0; i < m_check.size(); ++i) {
        const auto value = wholeNumber(m_settings.read(key(kCheckKeys[i]), QStringLiteral("0")));
        if (value && (*value == 0 || *value == 1))
            m_check[i]->setChecked(*value == 1);
        m_checkShown[i] = checkValue(static_cast<int>(i));
    }
    ApplyProgramFont(*this);
    PersistWindowPlacement(true, m_settings, *this);
}

void FormAdressen::showFormatFileLine()
{
    m_formatLineText = QString::fromStdString(shownFormatLine(m_state.format, m_state.databasePath));
    elideFormatLine();
    // Without a database there is nothing to read again.
    m_command[DatenNeuEinlesen]->setEnabled(FileExists(m_state.databasePath));
    showDataSet();
}

void FormAdressen::showDataSet()
{
    const auto dataSet = shownDataSet(m_state.format, m_state.fixedDeductions, m_state.databasePath);
    m_dataSet->setText(QString::fromStdString(dataSet));
    m_dataSet->setVisible(!dataSet.empty());
}

void FormAdressen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_startupStarted)
        QTimer::singleShot(0, this, &FormAdressen::Form_Activate);
}

void FormAdressen::Form_Activate()
{
    // A second activation while the sequence still runs (it yields) must not start it again.
    if (m_startupStarted)
        return;
    m_startupStarted = true;
    const BusyPointer busy(*this);
    processEvents();
    LoadWorkingSet();
    processEvents();
    m_bankFile = loadBankDirectory(m_programFolder, m_directory, *this);
    showBankFile();
    // The grid fitted its columns to the rows when they were loaded, and fits them at every resize.
    m_startupDone = true;
    announceBankFile();
}

std::string FormAdressen::bankFileModified() const
{
    if (!m_bankFile.ok)
        return {};
    const QFileInfo file(QString::fromStdString(m_bankFile.path));
    return file.lastModified().toString(QStringLiteral("dd.MM.yyyy HH:mm")).toStdString();
}

void FormAdressen::showBankFile()
{
    m_bankFileToolTip = QString::fromStdString(bankFileToolTip(m_bankFile, m_directory.Count(), bankFileModified()));
    m_sampleNote->setText(QString::fromUtf8(kSampleNotice.data(), static_cast<qsizetype>(kSampleNotice.size())));
    m_sampleNote->setToolTip(m_bankFileToolTip);
    m_sampleNote->setVisible(m_bankFile.ok && m_bankFile.sample);
    elideFormatLine();
}

void FormAdressen::announceBankFile()
{
    // Once after start-up: a file that is not used, or the sample file that is.
    if (!m_bankFile.ok)
        showMessage({m_bankFile.error, std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical, 0});
    else if (m_bankFile.sample)
        showMessage({std::string(kSampleNotice), std::string(kApplicationTitle), MessageButtons::Ok,
                     MessageIcon::Information, 0});
}

void FormAdressen::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    // A cell still open for input counts as changed data, so the question below sees it.
    m_grid->commitPendingEdit();
    if (!m_closingByProgram && !Form_QueryUnload()) {
        event->ignore();
        return;
    }
    m_closingByProgram = false;
    Form_Unload();
    event->accept();
}

bool FormAdressen::Form_QueryUnload()
{
    // The window's own close box asks; the program's own closes ("Ende", Esc) have asked already.
    return askSaveQuestion();
}

void FormAdressen::closeByProgram()
{
    m_closingByProgram = true;
    close();
    m_closingByProgram = false;
}

void FormAdressen::Form_Unload()
{
    PersistWindowPlacement(false, m_settings, *this);
    for (std::size_t i = 0; i < m_check.size(); ++i)
        m_settings.write(key(kCheckKeys[i]), QString::number(checkValue(static_cast<int>(i))));
    m_settings.write(key("AktuelleKonvertierDatei"), QString::fromStdString(m_state.databasePath));
    m_settings.write(key("AktuelleKonvertierTabelle"), QString::fromStdString(m_state.tableName));
    m_settings.write(key("AktuellesKonvertierformat"), QString::number(static_cast<int>(m_state.format)));
    m_settings.write(key("ProtokollAusgabe"), QString::number(m_combo->currentIndex()));
    m_settings.sync();
    m_store.CloseClientDatabase(m_state, *this);
    if (m_help)
        m_help->close();
    m_unloaded = true;
}

} // namespace zelvan
