#include "app/AccountGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

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
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &AccountGrid::clickHeading);
    connect(m_delegate, &CellDelegate::leaveRequested, this, &AccountGrid::leaveGrid);
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

void AccountGrid::setModel(QAbstractItemModel* model)
{
    for (const auto& connection : m_modelConnections)
        disconnect(connection);
    m_modelConnections.clear();
    QTableView::setModel(model);
    if (model) {
        m_modelConnections << connect(model, &QAbstractItemModel::modelReset, this, &AccountGrid::fitColumns)
                           << connect(model, &QAbstractItemModel::dataChanged, this, &AccountGrid::onDataChanged)
                           << connect(model, &QAbstractItemModel::headerDataChanged, this, &AccountGrid::layOutColumns);
    }
    fitColumns();
}

void AccountGrid::setColumnFits(std::span<const ColumnFit> fits)
{
    m_fits.assign(fits.begin(), fits.end());
    fitColumns();
}

void AccountGrid::fitColumns()
{
    m_widest.clear();
    if (model())
        measureColumns(0, model()->columnCount() - 1, 0, model()->rowCount() - 1);
    layOutColumns();
}

bool AccountGrid::measureColumns(int firstColumn, int lastColumn, int firstRow, int lastRow)
{
    const int columns = model()->columnCount();
    m_widest.resize(static_cast<std::size_t>(std::max(columns, 0)), 0.0);
    std::vector<bool> measured(m_widest.size(), false);
    for (int column = std::max(firstColumn, 0); column <= lastColumn && column < columns; ++column) {
        const auto slot = static_cast<std::size_t>(column);
        // The column that takes the rest shows what fits and the tooltip the rest: no need to measure it.
        measured[slot] = slot >= m_fits.size() || m_fits[slot].kind != FitKind::Rest;
    }
    const bool allRows = firstRow <= 0 && lastRow >= model()->rowCount() - 1;
    // The advances of the characters are looked up once per font, not once per edit.
    if (!m_textWidths || m_textWidths->font() != font())
        m_textWidths = std::make_unique<TextWidths>(font());
    const auto widest = widestTexts(*model(), *m_textWidths, measured, firstRow, lastRow);
    bool changed = false;
    for (std::size_t column = 0; column < widest.size(); ++column) {
        if (!measured[column])
            continue;
        const double width = allRows ? widest[column] : std::max(m_widest[column], widest[column]);
        changed = changed || width != m_widest[column];
        m_widest[column] = width;
    }
    return changed;
}

int AccountGrid::cellWidth(double textWidth) const
{
    if (textWidth <= 0.0)
        return 0;
    // The delegate's text margins on both sides, the grid line, and a pixel for rounding.
    const int gridLine = showGrid() ? 1 : 0;
    return static_cast<int>(std::ceil(textWidth)) + 2 * cellTextMargin(this) + gridLine + 1;
}

void AccountGrid::layOutColumns()
{
    if (!model())
        return;
    const int columns = model()->columnCount();
    std::vector<ColumnNeed> needs(static_cast<std::size_t>(std::max(columns, 0)));
    const QFontMetricsF metrics(font());
    for (std::size_t column = 0; column < needs.size(); ++column) {
        const char* sample = column < m_fits.size() ? m_fits[column].sample : "";
        const double sampleWidth = *sample ? metrics.horizontalAdvance(QString::fromUtf8(sample)) : 0.0;
        const int heading = horizontalHeader()->isHidden()
                                ? 0
                                : horizontalHeader()->sectionSizeHint(static_cast<int>(column));
        needs[column].least = std::max(cellWidth(sampleWidth), heading);
        needs[column].content = column < m_widest.size() ? cellWidth(m_widest[column]) : 0;
    }
    const auto widths = zelvan::placeColumns(m_fits, needs, viewport()->width());
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (columnWidth(static_cast<int>(column)) != widths[column])
            setColumnWidth(static_cast<int>(column), widths[column]);
    }
}

void AccountGrid::onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    // A change of the input lengths alone (the columns freed for input) changes no text.
    if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::EditRole))
        return;
    // An edit that makes no cell wider leaves the columns as they are.
    if (measureColumns(topLeft.column(), bottomRight.column(), topLeft.row(), bottomRight.row()))
        layOutColumns();
}

bool AccountGrid::isCut(const QModelIndex& index) const
{
    if (!index.isValid())
        return false;
    return textIsCut(index.data(Qt::DisplayRole).toString(), font(), visualRect(index), this);
}

void AccountGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitColumns();
}

bool AccountGrid::viewportEvent(QEvent* event)
{
    const bool handled = QTableView::viewportEvent(event);
    // A resize of the window, or a scroll bar that comes or goes.
    if (event->type() == QEvent::Resize)
        layOutColumns();
    return handled;
}

void AccountGrid::clickHeading(int column)
{
    if (!model())
        return;
    commitPendingEdit();
    m_sort = nextSortOnClick(m_sort, column);
    model()->sort(m_sort.column, m_sort.order);
    showSortIndicator();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void AccountGrid::showSortIndicator()
{
    QHeaderView* header = horizontalHeader();
    header->setSortIndicatorShown(m_sort.column >= 0);
    if (m_sort.column >= 0)
        header->setSortIndicator(m_sort.column, m_sort.order);
}

void AccountGrid::leaveGrid(bool forward)
{
    commitPendingEdit();
    // The item view's own step would move to the next cell; the window's focus chain is meant.
    QWidget::focusNextPrevChild(forward);
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
    if (isLeaveKey(*event)) {
        leaveGrid(!isBackwards(*event));
        event->accept();
        return;
    }
    // Ctrl+A while a cell is open selects the editor's text, not every cell of the grid.
    if (event->matches(QKeySequence::SelectAll) && isEditing()) {
        if (auto* line = qobject_cast<QLineEdit*>(indexWidget(currentIndex())))
            line->selectAll();
        event->accept();
        return;
    }
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

bool AccountGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (QTableView::edit(index, trigger, event))
        return true;
    // Only what a user does to start typing: a key with text, F2, a double-click.
    bool asked = trigger == EditKeyPressed || trigger == DoubleClicked;
    if (trigger == AnyKeyPressed && event && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        asked = !text.isEmpty() && text.at(0).isPrint();
    }
    if (asked && index.isValid() && !(index.flags() & Qt::ItemIsEditable))
        emit editRefused(index);
    return false;
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
