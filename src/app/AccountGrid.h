#pragma once

#include <QTableView>

namespace zelvan {

class CellDelegate;

// TDBGrid1 of the main window: the working set in a table with record selectors and
// alternating rows, in editor mode (floating editor on the current cell) or browse mode (the
// current row highlighted), with the grid's key rules for Left, Right, Esc and Enter.
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

    // Sets the widths of the first columns as shares of the grid's visible width.
    void setColumnShares(const double* shares, int count);

  signals:
    // The grid or the editor of its current cell received the focus.
    void gotFocus(bool editing);
    // Esc with nothing pending in browse mode: the window is asked to close.
    void closeRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    bool startEditingWithCaret(bool atEnd);
    void escape();
    void onEscapeInEditor(QWidget* editor, bool modified);

    CellDelegate* m_delegate = nullptr;
    Mode m_mode = Mode::Editor;
};

} // namespace zelvan
