#include "app/WindowPlacement.h"

#include <QScreen>
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

    void store(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        ShellSettings settings;
        for (const auto& [key, value] : values)
            settings.write(QString::fromUtf8(key), QString::fromUtf8(value));
        settings.sync();
    }
    static QRect centred(const QWidget& window)
    {
        const QRect screen = window.screen()->geometry();
        return QRect((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2, window.width(),
                     window.height());
    }
    static int px(double twips, const QWidget& window) { return qRound(twips / twipsPerPixelY(window)); }

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
        QCOMPARE(leadingNumber(QStringLiteral("-30")), std::optional<double>(-30));
        QCOMPARE(leadingNumber(QStringLiteral("1,5")), std::optional<double>(1));
        QCOMPARE(leadingNumber(QStringLiteral("abc")), std::nullopt);
        QCOMPARE(leadingNumber(QString()), std::nullopt);
        QCOMPARE(wholeNumber(QStringLiteral(" 4 ")), std::optional<int>(4));
        QCOMPARE(wholeNumber(QStringLiteral("4a")), std::nullopt);
    }

    void state_two_maximises_and_reads_nothing_else()
    {
        store({{"State", "2"}, {"Top", "0"}, {"Left", "0"}});
        QWidget window;
        ShellSettings settings;
        PersistWindowPlacement(true, settings, window);
        QVERIFY(window.windowState().testFlag(Qt::WindowMaximized));
    }

    void top_without_left_keeps_the_designed_left()
    {
        store({{"State", "0"}, {"Top", "1500"}, {"Height", "4500"}});
        QWidget window;
        window.setGeometry(40, 50, 500, 300);
        ShellSettings settings;
        PersistWindowPlacement(true, settings, window);
        QCOMPARE(window.geometry(), QRect(40, px(1500, window), 500, px(4500, window)));
    }

    void without_top_the_window_is_centred_even_with_the_other_keys()
    {
        store({{"State", "0"}, {"Left", "1500"}, {"Height", "4500"}, {"Width", "6000"}});
        QWidget window;
        window.resize(500, 300);
        ShellSettings settings;
        PersistWindowPlacement(true, settings, window);
        QCOMPARE(window.geometry(), centred(window));
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
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::WindowPlacementTest)
#include "WindowPlacementTest.moc"
