#pragma once

#include <QTableView>

#include <memory>
#include <span>
#include <vector>

#include "app/ColumnFit.h"
#include "app/GridViewModel.h"

namespace zelvan {

class CellDelegate;

// TDBGrid1 of the main window: the working set in a table with record selectors and
// alternating rows, in editor mode (floating editor on the current cell) or browse mode (the
// current row highlighted), with the grid's key rules for Left, Right, Esc and Enter. Its
// columns are fitted to their content after every reset of the model, every change of many
// rows and every resize; a cell whose text is cut shows it whole as a tooltip. Tab moves from
// cell to cell; Ctrl+Tab and Ctrl+Shift+Tab move the focus out of the grid. A click on a column
// heading sorts the view by it, ascending, then descending, then back to the load order.
class AccountGrid final : public QTableView {
    Q_OBJECT

  public:
    enum class Mode { Editor, Browse };

    explicit AccountGrid(QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);

    // A cell is open for input.
    bool isEditing() const { return state() == EditingState; }
    // The open editor's text differs from the committed value.
    bool hasPendingChange() const;
    // Commits the open editor's text into the model and closes it.
    void commitPendingEdit();
    // Closes the open editor without committing (the row returns to its committed values).
    void cancelPendingEdit();

    void setModel(QAbstractItemModel* model) override;

    // The width rules of the columns, by index, and a fit by them.
    void setColumnFits(std::span<const ColumnFit> fits);
    // Measures every cell of the columns that fit their content and lays the columns out anew;
    // what does not fit goes to the horizontal scroll bar.
    void fitColumns();
    // The cell's text does not fit its cell and is drawn shortened.
    bool isCut(const QModelIndex& index) const;

    // The sort the headings have chosen (column -1: the load order).
    SortState sortState() const { return m_sort; }
    // As a click on the heading of `column`.
    void clickHeading(int column);
    // Commits an open edit and gives the focus to the next (or previous) control of the window.
    void leaveGrid(bool forward);
    // The item view's edit(index) stays callable beside the override below.
    using QTableView::edit;
    // Typing does not jump to a row whose text starts with the letters typed.
    void keyboardSearch(const QString&) override {}

  signals:
    // The grid or the editor of its current cell received the focus.
    void gotFocus(bool editing);
    // Esc with nothing pending in browse mode: the window is asked to close.
    void closeRequested();
    // A key, F2 or a double-click asked to edit a cell that takes no input.
    void editRefused(const QModelIndex& index);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Measures the cells of these columns and rows; true when a column's widest text changed.
    bool measureColumns(int firstColumn, int lastColumn, int firstRow, int lastRow);
    void layOutColumns();
    void onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);
    int cellWidth(double textWidth) const;

    bool startEditingWithCaret(bool atEnd);
    void escape();
    void onEscapeInEditor(QWidget* editor, bool modified);

    void showSortIndicator();

    CellDelegate* m_delegate = nullptr;
    SortState m_sort;
    Mode m_mode = Mode::Editor;
    std::vector<ColumnFit> m_fits;
    // The widest cell text of each column as last measured (0 for a column taking the rest).
    std::vector<double> m_widest;
    std::unique_ptr<TextWidths> m_textWidths;
    QList<QMetaObject::Connection> m_modelConnections;
};

} // namespace zelvan
