#pragma once

#include <QSettings>
#include <QString>

#include <optional>

namespace zelvan {

// The per-user settings store: application "Zelvan Konverter", every key in "Einstellungen".
// All values are strings.
class ShellSettings {
  public:
    static constexpr const char* kApplication = "Zelvan Konverter";
    static constexpr const char* kSection = "Einstellungen";

    ShellSettings();

    // The stored text, or `fallback` when the key is absent.
    QString read(const QString& key, const QString& fallback = {}) const;
    void write(const QString& key, const QString& value);
    void sync() { m_settings.sync(); }

  private:
    QSettings m_settings;
};

// The leading decimal number of a text, read without regard to the locale ("." as decimal
// point, leading blanks skipped); nothing when the text does not start with one.
std::optional<double> leadingNumber(const QString& text);

// A whole number that the text is exactly (blanks around it allowed); nothing otherwise.
std::optional<int> wholeNumber(const QString& text);

} // namespace zelvan
