#include "widgets/ProgramFont.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace zelvan {

class ProgramFontTest : public QObject {
    Q_OBJECT

private slots:
    void every_control_gets_name_and_size_but_keeps_its_weight()
    {
        QWidget window;
        auto* label = new QLabel(QStringLiteral("Überschrift"));
        QFont bold = label->font();
        bold.setBold(true);
        bold.setPointSize(20);
        label->setFont(bold);
        auto* box = new QCheckBox(QStringLiteral("Bank Name überschreiben"));
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(label);
        layout->addWidget(box);

        ApplyProgramFont(window);
        for (const QWidget* widget :
             {static_cast<QWidget*>(&window), static_cast<QWidget*>(label), static_cast<QWidget*>(box)}) {
            QCOMPARE(widget->font().family(), ProgramFont().family());
            QCOMPARE(widget->font().pointSize(), 10);
        }
        QVERIFY(label->font().bold());
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::ProgramFontTest)
#include "ProgramFontTest.moc"
