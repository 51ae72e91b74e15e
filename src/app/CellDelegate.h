#pragma once

#include <QStyledItemDelegate>

class QKeyEvent;

namespace zelvan {

// The margin the item-view style leaves on each side of a cell's text.
int cellTextMargin(const QWidget* widget);

// The text, drawn in `font` in a cell at `cell` of `widget`, does not fit and is shortened.
bool textIsCut(const QString& text, const QFont& font, const QRect& cell, const QWidget* widget);

// Ctrl+Tab or Ctrl+Shift+Tab: the key that moves the focus out of the main grid.
bool isLeaveKey(const QKeyEvent& event);
// Shift+Tab, Ctrl+Shift+Tab: backwards through the focus chain.
bool isBackwards(const QKeyEvent& event);

// Editors of the main grid: a line edit limited to the column's maximum input length. Esc and
// Ctrl+Tab in an editor are left to the grid's key rules. A cell shows the model's tooltip, or,
// without one, its whole text when that is cut.
class CellDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

  signals:
    // Esc in an open editor; `modified` says whether its text differs from the committed value.
    void escapePressed(QWidget* editor, bool modified);
    // An editor received the focus: the grid has it, with a cell open for input.
    void editorFocused();
    // Ctrl+Tab (forward) or Ctrl+Shift+Tab in an open editor: the focus is to leave the grid.
    void leaveRequested(bool forward);

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;
};

} // namespace zelvan
