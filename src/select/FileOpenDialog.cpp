#include "select/FileOpenDialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace zelvan {

namespace {

// Qt's file list writes sizes and dates in the machine's locale; this shows them in the
// program's (German) one, whatever the machine's language.
class ProgramLocaleColumns final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case 1:
            return info.isFile() ? QLocale().formattedDataSize(info.size()) : QIdentityProxyModel::data(index, role);
        case 3:
            return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }
};

void showColumnsInProgramLocale(QFileDialog& dialog)
{
    dialog.setProxyModel(new ProgramLocaleColumns(&dialog));
}

} // namespace

QString caseInsensitivePattern(std::string_view pattern)
{
    QString result;
    for (const QChar c : QString::fromUtf8(pattern.data(), static_cast<qsizetype>(pattern.size()))) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower == upper)
            result += c;
        else
            result += QLatin1Char('[') + lower + upper + QLatin1Char(']');
    }
    return result;
}

QStringList nameFilters(std::span<const FileFilter> filters)
{
    QStringList list;
    for (const auto& filter : filters) {
        const auto description =
            QString::fromUtf8(filter.description.data(), static_cast<qsizetype>(filter.description.size()));
        list << description + QStringLiteral(" (") + caseInsensitivePattern(filter.pattern) + QLatin1Char(')');
    }
    return list;
}

std::string QtFileOpenDialog::openFileName(QWidget* owner, const FileOpenRequest& request)
{
    QFileDialog dialog(owner, QString::fromUtf8(request.title.data(), static_cast<qsizetype>(request.title.size())),
                       QString::fromStdString(request.initialFolder));
    // Qt's own dialog, so that the hidden case-insensitive patterns and the German labels hold.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    showColumnsInProgramLocale(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(request.filters));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Öffnen"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtFileOpenDialog::chooseFolder(QWidget* owner, std::string_view title, const std::string& initialFolder)
{
    QFileDialog dialog(owner, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                       QString::fromStdString(initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    showColumnsInProgramLocale(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Ordner:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Auswählen"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

} // namespace zelvan
