#include "app/GridViewModel.h"

#include <QTest>

#include "app/WorkingSetModel.h"
#include "gui/FakeWorkingSetStore.h"

namespace zelvan {

class GridViewModelTest : public QObject {
    Q_OBJECT

private:
    // Key, search name, BLZ, account, hint.
    static WorkingSetArray sampleRows()
    {
        const std::vector<std::array<const char*, 5>> samples{
            {"10002", "Weber", "12345678", "1234", "3-BLZ ist nicht im Bundesbank-Bestand"},
            {"9", "MÜLLER", "37040044", "532013000", ""},
            {"10000", "schmidt", "", "", "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer"},
            {"10001", "Zander", "50010517", "5400000", ""},
        };
        WorkingSetArray rows;
        for (const auto& sample : samples) {
            AccountRow row;
            row[AccountColumn::Key] = sample[0];
            row[AccountColumn::SearchName] = sample[1];
            row[AccountColumn::Blz] = sample[2];
            row[AccountColumn::Account] = sample[3];
            row[AccountColumn::Hint] = sample[4];
            rows.push_back(row);
        }
        return rows;
    }

    static QStringList keysShown(const QAbstractItemModel& view)
    {
        QStringList keys;
        for (int row = 0; row < view.rowCount(); ++row)
            keys << view.index(row, 0).data().toString();
        return keys;
    }

    WorkingSetArray m_rows;
    std::unique_ptr<WorkingSetModel> m_model;
    std::unique_ptr<GridViewModel> m_view;

private slots:
    void init()
    {
        m_rows.clear();
        m_model = std::make_unique<WorkingSetModel>(m_rows);
        m_view = std::make_unique<GridViewModel>(*m_model);
        m_model->beginReplace();
        m_rows = sampleRows();
        m_model->endReplace(8, test::marloColumns(true));
    }
    void cleanup()
    {
        m_view.reset();
        m_model.reset();
    }

    void a_click_on_a_heading_sorts_up_then_down_then_back_to_the_load_order()
    {
        const SortState none;
        const SortState up{2, Qt::AscendingOrder};
        const SortState down{2, Qt::DescendingOrder};
        QCOMPARE(nextSortOnClick(none, 2), up);
        QCOMPARE(nextSortOnClick(up, 2), down);
        QCOMPARE(nextSortOnClick(down, 2), none);
        // Another column starts ascending, from either order.
        QCOMPARE(nextSortOnClick(up, 3), (SortState{3, Qt::AscendingOrder}));
        QCOMPARE(nextSortOnClick(down, 0), (SortState{0, Qt::AscendingOrder}));
    }

    void cells_compare_as_numbers_when_both_are_whole_numbers_else_as_text()
    {
        struct Case {
            const char* a;
            const char* b;
            int expected;
        };
        const Case cases[] = {
            {"9", "10000", -1},
            {"10000", "9", 1},
            {"0009", "9", 1},                 // same value: the shorter text first
            {"12345678901234567890", "9", 1}, // more digits than any integer holds
            {"10000", "10000", 0},
            {"", "1", -1}, // empty first
            {"", "", 0},
            {"schmidt", "Weber", -1},   // without regard to case
            {"Schmidt", "schmidt", -1}, // then as stored
            {"Weber", "Webers", -1},
            {"1234", "12a", -1}, // a digit before a letter
            {"DE89", "de12", 1},
        };
        for (const auto& c : cases) {
            QVERIFY2(compareCells(c.a, c.b) == c.expected, qPrintable(QStringLiteral("%1 %2").arg(c.a, c.b)));
            QVERIFY2(compareCells(c.b, c.a) == -c.expected, qPrintable(QStringLiteral("%1 %2").arg(c.b, c.a)));
        }
    }

    void an_edit_in_a_sorted_view_moves_its_row_to_its_place()
    {
        m_view->sort(2, Qt::AscendingOrder); // BLZ: "", 12345678, 37040044, 50010517
        QCOMPARE(keysShown(*m_view), (QStringList{"10000", "10002", "9", "10001"}));
        QVERIFY(m_view->setData(m_view->index(0, 2), QStringLiteral("40000000")));
        QCOMPARE(keysShown(*m_view), (QStringList{"10002", "9", "10000", "10001"}));
        QCOMPARE(m_rows[2][AccountColumn::Blz], std::string("40000000"));
        m_view->sort(1, Qt::AscendingOrder); // search names, without regard to case
        QCOMPARE(keysShown(*m_view), (QStringList{"9", "10000", "10002", "10001"}));
    }

    void find_looks_into_key_search_name_blz_and_account_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("found");
        QTest::newRow("key") << "10001" << -1 << 3;
        QTest::newRow("search name, other case") << "SCHMI" << -1 << 2;
        QTest::newRow("umlaut, other case") << "müll" << -1 << 1;
        QTest::newRow("BLZ") << "3704" << -1 << 1;
        QTest::newRow("account") << "5400" << -1 << 3;
        QTest::newRow("next after the current row") << "1000" << 2 << 3;
        QTest::newRow("wraps round to the top") << "1000" << 3 << 0;
        QTest::newRow("the current row itself, last") << "Zander" << 3 << 3;
        QTest::newRow("not the hint") << "Bundesbank" << -1 << -1;
        QTest::newRow("not found") << "Meier" << -1 << -1;
        QTest::newRow("empty") << "" << -1 << -1;
        QTest::newRow("row out of range") << "Weber" << 17 << 0;
    }

    void find_looks_into_key_search_name_blz_and_account()
    {
        QFETCH(QString, text);
        QFETCH(int, after);
        QFETCH(int, found);
        QCOMPARE(m_view->findNext(text, after), found);
    }

    void find_goes_in_view_order()
    {
        m_view->sort(0, Qt::AscendingOrder); // 9, 10000, 10001, 10002
        QCOMPARE(m_view->findNext(QStringLiteral("1000"), -1), 1);
        QCOMPARE(m_view->findNext(QStringLiteral("1000"), 3), 1);
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::GridViewModelTest)
#include "GridViewModelTest.moc"
