#pragma once

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QMenuBar;
class QPushButton;
class QWidget;

namespace zelvan {

class AccountGrid;

// What the menu bar drives: the window's five command buttons (Command1 by index), the view
// filter, the grid, and the window's own handlers.
struct MainMenuControls {
    std::array<QPushButton*, 5> commands{};
    QCheckBox* onlyHinted = nullptr;
    AccountGrid* grid = nullptr;
    std::function<void(int)> command; // Command1_Click
    std::function<void()> find;
    std::function<void()> findNext;
    std::function<void()> restore; // "Sicherung zurückspielen..."
    // "Hilfe" (F1) and "Über Zelvan Konverter", as the help provides them.
    QAction* help = nullptr;
    QAction* about = nullptr;
};

// The main window's menu bar "Datei", "Bearbeiten", "Ansicht", "Hilfe" with the usual keys. Each
// command is one QAction: its button triggers the action, and the action follows the button's
// enabled state, so menu, key and button always do the same.
class MainMenu final : public QObject {
    Q_OBJECT

public:
    MainMenu(QWidget& window, const MainMenuControls& controls);

    QMenuBar* menuBar() const { return m_bar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainMenuControls m_controls;
    std::array<QAction*, 5> m_commandActions{};
    QMenuBar* m_bar = nullptr;
};

} // namespace zelvan
