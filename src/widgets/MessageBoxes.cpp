#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <vector>

#include "core/ProgramState.h"

namespace zelvan {

namespace {

struct ButtonText {
    MessageAnswer answer;
    const char* text;
    QMessageBox::ButtonRole role;
};

// The German captions of the standard buttons, in the order they stand in a box. A question
// answers to J, N and A (with or without Alt).
constexpr ButtonText kYes{MessageAnswer::Yes, "&Ja", QMessageBox::YesRole};
constexpr ButtonText kNo{MessageAnswer::No, "&Nein", QMessageBox::NoRole};
constexpr ButtonText kCancel{MessageAnswer::Cancel, "&Abbrechen", QMessageBox::RejectRole};
constexpr ButtonText kOk{MessageAnswer::Ok, "OK", QMessageBox::AcceptRole};

std::vector<ButtonText> buttonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return {kOk};
    case MessageButtons::OkCancel:
        return {kOk, kCancel};
    case MessageButtons::YesNo:
        return {kYes, kNo};
    case MessageButtons::YesNoCancel:
        return {kYes, kNo, kCancel};
    }
    return {kOk};
}

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool openInFileManager(const QString& folder)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void openOrSay(QWidget* owner, const FolderOpener& open, const QString& path)
{
    if (!open || open(path))
        return;
    QMessageBox::warning(owner, QString::fromUtf8(kApplicationTitle.data(), qsizetype(kApplicationTitle.size())),
                         QStringLiteral("Das System konnte \"%1\" nicht öffnen: kein Programm dafür ist eingerichtet "
                                        "oder es ließ sich nicht starten.")
                             .arg(path));
}

MessageAnswer QtMessageBoxes::showMessage(const MessageRequest& request)
{
    QString text = QString::fromStdString(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(iconOf(request.icon), QString::fromStdString(request.title), text, QMessageBox::NoButton, m_owner);
    const auto buttons = buttonsOf(request.buttons);
    std::vector<QPushButton*> added;
    for (const auto& button : buttons)
        added.push_back(box.addButton(QString::fromUtf8(button.text), button.role));
    const auto defaultIndex = static_cast<std::size_t>(request.defaultButton);
    box.setDefaultButton(added[defaultIndex < added.size() ? defaultIndex : 0]);
    // The close box answers like Cancel where there is one, else like the default button.
    const MessageAnswer fallback = defaultAnswer(request);
    box.setEscapeButton(added.back());
    const QString folder = QString::fromStdString(request.folder);
    QPushButton* openFolder =
        folder.isEmpty() ? nullptr : box.addButton(QString::fromUtf8(kOpenFolderCaption), QMessageBox::ActionRole);

    const bool hadOverride = QApplication::overrideCursor() != nullptr;
    if (hadOverride)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (hadOverride)
        QApplication::restoreOverrideCursor();

    if (openFolder && box.clickedButton() == openFolder) {
        openOrSay(m_owner, m_openFolder, folder);
        return fallback;
    }
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i])
            return buttons[i].answer;
    }
    return fallback;
}

} // namespace zelvan
