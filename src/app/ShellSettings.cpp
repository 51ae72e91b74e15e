#include "app/ShellSettings.h"

#include <QRegularExpression>

namespace zelvan {

ShellSettings::ShellSettings() : m_settings(QSettings::IniFormat, QSettings::UserScope, QString::fromUtf8(kApplication))
{
}

QString ShellSettings::read(const QString& key, const QString& fallback) const
{
    const QString path = QString::fromUtf8(kSection) + QLatin1Char('/') + key;
    return m_settings.contains(path) ? m_settings.value(path).toString() : fallback;
}

void ShellSettings::write(const QString& key, const QString& value)
{
    m_settings.setValue(QString::fromUtf8(kSection) + QLatin1Char('/') + key, value);
}

std::optional<double> leadingNumber(const QString& text)
{
    static const QRegularExpression kNumber(QStringLiteral("^\\s*([+-]?(\\d+(\\.\\d*)?|\\.\\d+))"));
    const auto match = kNumber.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok); // QString::toDouble is always C locale
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace zelvan
