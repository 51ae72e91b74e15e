#include "app/AccountGrid.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/CellDelegate.h"

namespace zelvan {

AccountGrid::AccountGrid(QWidget* parent) : QTableView(parent), m_delegate(new CellDelegate(this))
{
    setItemDelegate(m_delegate);
    setAlternatingRowColors(true);
    setSelectionMode(ExtendedSelection);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed | SelectedClicked);
    // Uniform rows keep a hundred thousand of them quick to scroll.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(16);
    verticalHeader()->setHighlightSections(true);
    horizontalHeader()->setHighlightSections(false);
    connect(m_delegate, &CellDelegate::escapePressed, this, &AccountGrid::onEscapeInEditor);
    connect(m_delegate, &CellDelegate::editorFocused, this, [this] { emit gotFocus(true); });
    setMode(Mode::Editor);
}

void AccountGrid::setMode(Mode mode)
{
    m_mode = mode;
    setSelectionBehavior(mode == Mode::Browse ? SelectRows : SelectItems);
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()) {
        const auto flags = QItemSelectionModel::ClearAndSelect |
                           (mode == Mode::Browse ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
        selectionModel()->select(current, flags);
    }
}

bool AccountGrid::hasPendingChange() const
{
    if (!isEditing())
        return false;
    const auto* line = qobject_cast<const QLineEdit*>(indexWidget(currentIndex()));
    return line && line->isModified();
}

void AccountGrid::commitPendingEdit()
{
    if (!isEditing())
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void AccountGrid::cancelPendingEdit()
{
    if (!isEditing())
        return;
    if (QWidget* editor = indexWidget(currentIndex()))
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void AccountGrid::setColumnWidths(std::span<const ColumnWidth> widths)
{
    const double visible = viewport()->width();
    // The cell's text margins on both sides, as the item delegate draws them.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 2;
    const int count = std::min(static_cast<int>(widths.size()), horizontalHeader()->count());
    for (int column = 0; column < count; ++column) {
        const auto& width = widths[static_cast<std::size_t>(column)];
        const int shared = static_cast<int>(visible * width.share);
        const QString content = QString::fromUtf8(width.widestContent);
        const int least = content.isEmpty() ? 0 : fontMetrics().horizontalAdvance(content) + margins;
        setColumnWidth(column, std::max(shared, least));
    }
}

bool AccountGrid::startEditingWithCaret(bool atEnd)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.data(Qt::EditRole).toString().isEmpty())
        return false;
    if (!edit(current, AllEditTriggers, nullptr))
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(indexWidget(current))) {
        line->deselect();
        line->setCursorPosition(atEnd ? static_cast<int>(line->text().size()) : 0);
    }
    return true;
}

void AccountGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!isEditing() && startEditingWithCaret(event->key() == Qt::Key_Right)) {
            event->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        escape();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_mode == Mode::Browse) {
            commitPendingEdit();
            setMode(Mode::Editor);
            const QModelIndex current = currentIndex();
            if (current.isValid())
                setCurrentIndex(model()->index(current.row(), 0));
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void AccountGrid::escape()
{
    if (hasPendingChange()) {
        cancelPendingEdit();
        return;
    }
    // An open editor without changes holds nothing to discard: it simply closes.
    cancelPendingEdit();
    if (m_mode == Mode::Editor)
        setMode(Mode::Browse);
    else
        emit closeRequested();
}

void AccountGrid::onEscapeInEditor(QWidget* editor, bool modified)
{
    if (modified) {
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        setFocus();
        return;
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    setFocus();
    escape();
}

void AccountGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    emit gotFocus(isEditing());
}

} // namespace zelvan
