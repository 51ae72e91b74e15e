#pragma once

#include <QString>

#include <functional>

#include "core/UserInterface.h"

class QWidget;

namespace zelvan {

// Shows a folder in the desktop's file manager, or a file in its program; false when the system
// could not.
using FolderOpener = std::function<bool(const QString& folder)>;
bool openInFileManager(const QString& folder);
// Opens the path with `open` and, when the system cannot, says so and names it.
void openOrSay(QWidget* owner, const FolderOpener& open, const QString& path);

inline constexpr const char* kOpenFolderCaption = "Ordner öffnen";

// Real message boxes with German buttons ("&Ja", "&Nein", "&Abbrechen", "OK"), owned by a window.
// A box that names a folder (the save summary) has a button "Ordner öffnen" besides, which
// opens the folder and closes the box as its default button would.
// Only showMessage does anything; status line, pointer and event turns belong to the window.
class QtMessageBoxes final : public UserInterface {
  public:
    explicit QtMessageBoxes(QWidget* owner = nullptr, FolderOpener openFolder = openInFileManager)
        : m_owner(owner), m_openFolder(std::move(openFolder))
    {
    }
    void setOwner(QWidget* owner) { m_owner = owner; }

    void setStatusText(std::string_view) override {}
    void setBusy(bool) override {}
    MessageAnswer showMessage(const MessageRequest& request) override;
    void processEvents() override {}

  private:
    QWidget* m_owner;
    FolderOpener m_openFolder;
};

} // namespace zelvan
