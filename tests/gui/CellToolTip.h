#pragma once

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QTest>
#include <QToolTip>

#include "core/WorkingSet.h"

namespace zelvan::test {

// The tooltip a view shows when the pointer rests on the middle of a cell; "" for none.
inline QString toolTipAt(QAbstractItemView& view, const QModelIndex& index)
{
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        qWarning("the last tooltip stays");
    const QPoint at = view.visualRect(index).center();
    QHelpEvent event(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// As the item view draws a cell: shortened with "…" when its text is wider than its room.
inline bool drawnShortened(const QAbstractItemView& view, const QModelIndex& index)
{
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const QString text = index.data().toString();
    return view.fontMetrics().elidedText(text, Qt::ElideRight, view.visualRect(index).width() - 2 * margin) != text;
}

// The text of the first key, BLZ, account, BIC or IBAN cell the view draws shortened; "" when all are whole.
inline QString shortenedContentCell(const QAbstractItemView& view)
{
    for (int row = 0; row < view.model()->rowCount(); ++row) {
        for (const auto column : {AccountColumn::Key, AccountColumn::Blz, AccountColumn::Account, AccountColumn::Bic,
                                  AccountColumn::Iban}) {
            const QModelIndex index = view.model()->index(row, static_cast<int>(column));
            if (drawnShortened(view, index))
                return index.data().toString();
        }
    }
    return {};
}

} // namespace zelvan::test
