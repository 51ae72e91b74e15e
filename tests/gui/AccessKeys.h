#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QMenuBar>
#include <QStringList>
#include <QWidget>

namespace zelvan::test {

// The letter after the single "&" of a caption, lower case; empty without one ("&&" is a plain "&").
inline QString accessKeyOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return {};
}

// What one window's access keys are and where they are missing: every button and check box,
// every menu title, and every label that hands its key on to a buddy.
struct AccessKeys {
    QStringList keys;              // one per control that has one, in creation order
    QStringList withoutKey;        // captions of buttons and check boxes without one
    QStringList duplicates() const // keys that stand more than once
    {
        QStringList twice;
        for (const QString& key : keys) {
            if (keys.count(key) > 1 && !twice.contains(key))
                twice << key;
        }
        return twice;
    }
};

// Looks through `window` and its children, not into other windows (message boxes, dialogs).
inline AccessKeys accessKeysIn(QWidget& window)
{
    AccessKeys found;
    const auto note = [&found](const QString& caption) {
        const QString key = accessKeyOf(caption);
        if (key.isEmpty())
            found.withoutKey << caption;
        else
            found.keys << key;
    };
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->window() == &window && !button->text().isEmpty())
            note(button->text());
    }
    for (QMenuBar* bar : window.findChildren<QMenuBar*>()) {
        for (QAction* title : bar->actions())
            note(title->text());
    }
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->window() == &window && label->buddy() && !accessKeyOf(label->text()).isEmpty())
            found.keys << accessKeyOf(label->text());
    }
    return found;
}

} // namespace zelvan::test
