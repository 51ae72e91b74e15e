#include "app/WorkingSetModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "gui/FakeWorkingSetStore.h"

namespace zelvan {

class WorkingSetModelTest : public QObject {
    Q_OBJECT

private:
    static std::vector<GridColumn> columns(bool editable) { return test::marloColumns(editable, 6); }

    static WorkingSetArray sampleRows(std::size_t count)
    {
        WorkingSetArray rows(count);
        for (std::size_t i = 0; i < count; ++i) {
            rows[i][AccountColumn::Key] = std::to_string(10000 + i);
            rows[i][AccountColumn::Blz] = "37040044";
        }
        return rows;
    }

private slots:
    void follows_the_model_rules_through_load_edit_and_rebind()
    {
        WorkingSetArray rows;
        WorkingSetModel model(rows);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

        model.beginReplace();
        rows = sampleRows(5);
        model.endReplace(6, columns(true));
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.columnCount(), 6);
        QCOMPARE(model.headerData(5, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 model.headerData(5, Qt::Horizontal).toString() + ": die IBAN des Kontos, wie sie gespeichert wird");
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
        QCOMPARE(model.columnCount(model.index(0, 0)), 0);

        QVERIFY(model.setData(model.index(1, 2), QStringLiteral("10020030")));
        model.setColumns(columns(false));
        model.cellsChanged(4, 7);

        model.beginReplace();
        rows.clear();
        model.endReplace(0, {});
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
    }

    void set_data_writes_the_array_and_reports_the_commit()
    {
        WorkingSetArray rows = sampleRows(3);
        WorkingSetModel model(rows);
        model.beginReplace();
        model.endReplace(6, columns(true));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy committed(&model, &WorkingSetModel::cellCommitted);

        QVERIFY(model.setData(model.index(2, 5), QStringLiteral("DE02120300000000202051")));
        QCOMPARE(rows[2][AccountColumn::Iban], std::string("DE02120300000000202051"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.front().at(0).toModelIndex(), model.index(2, 5));
        QCOMPARE(committed.count(), 1);
        QCOMPARE(committed.front().at(0).toInt(), 5);

        // The same value again changes nothing.
        QVERIFY(model.setData(model.index(2, 5), QStringLiteral("DE02120300000000202051")));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(committed.count(), 1);
    }

    void set_data_refuses_what_it_cannot_take()
    {
        WorkingSetArray rows = sampleRows(1);
        WorkingSetModel model(rows);
        model.beginReplace();
        model.endReplace(6, columns(true));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("123456789"))); // BLZ longer than 8
        QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("1"), Qt::DisplayRole));
        QVERIFY(!model.setData(model.index(5, 2), QStringLiteral("1")));
        QVERIFY(!model.setData(QModelIndex(), QStringLiteral("1")));
        QCOMPARE(model.data(QModelIndex()), QVariant());
        QCOMPARE(changed.count(), 0);
        model.setColumns(columns(false)); // bank columns not freed for input
        QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("1")));
        QCOMPARE(rows[0][AccountColumn::Blz], std::string("37040044"));
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::WorkingSetModelTest)
#include "WorkingSetModelTest.moc"
