#include "app/AccountGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "app/WorkingSetModel.h"
#include "gui/CellToolTip.h"
#include "gui/FakeWorkingSetStore.h"

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

    // The main window's rules for the first eight columns.
    static constexpr ColumnFit kFits[] = {{FitKind::Content},
                                          {FitKind::UpToShare, 0.12},
                                          {FitKind::Content, 0.0, "00000000"},
                                          {FitKind::Content, 0.0, "0000000000"},
                                          {FitKind::Content, 0.0, "WWWWDEWWXXX"},
                                          {FitKind::Content, 0.0, "DE00000000000000000000"},
                                          {FitKind::Rest},
                                          {FitKind::UpToShare, 0.10}};
    static constexpr std::array kContentColumns{AccountColumn::Key, AccountColumn::Blz, AccountColumn::Account,
                                                AccountColumn::Bic, AccountColumn::Iban};

    // Eight loaded columns of converted rows, the last one with long texts.
    void loadConvertedRows(std::size_t count = 3)
    {
        m_model->beginReplace();
        m_rows = WorkingSetArray(count);
        for (std::size_t i = 0; i < count; ++i) {
            auto& row = m_rows[i];
            row[AccountColumn::Key] = std::to_string(10000 + i);
            row[AccountColumn::SearchName] = "Kunde " + std::to_string(i);
            row[AccountColumn::Blz] = "37040044";
            row[AccountColumn::Account] = "532013000";
            row[AccountColumn::Bic] = "COBADEFFXXX";
            row[AccountColumn::Iban] = "DE89370400440532013000";
            row[AccountColumn::BankName] = "Commerzbank";
        }
        auto& last = m_rows.back();
        last[AccountColumn::Key] = "ZK-2026-000123";
        last[AccountColumn::SearchName] = "Müller-Lüdenscheidt Grundstücksverwaltung";
        last[AccountColumn::Hint] =
            "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber";
        m_model->endReplace(8, test::marloColumns(true));
    }
    int widthOf(AccountColumn column) const { return m_grid->columnWidth(static_cast<int>(column)); }
    int totalWidth() const
    {
        int total = 0;
        for (int column = 0; column < m_model->columnCount(); ++column)
            total += m_grid->columnWidth(column);
        return total;
    }
    void verifyContentWhole() { QCOMPARE(test::shortenedContentCell(*m_grid), QString()); }
    QString toolTipAt(const QModelIndex& index) { return test::toolTipAt(*m_grid, index); }

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
        m_model->endReplace(6, test::marloColumns(true, 6));
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

    void fitted_columns_show_their_whole_content_and_a_resize_goes_to_the_hint_and_shared_columns()
    {
        m_grid->setColumnFits(kFits);
        m_grid->resize(1000, 300);
        loadConvertedRows();
        verifyContentWhole();
        QCOMPARE(totalWidth(), m_grid->viewport()->width());
        // A search name longer than its share keeps to its share, and shows whole as tooltip.
        QCOMPARE(widthOf(AccountColumn::SearchName), int(m_grid->viewport()->width() * 0.12));

        std::vector<int> content;
        for (const auto column : kContentColumns)
            content.push_back(widthOf(column));
        const int hint = widthOf(AccountColumn::Hint);
        const int flexible = hint + widthOf(AccountColumn::SearchName) + widthOf(AccountColumn::BankName);
        m_grid->resize(1200, 300);
        QVERIFY(widthOf(AccountColumn::Hint) > hint);
        QCOMPARE(widthOf(AccountColumn::Hint) + widthOf(AccountColumn::SearchName) + widthOf(AccountColumn::BankName),
                 flexible + 200);
        for (std::size_t i = 0; i < kContentColumns.size(); ++i)
            QCOMPARE(widthOf(kContentColumns[i]), content[i]);
        QCOMPARE(totalWidth(), m_grid->viewport()->width());

        // Narrow: the content stays whole, the hint keeps its heading, and the grid scrolls.
        m_grid->resize(300, 300);
        verifyContentWhole();
        QCOMPARE(widthOf(AccountColumn::Hint), m_grid->horizontalHeader()->sectionSizeHint(int(AccountColumn::Hint)));
        QVERIFY(m_grid->horizontalScrollBar()->maximum() > 0);
    }

    void columns_follow_a_reload_a_conversion_an_edit_and_a_new_font()
    {
        m_grid->setColumnFits(kFits);
        m_grid->resize(1400, 300);
        loadConvertedRows();
        const int wideKey = widthOf(AccountColumn::Key);
        // A reload with short keys narrows the key column to its heading.
        m_model->beginReplace();
        m_rows.pop_back();
        m_model->endReplace(8, test::marloColumns(true));
        QVERIFY(widthOf(AccountColumn::Key) < wideKey);
        QCOMPARE(widthOf(AccountColumn::Key), m_grid->horizontalHeader()->sectionSizeHint(0));
        QCOMPARE(totalWidth(), m_grid->viewport()->width());

        // A conversion that writes longer BICs into every row widens the BIC column.
        const int bic = widthOf(AccountColumn::Bic);
        for (auto& row : m_rows)
            row[AccountColumn::Bic] = "WWWWWWWWWWWWWWW";
        m_model->cellsChanged(4, 7);
        QVERIFY(widthOf(AccountColumn::Bic) > bic);
        verifyContentWhole();

        // An edit of one cell to a longer IBAN widens its column; the hint column gives way.
        const int iban = widthOf(AccountColumn::Iban);
        QVERIFY(m_model->setData(m_model->index(1, 5), QStringLiteral("LC55HEMM000100010012001200023015")));
        QVERIFY(widthOf(AccountColumn::Iban) > iban);
        verifyContentWhole();
        QCOMPARE(totalWidth(), m_grid->viewport()->width());

        // A new font fits the columns anew.
        const int edited = widthOf(AccountColumn::Iban);
        QFont larger = m_grid->font();
        larger.setPointSizeF(larger.pointSizeF() * 1.5);
        m_grid->setFont(larger);
        QVERIFY(widthOf(AccountColumn::Iban) > edited);
        verifyContentWhole();
    }

    void a_cut_cell_shows_its_whole_text_as_tooltip()
    {
        m_grid->setColumnFits(kFits);
        m_grid->resize(860, 300);
        loadConvertedRows();
        const QModelIndex hint = m_model->index(2, int(AccountColumn::Hint));
        QVERIFY(m_grid->isCut(hint));
        QVERIFY(test::drawnShortened(*m_grid, hint));
        QVERIFY(toolTipAt(hint).startsWith(QString::fromStdString(m_rows[2][AccountColumn::Hint])));
        const QModelIndex name = m_model->index(2, int(AccountColumn::SearchName));
        QVERIFY(m_grid->isCut(name));
        QCOMPARE(toolTipAt(name), QStringLiteral("Müller-Lüdenscheidt Grundstücksverwaltung"));
        // Markup shows as it stands.
        m_rows[2][AccountColumn::SearchName] = "<b>Meier & Söhne</b> Gebäudereinigung und Hausmeisterdienste";
        m_model->cellsChanged(1, 1);
        QVERIFY2(toolTipAt(name).contains(QStringLiteral("&lt;b&gt;Meier &amp; Söhne&lt;/b&gt;")),
                 qPrintable(toolTipAt(name)));
        QVERIFY(!m_grid->isCut(m_model->index(0, int(AccountColumn::Hint)))); // empty
        // A whole cell has none.
        const QModelIndex iban = m_model->index(2, int(AccountColumn::Iban));
        QVERIFY(!m_grid->isCut(iban));
        QCOMPARE(toolTipAt(iban), QString());
    }

    void arrows_open_a_cell_with_text_at_its_edge_and_move_past_an_empty_one_data()
    {
        QTest::addColumn<bool>("browse");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("caret"); // -1: no editor, the current cell moved
        QTest::addColumn<int>("then");  // the current column afterwards
        QTest::newRow("links, Text: Cursor vorn") << false << 0 << 3 << int(Qt::Key_Left) << 0 << 3;
        QTest::newRow("rechts, Text: Cursor hinten") << false << 0 << 2 << int(Qt::Key_Right) << 8 << 2;
        QTest::newRow("rechts, leer") << false << 1 << 3 << int(Qt::Key_Right) << -1 << 4;
        QTest::newRow("links, leer") << false << 1 << 4 << int(Qt::Key_Left) << -1 << 3;
        QTest::newRow("rechts, Text gesperrt") << false << 0 << 0 << int(Qt::Key_Right) << -1 << 1;
        QTest::newRow("links, Blättern") << true << 0 << 3 << int(Qt::Key_Left) << 0 << 3;
    }

    void arrows_open_a_cell_with_text_at_its_edge_and_move_past_an_empty_one()
    {
        QFETCH(bool, browse);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, pressed);
        QFETCH(int, caret);
        QFETCH(int, then);
        if (browse)
            m_grid->setMode(AccountGrid::Mode::Browse);
        select(row, column);
        key(static_cast<Qt::Key>(pressed));
        QCOMPARE(m_grid->isEditing(), caret >= 0);
        QCOMPARE(m_grid->currentIndex().column(), then);
        if (caret < 0)
            return;
        QCOMPARE(editor()->cursorPosition(), caret);
        QVERIFY(!editor()->hasSelectedText());
        // Inside the editor the arrows move the caret.
        key(Qt::Key_Left);
        QCOMPARE(editor()->cursorPosition(), std::max(caret - 1, 0));
        QCOMPARE(m_grid->currentIndex().column(), then);
    }

    void escape_goes_to_browse_mode_then_asks_to_close_and_enter_returns_at_column_zero()
    {
        QSignalSpy close(m_grid.get(), &AccountGrid::closeRequested);
        select(2, 4);
        key(Qt::Key_Return); // Enter in editor mode changes no mode
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Editor);
        key(Qt::Key_Escape);
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Browse);
        QCOMPARE(m_grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(close.count(), 0);
        key(Qt::Key_Return);
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Editor);
        QCOMPARE(m_grid->currentIndex(), m_model->index(2, 0));
        key(Qt::Key_Escape);
        key(Qt::Key_Escape);
        QCOMPARE(close.count(), 1);
    }

    void escape_in_an_editor_discards_a_change_and_keeps_the_mode_else_goes_to_browse_mode()
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
        // Unchanged, the editor closes into browse mode.
        key(Qt::Key_Right);
        QVERIFY(!m_grid->hasPendingChange());
        key(Qt::Key_Escape);
        QVERIFY(!m_grid->isEditing());
        QCOMPARE(m_grid->mode(), AccountGrid::Mode::Browse);
        QCOMPARE(close.count(), 0);
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

    void ctrl_a_in_an_open_cell_selects_its_text_only()
    {
        select(0, 2);
        key(Qt::Key_F2);
        QTest::keyClick(m_grid.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(editor()->selectedText(), QStringLiteral("37040044"));
        QCOMPARE(m_grid->selectionModel()->selectedIndexes().size(), 1);
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
};

} // namespace zelvan

QTEST_MAIN(zelvan::AccountGridTest)
#include "AccountGridTest.moc"
