#pragma once

#include <QStyledItemDelegate>

namespace zelvan {

// Editors of the main grid: a line edit limited to the column's maximum input length. Esc in
// an editor is left to the grid's key rules.
class CellDelegate final : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  signals:
    // Esc in an open editor; `modified` says whether its text differs from the committed value.
    void escapePressed(QWidget* editor, bool modified);
    // An editor received the focus: the grid has it, with a cell open for input.
    void editorFocused();

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;
};

} // namespace zelvan
