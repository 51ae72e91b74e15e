#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

#include "app/ShellSettings.h"

namespace zelvan {

namespace {

constexpr double kTwipsPerInch = 1440.0;

int toPixels(double twips, double twipsPerPixel)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

QString twipsText(int pixels, double twipsPerPixel)
{
    return QString::number(pixels * twipsPerPixel, 'g', 15);
}

QScreen* screenOf(const QWidget& window)
{
    QScreen* screen = window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

double twipsPerPixelX(const QWidget& window)
{
    const int dpi = window.logicalDpiX();
    return kTwipsPerInch / (dpi > 0 ? dpi : 96);
}

double twipsPerPixelY(const QWidget& window)
{
    const int dpi = window.logicalDpiY();
    return kTwipsPerInch / (dpi > 0 ? dpi : 96);
}

void centreWindow(QWidget& window)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QRect frame = window.geometry();
    window.move(area.x() + (area.width() - frame.width()) / 2, area.y() + (area.height() - frame.height()) / 2);
}

void PersistWindowPlacement(bool restore, ShellSettings& settings, QWidget& window)
{
    const double tx = twipsPerPixelX(window);
    const double ty = twipsPerPixelY(window);
    if (!restore) {
        const Qt::WindowStates states = window.windowState();
        const int state = states.testFlag(Qt::WindowMinimized) ? 1 : states.testFlag(Qt::WindowMaximized) ? 2 : 0;
        const QRect g = window.geometry();
        settings.write(QStringLiteral("State"), QString::number(state));
        settings.write(QStringLiteral("Top"), twipsText(g.y(), ty));
        settings.write(QStringLiteral("Left"), twipsText(g.x(), tx));
        settings.write(QStringLiteral("Height"), twipsText(g.height(), ty));
        settings.write(QStringLiteral("Width"), twipsText(g.width(), tx));
        return;
    }

    const QString state = settings.read(QStringLiteral("State"), QStringLiteral("0"));
    if (state == QLatin1String("2")) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        return;
    }
    if (state == QLatin1String("1")) {
        centreWindow(window);
        return;
    }
    const QString top = settings.read(QStringLiteral("Top"));
    if (top.isEmpty()) {
        centreWindow(window);
        return;
    }
    QRect g = window.geometry();
    g.moveTop(toPixels(leadingNumber(top).value_or(0.0), ty));
    if (const auto left = leadingNumber(settings.read(QStringLiteral("Left"))))
        g.moveLeft(toPixels(*left, tx));
    if (const auto height = leadingNumber(settings.read(QStringLiteral("Height"))))
        g.setHeight(toPixels(*height, ty));
    if (const auto width = leadingNumber(settings.read(QStringLiteral("Width"))))
        g.setWidth(toPixels(*width, tx));
    window.setGeometry(g);
}

} // namespace zelvan
