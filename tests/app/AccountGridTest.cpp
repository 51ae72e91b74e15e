#include "app/AccountGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/WorkingSetModel.h"

namespace zelvan {

class AccountGridTest : public QObject {
    Q_OBJECT

  private:
    WorkingSetArray m_rows;
    std::unique_ptr<WorkingSetModel> m_model;
    std::unique_ptr<AccountGrid> m_grid;

    QLineEdit* editor() const { return qobject_cast<QLineEdit*>(m_grid->indexWidget(m_grid->currentIndex())); }
    void select(int row, int column) { m_grid->setCurrentIndex(m_model->index(row, column)); }
    void key(Qt::Key k)
    {
        QWidget* target = m_grid->isEditing() && editor() ? static_cast<QWidget*>(editor()) : m_grid.get();
        QTest::keyClick(target, k);
    }

  private slots:
    void init()
    {
        m_rows = WorkingSetArray(3);
        m_rows[0][AccountColumn::Key] = "10000";
        m_rows[0][AccountColumn::Blz] = "37040044";
        m_rows[0][AccountColumn::Account] = "532013000";
        m_rows[1][AccountColumn::Key] = "10001";
        m_rows[2][AccountColumn::Key] = "10002";
        m_model = std::make_unique<WorkingSetModel>(m_rows);
        m_model->beginReplace();
        m_model->endReplace(6, {{"OPKontoNr", false, 0},
                                {"Suchname", false, 0},
                                {"BankBLZ", true, 8},
                                {"BankKontoNr", true, 10},
                                {"BankBIC", true, 11},
                                {"BankIBAN", true, 34}});
        m_grid = std::make_unique<AccountGrid>();
        m_grid->setModel(m_model.get());
        m_grid->resize(600, 300);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        m_grid->setFocus();
    }
    void cleanup()
    {
        m_grid.reset();
        m_model.reset();
    }

    void opens_in_editor_mode()
    {
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Editor);
        QCOMPARE(m_grid->selectionBehavior(), QAbstractItemView::SelectItems);
        QVERIFY(m_grid->alternatingRowColors());
        QVERIFY(m_grid->verticalHeader()->isVisible()); // record selectors
    }

    void left_on_a_cell_with_text_starts_editing_with_the_caret_first()
    {
        select(0, 3);
        key(Qt::Key_Left);
        QVERIFY(m_grid->isEditing());
        QVERIFY(editor());
        QCOMPARE(editor()->cursorPosition(), 0);
        QVERIFY(!editor()->hasSelectedText());
        QCOMPARE(m_grid->currentIndex().column(), 3);
    }

    void right_on_a_cell_with_text_puts_the_caret_behind_the_last_character()
    {
        select(0, 2);
        key(Qt::Key_Right);
        QVERIFY(m_grid->isEditing());
        QCOMPARE(editor()->cursorPosition(), 8);
        QVERIFY(!editor()->hasSelectedText());
        // Inside the editor the arrows move the caret.
        key(Qt::Key_Left);
        QCOMPARE(editor()->cursorPosition(), 7);
        QCOMPARE(m_grid->currentIndex().column(), 2);
    }

    void arrows_on_an_empty_cell_move_to_the_neighbour()
    {
        select(1, 3);
        key(Qt::Key_Right);
        QVERIFY(!m_grid->isEditing());
        QCOMPARE(m_grid->currentIndex().column(), 4);
        key(Qt::Key_Left);
        QCOMPARE(m_grid->currentIndex().column(), 3);
    }

    void arrows_work_in_browse_mode_too()
    {
        m_grid->setMode(AccountGrid::Mode::Browse);
        select(0, 3);
        key(Qt::Key_Left);
        QVERIFY(m_grid->isEditing());
        QCOMPARE(editor()->cursorPosition(), 0);
    }

    void escape_goes_to_browse_mode_then_asks_to_close()
    {
        QSignalSpy close(m_grid.get(), &AccountGrid::closeRequested);
        select(0, 0);
        key(Qt::Key_Escape);
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Browse);
        QCOMPARE(m_grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(close.count(), 0);
        key(Qt::Key_Escape);
        QCOMPARE(close.count(), 1);
    }

