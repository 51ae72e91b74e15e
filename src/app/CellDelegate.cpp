#include "app/CellDelegate.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "app/WorkingSetModel.h"

namespace zelvan {

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
