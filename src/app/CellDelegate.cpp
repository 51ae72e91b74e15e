#include "app/CellDelegate.h"

#include <QAbstractItemView>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

#include "app/WorkingSetModel.h"

namespace zelvan {

int cellTextMargin(const QWidget* widget)
{
    // As the common style lays out an item's text.
    const QStyle* style = widget ? widget->style() : nullptr;
    return (style ? style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) : 0) + 1;
}

bool textIsCut(const QString& text, const QFont& font, const QRect& cell, const QWidget* widget)
{
    if (text.isEmpty())
        return false;
    const int room = cell.width() - 2 * cellTextMargin(widget);
    return QFontMetricsF(font).horizontalAdvance(text) > room;
}

bool isLeaveKey(const QKeyEvent& event)
{
    return (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) &&
           event.modifiers().testFlag(Qt::ControlModifier);
}

bool isBackwards(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Backtab || event.modifiers().testFlag(Qt::ShiftModifier);
}

bool CellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index)
{
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    // The model's own tooltip (a hint with its advice), else the text of a cut cell.
    QString text = index.data(Qt::ToolTipRole).toString();
    if (text.isEmpty() && textIsCut(index.data(Qt::DisplayRole).toString(), option.font, option.rect, view))
        text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        // A name such as "<b>Müller</b>" is shown as it stands, not as markup.
        const QString shown = Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
        QToolTip::showText(event->globalPos(), shown, view->viewport(), option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const int maxLength = index.data(WorkingSetModel::kMaxLengthRole).toInt();
        if (maxLength > 0)
            line->setMaxLength(maxLength);
    }
    return editor;
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isLeaveKey(*static_cast<QKeyEvent*>(event))) {
        emit leaveRequested(!isBackwards(*static_cast<QKeyEvent*>(event)));
        return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* editor = qobject_cast<QWidget*>(object);
        const auto* line = qobject_cast<QLineEdit*>(object);
        emit escapePressed(editor, line && line->isModified());
        return true;
    }
    if (event->type() == QEvent::FocusIn)
        emit editorFocused();
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace zelvan
