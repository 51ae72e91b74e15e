#include "app/AboutBox.h"

#include <QMessageBox>
#include <QtGlobal>

#include "app/FormatLine.h"
#include "clientdb/Database.h"
#include "core/Version.h"

namespace zelvan {

namespace {

constexpr const char* kAboutTitle = "Über Zelvan Konverter";

} // namespace

std::string aboutText(const BankFileResult& file, int banks, const std::string& modified)
{
    std::string text = std::string("Zelvan Konverter ") + kVersionText +
                       "\nIBAN und BIC aus Bankleitzahl und Kontonummer nach den IBAN-Regeln der Deutschen "
                       "Bundesbank.\n\n";
    text += bankFileToolTip(file, banks, modified);
    if (file.ok && !file.sample)
        text += "\nKeine Beispieldatei.";
    text += std::string("\n\nQt ") + qVersion() + ", SQLite " + std::string(sqliteVersion());
    return text;
}

void showAboutBox(QWidget* owner, const std::string& text)
{
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromUtf8(kAboutTitle), QString::fromStdString(text),
                                QMessageBox::Ok, owner);
    box->setObjectName(QStringLiteral("UeberZelvanKonverter"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace zelvan
