#pragma once

#include "core/UserInterface.h"

class QWidget;

namespace zelvan {

// Real message boxes with German buttons ("Ja", "Nein", "Abbrechen", "OK"), owned by a window.
// Only showMessage does anything; status line, pointer and event turns belong to the window.
class QtMessageBoxes final : public UserInterface {
  public:
    explicit QtMessageBoxes(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    void setStatusText(std::string_view) override {}
    void setBusy(bool) override {}
    MessageAnswer showMessage(const MessageRequest& request) override;
    void processEvents() override {}

  private:
    QWidget* m_owner;
};

} // namespace zelvan
