#pragma once

#include <QString>
#include <QStringList>

#include <span>
#include <string>
#include <string_view>

#include "search/ClientFileKinds.h"

class QWidget;

namespace zelvan {

// What a file-open dialog is asked for: title, type list and the folder it starts in.
struct FileOpenRequest {
    std::string_view title;
    std::span<const FileFilter> filters;
    std::string initialFolder;
};

// The seam around the modal file-open and folder dialogs, so that tests can say the next file
// name or folder.
class FileOpenDialog {
  public:
    virtual ~FileOpenDialog() = default;
    // The chosen file's full path, or "" when the dialog was cancelled.
    virtual std::string openFileName(QWidget* owner, const FileOpenRequest& request) = 0;
    // The chosen folder's full path, or "" when the dialog was cancelled.
    virtual std::string chooseFolder(QWidget* owner, std::string_view title, const std::string& initialFolder) = 0;
};

// The real dialogs, with German texts. The type list matches names without regard to case.
class QtFileOpenDialog final : public FileOpenDialog {
  public:
    std::string openFileName(QWidget* owner, const FileOpenRequest& request) override;
    std::string chooseFolder(QWidget* owner, std::string_view title, const std::string& initialFolder) override;
};

// "marl*.mdb" becomes "[mM][aA][rR][lL]*.[mM][dD][bB]": the dialog's own matching is case-sensitive.
QString caseInsensitivePattern(std::string_view pattern);

// One entry of the dialog's type list: the description as shown, followed by the pattern the
// dialog matches with (hidden from view).
QStringList nameFilters(std::span<const FileFilter> filters);

} // namespace zelvan