    void escape_with_a_pending_change_discards_it_and_keeps_the_mode()
    {
        QSignalSpy close(m_grid.get(), &AccountGrid::closeRequested);
        select(0, 3);
        key(Qt::Key_Right);
        QTest::keyClicks(editor(), "9");
        QVERIFY(m_grid->hasPendingChange());
        key(Qt::Key_Escape);
        QVERIFY(!m_grid->isEditing());
        QCOMPARE(m_rows[0][AccountColumn::Account], std::string("532013000"));
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Editor);
        QCOMPARE(close.count(), 0);
    }

    void escape_in_an_unchanged_editor_switches_to_browse_mode()
    {
        select(0, 2);
        key(Qt::Key_Right);
        QVERIFY(!m_grid->hasPendingChange());
        key(Qt::Key_Escape);
        QVERIFY(!m_grid->isEditing());
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Browse);
    }

    void enter_in_browse_mode_returns_to_editor_mode_at_column_zero()
    {
        select(2, 4);
        key(Qt::Key_Escape);
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Browse);
        key(Qt::Key_Return);
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Editor);
        QCOMPARE(m_grid->currentIndex(), m_model->index(2, 0));
    }

    void enter_in_editor_mode_changes_no_mode()
    {
        select(1, 4);
        key(Qt::Key_Return);
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Editor);
        QCOMPARE(m_grid->currentIndex().row(), 1);
    }

    void tab_moves_through_all_cells_and_wraps_to_the_next_row()
    {
        select(0, 4);
        key(Qt::Key_Tab);
        QCOMPARE(m_grid->currentIndex(), m_model->index(0, 5));
        key(Qt::Key_Tab);
        QCOMPARE(m_grid->currentIndex(), m_model->index(1, 0));
        key(Qt::Key_Tab);
        QCOMPARE(m_grid->currentIndex(), m_model->index(1, 1)); // a locked column is visited too
    }

    void commit_of_a_pending_edit_writes_the_array()
    {
        QSignalSpy committed(m_model.get(), &WorkingSetModel::cellCommitted);
        select(1, 5);
        QTest::keyClick(m_grid.get(), 'D'); // typing opens the editor
        QVERIFY(m_grid->isEditing());
        QTest::keyClicks(editor(), "E12");
        m_grid->commitPendingEdit();
        QVERIFY(!m_grid->isEditing());
        QCOMPARE(m_rows[1][AccountColumn::Iban], std::string("DE12"));
        QCOMPARE(committed.count(), 1);
    }

    void the_editor_takes_no_more_than_the_maximum_input_length()
    {
        select(1, 2);
        QTest::keyClick(m_grid.get(), Qt::Key_1);
        QVERIFY(editor());
        QTest::keyClicks(editor(), "234567890");
        QCOMPARE(editor()->maxLength(), 8);
        m_grid->commitPendingEdit();
        QCOMPARE(m_rows[1][AccountColumn::Blz], std::string("12345678"));
    }

    void a_locked_cell_does_not_open_for_input()
    {
        select(0, 0);
        key(Qt::Key_Right); // text, but locked: ordinary navigation
        QVERIFY(!m_grid->isEditing());
        QCOMPARE(m_grid->currentIndex().column(), 1);
        QTest::keyClicks(m_grid.get(), "x");
        QCOMPARE(m_rows[0][AccountColumn::SearchName], std::string());
    }

    void a_hundred_thousand_rows_scroll_and_edit()
    {
        m_model->beginReplace();
        m_rows.assign(100000, AccountRow{});
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            m_rows[i][AccountColumn::Key] = std::to_string(i);
        m_model->endReplace(6, {{"OPKontoNr", false, 0}, {"Suchname", false, 0}, {"BankBLZ", true, 8}});
        select(99999, 2);
        m_grid->scrollTo(m_grid->currentIndex());
        QTest::keyClicks(m_grid.get(), "5");
        m_grid->commitPendingEdit();
        QCOMPARE(m_rows[99999][AccountColumn::Blz], std::string("5"));
        QTest::keyClick(m_grid.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(m_grid->currentIndex().row(), 0);
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::AccountGridTest)
#include "AccountGridTest.moc"
