#include "app/WindowPlacement.h"

#include <QSettings>
#include <QTest>
#include <QWidget>

#include <filesystem>

#include "app/ShellSettings.h"
#include "support/TempDir.h"

namespace zelvan {

class WindowPlacementTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(m_dir.path().string()));
    }
    void init() { std::filesystem::remove(m_dir.path() / "Zelvan Konverter.ini"); }

    void leading_numbers_are_read_without_regard_to_the_locale()
    {
        QCOMPARE(leadingNumber(QStringLiteral("1500")), std::optional<double>(1500));
        QCOMPARE(leadingNumber(QStringLiteral(" 1234.5 twips")), std::optional<double>(1234.5));
        QCOMPARE(leadingNumber(QStringLiteral("1,5")), std::optional<double>(1));
        QCOMPARE(leadingNumber(QStringLiteral("abc")), std::nullopt);
        QCOMPARE(wholeNumber(QStringLiteral(" 4 ")), std::optional<int>(4));
        QCOMPARE(wholeNumber(QStringLiteral("4a")), std::nullopt);
    }

    void saving_writes_state_and_rectangle_in_twips()
    {
        QWidget window;
        window.setGeometry(100, 60, 400, 200);
        ShellSettings settings;
        PersistWindowPlacement(false, settings, window);
        const double tx = twipsPerPixelX(window);
        const double ty = twipsPerPixelY(window);
        QCOMPARE(settings.read(QStringLiteral("State")), QStringLiteral("0"));
        QCOMPARE(settings.read(QStringLiteral("Top")).toDouble(), 60 * ty);
        QCOMPARE(settings.read(QStringLiteral("Left")).toDouble(), 100 * tx);
        QCOMPARE(settings.read(QStringLiteral("Height")).toDouble(), 200 * ty);
        QCOMPARE(settings.read(QStringLiteral("Width")).toDouble(), 400 * tx);

        // And back again.
        QWidget other;
        PersistWindowPlacement(true, settings, other);
        QCOMPARE(other.geometry(), QRect(100, 60, 400, 200));
        // State 2 maximises.
        settings.write(QStringLiteral("State"), QStringLiteral("2"));
        PersistWindowPlacement(true, settings, other);
        QVERIFY(other.windowState().testFlag(Qt::WindowMaximized));
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::WindowPlacementTest)
#include "WindowPlacementTest.moc"
