#pragma once

#include <QTableView>

#include <span>

namespace zelvan {

// The width of one grid column: a share of the grid's visible width, but never narrower than
// the sample text (empty: no lower bound) in the grid's font.
struct ColumnWidth {
    double share;
    const char* widestContent = "";
};

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

    // Sets the widths of the first columns; what does not fit goes to the horizontal scroll bar.
    void setColumnWidths(std::span<const ColumnWidth> widths);

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
