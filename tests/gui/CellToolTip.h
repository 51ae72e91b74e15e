#pragma once

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

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

} // namespace zelvan::test
