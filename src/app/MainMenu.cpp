#include "app/MainMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QWidget>

#include "app/AccountGrid.h"
#include "app/SortMenu.h"

namespace zelvan {

namespace {

// The menu entry, usual key and button tooltip of Command1(0..4). The entries may repeat a
// button's access key: they are reached inside their menu only.
struct CommandText {
    const char* entry;
    const char* key; // portable text of the key sequence
    const char* toolTip;
};
constexpr std::array<CommandText, 5> kCommandTexts{{
    {"Daten &neu einlesen", "F5",
     "Liest die Bankverbindungen der Datenbank neu ein; ungespeicherte Änderungen können vorher gespeichert werden"},
    {"&IBAN / BIC einsetzen", "Ctrl+I",
     "Berechnet IBAN und BIC aller eingelesenen Bankverbindungen nach den Regeln der Bundesbank"},
    {"Daten &speichern", "Ctrl+S",
     "Schreibt IBAN, BIC und Hinweise in die Datenbank; vor der ersten Änderung wird eine Sicherungskopie angelegt"},
    {"&Beenden", "Ctrl+Q", "Beendet das Programm; ungespeicherte Änderungen können vorher gespeichert werden"},
    {"Datenbank &auswählen...", "Ctrl+O", "Wählt die Datenbank aus, deren Bankverbindungen umgewandelt werden sollen"},
}};

// The order of the commands in the menu "Datei".
constexpr std::array<int, 4> kFileCommands{4, 0, 2, 3};
constexpr int kConvertCommand = 1;

} // namespace

MainMenu::MainMenu(QWidget& window, const MainMenuControls& controls) : QObject(&window), m_controls(controls)
{
    m_bar = new QMenuBar(&window);
    m_bar->setObjectName(QStringLiteral("Menueleiste"));

    for (std::size_t i = 0; i < m_commandActions.size(); ++i) {
        const CommandText& text = kCommandTexts[i];
        QPushButton* button = m_controls.commands[i];
        auto* action = new QAction(QString::fromUtf8(text.entry), &window);
        action->setObjectName(QStringLiteral("Aktion_%1").arg(i));
        action->setShortcut(QKeySequence(QString::fromLatin1(text.key)));
        action->setToolTip(QString::fromUtf8(text.toolTip));
        action->setEnabled(button->isEnabled());
        // The window holds the action too: its key acts wherever the focus is in the window.
        window.addAction(action);
        const int index = static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, index] { m_controls.command(index); });
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        button->setToolTip(
            QStringLiteral("%1 (%2)").arg(action->toolTip(), action->shortcut().toString(QKeySequence::NativeText)));
        button->installEventFilter(this);
        m_commandActions[i] = action;
    }

    QMenu* file = m_bar->addMenu(QStringLiteral("&Datei"));
    for (const int index : kFileCommands) {
        if (index == 3) {
            QAction* restore =
                file->addAction(QStringLiteral("Sicherung &zurückspielen..."), this, [this] { m_controls.restore(); });
            restore->setObjectName(QStringLiteral("Aktion_SicherungZurueckspielen"));
            restore->setToolTip(QStringLiteral("Spielt eine Sicherungskopie der Datenbank zurück"));
            file->addSeparator();
        }
        file->addAction(m_commandActions[static_cast<std::size_t>(index)]);
    }

    QMenu* edit = m_bar->addMenu(QStringLiteral("Bea&rbeiten"));
    edit->addAction(m_commandActions[kConvertCommand]);
    edit->addSeparator();
    QAction* find = edit->addAction(QStringLiteral("&Suchen"), QKeySequence(QStringLiteral("Ctrl+F")), this,
                                    [this] { m_controls.find(); });
    find->setObjectName(QStringLiteral("Aktion_Suchen"));
    QAction* findNext = edit->addAction(QStringLiteral("&Weitersuchen"), QKeySequence(QStringLiteral("F3")), this,
                                        [this] { m_controls.findNext(); });
    findNext->setObjectName(QStringLiteral("Aktion_Weitersuchen"));
    window.addActions({find, findNext});

    QMenu* view = m_bar->addMenu(QStringLiteral("Ansich&t"));
    QAction* onlyHinted = view->addAction(QStringLiteral("Nur Zeilen mit &Hinweis anzeigen"));
    onlyHinted->setObjectName(QStringLiteral("Aktion_NurZeilenMitHinweis"));
    onlyHinted->setCheckable(true);
    onlyHinted->setChecked(m_controls.onlyHinted->isChecked());
    connect(onlyHinted, &QAction::triggered, m_controls.onlyHinted, &QCheckBox::click);
    connect(m_controls.onlyHinted, &QCheckBox::toggled, onlyHinted, &QAction::setChecked);
    view->addMenu(new SortMenu(*m_controls.grid, view));

    QMenu* help = m_bar->addMenu(QStringLiteral("Hi&lfe"));
    help->addAction(m_controls.help);
    help->addAction(m_controls.about);
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        for (std::size_t i = 0; i < m_commandActions.size(); ++i) {
            if (watched == m_controls.commands[i])
                m_commandActions[i]->setEnabled(m_controls.commands[i]->isEnabled());
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zelvan
