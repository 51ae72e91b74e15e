#include "app/ColumnFit.h"

#include <QFontMetricsF>
#include <QTest>

namespace zelvan {

class ColumnFitTest : public QObject {
    Q_OBJECT

private slots:
    void place_columns_data()
    {
        QTest::addColumn<QList<int>>("kinds");   // FitKind by column
        QTest::addColumn<QList<int>>("content"); // widest cell
        QTest::addColumn<QList<int>>("least");   // heading or sample
        QTest::addColumn<int>("visible");
        QTest::addColumn<QList<int>>("widths");
        const int content = int(FitKind::Content);
        const int share = int(FitKind::UpToShare); // 10 % here
        const int rest = int(FitKind::Rest);
        QTest::newRow("content, or the heading when wider")
            << QList<int>{content, content} << QList<int>{80, 20} << QList<int>{30, 50} << 500 << QList<int>{80, 50};
        QTest::newRow("share caps the content")
            << QList<int>{share, share} << QList<int>{300, 30} << QList<int>{20, 20} << 1000 << QList<int>{100, 30};
        QTest::newRow("share never below the heading")
            << QList<int>{share} << QList<int>{300} << QList<int>{120} << 1000 << QList<int>{120};
        QTest::newRow("rest takes what is left, up to the right edge")
            << QList<int>{content, rest, content} << QList<int>{100, 900, 50} << QList<int>{10, 40, 10} << 600
            << QList<int>{100, 450, 50};
        QTest::newRow("rest keeps its heading when nothing is left")
            << QList<int>{content, rest} << QList<int>{700, 900} << QList<int>{10, 40} << 600 << QList<int>{700, 40};
        QTest::newRow("a second rest column fits its content")
            << QList<int>{rest, rest} << QList<int>{10, 30} << QList<int>{5, 5} << 100 << QList<int>{70, 30};
        QTest::newRow("columns without a rule fit their content")
            << QList<int>{rest} << QList<int>{10, 30, 25} << QList<int>{5, 5, 40} << 200 << QList<int>{130, 30, 40};
    }

    void place_columns()
    {
        QFETCH(QList<int>, kinds);
        QFETCH(QList<int>, content);
        QFETCH(QList<int>, least);
        QFETCH(int, visible);
        QFETCH(QList<int>, widths);
        std::vector<ColumnFit> fits;
        for (int kind : kinds)
            fits.push_back({static_cast<FitKind>(kind), 0.10});
        std::vector<ColumnNeed> needs;
        for (qsizetype i = 0; i < content.size(); ++i)
            needs.push_back({content[i], least[i]});
        const auto placed = placeColumns(fits, needs, visible);
        QCOMPARE(QList<int>(placed.begin(), placed.end()), widths);
    }

    void text_widths_add_the_characters_and_measure_shaped_texts_whole()
    {
        TextWidths widths(QFont(QStringLiteral("DejaVu Sans"), 10));
        const QFontMetricsF metrics(QFont(QStringLiteral("DejaVu Sans"), 10));
        QCOMPARE(widths.of(QString()), 0.0);
        const QString iban = QStringLiteral("DE89370400440532013000");
        double sum = 0.0;
        for (const QChar c : iban)
            sum += metrics.horizontalAdvance(c);
        QCOMPARE(widths.of(iban), sum);
        QVERIFY(widths.of(iban) >= widths.exact(iban) - 0.01);
        // Umlauts and the euro sign come from the table and the cache alike.
        QVERIFY(widths.of(QStringLiteral("Müller €")) >= widths.exact(QStringLiteral("Müller €")) - 0.01);
        // A combining mark is shaped with its letter: the text is measured whole.
        const QString combined = QStringLiteral("Mu\u0308ller");
        QVERIFY(widths.of(combined) >= widths.exact(combined) - 0.01);
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::ColumnFitTest)
#include "ColumnFitTest.moc"
