#include "app/FormAdressen.h"

#include <QCheckBox>
#include <QLabel>

#include "app/GridViewModel.h"
#include "app/WorkingSetModel.h"
#include "clientdb/HintClass.h"

namespace zelvan {

namespace {

const MessageRequest kHiddenRowQuestion{"Die Zeile ist ausgeblendet. Filter ausschalten?",
                                        std::string(kApplicationTitle), MessageButtons::YesNo, MessageIcon::Question,
                                        1};

// Why a BLZ or account cell takes no input: its columns are locked until the box is ticked, and
// in Galdo they are changed in the Galdo program only.
constexpr const char* kLockedBankDetails =
    "BLZ und Kontonummer sind erst mit „IBAN / BIC für manuelle Eingaben freigeben“ änderbar.";
constexpr const char* kGaldoBankDetails = "In Galdo werden BLZ und Kontonummer im Galdo-Programm geändert.";

} // namespace

void FormAdressen::showShownRows()
{
    QString text = m_hintCountsText;
    if (m_view->onlyRowsWithHint())
        text += QStringLiteral("   %1 von %2 Zeilen angezeigt").arg(m_view->rowCount()).arg(m_model->rowCount());
    m_hintCounts->setText(text);
}

bool FormAdressen::showHiddenRow(const QString& text, int& viewRow)
{
    const int hidden = m_view->findHiddenRow(text);
    if (hidden < 0)
        return false;
    if (showMessage(kHiddenRowQuestion) != MessageAnswer::Yes) {
        setStatusText(QStringLiteral("Die Zeile mit „%1“ ist ausgeblendet.").arg(text).toStdString());
        return true;
    }
    m_onlyHinted->setChecked(false);
    viewRow = m_view->mapFromSource(m_model->index(hidden, 0)).row();
    return true;
}

void FormAdressen::onEditRefused(const QModelIndex& index)
{
    const auto column = static_cast<AccountColumn>(index.column());
    if (column != AccountColumn::Blz && column != AccountColumn::Account)
        return;
    setStatusText(m_state.format == ClientFormat::Galdo ? kGaldoBankDetails : kLockedBankDetails);
}

void FormAdressen::fillHintNumbers()
{
    // The number the save writes beside each hint, shown as soon as the hint is there.
    for (auto& row : m_rows) {
        const std::string& hint = row[AccountColumn::Hint];
        row[AccountColumn::HintNumber] = hint.empty() ? std::string() : std::to_string(hintNumberOf(hint));
    }
}

void FormAdressen::elideFormatLine()
{
    // The label's own indent beside its frame is half an x on each side.
    const int room = m_formatLine->contentsRect().width() - 2 * m_formatLine->margin() -
                     m_formatLine->fontMetrics().horizontalAdvance(QLatin1Char('x'));
    m_formatLine->setText(m_formatLine->fontMetrics().elidedText(m_formatLineText, Qt::ElideMiddle, room));
    const QString whole =
        m_bankFileToolTip.isEmpty() ? m_formatLineText : m_formatLineText + "\n\n" + m_bankFileToolTip;
    m_formatLine->setToolTip(whole);
}

} // namespace zelvan
