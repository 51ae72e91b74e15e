#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace zelvan {

// The help window: the help page beside its contents list, with a search field. The list
// follows the section being read; a link to "Über Zelvan Konverter" asks the owner to show it.
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window, in front, at the section with this anchor (the start for an unknown one).
    void showSection(const QString& anchor);
    // The anchor of the section at the top of the text.
    QString currentSection() const;

signals:
    void aboutRequested();

private:
    struct Section {
        QString anchor;
        int position; // of its heading in the document
        QTreeWidgetItem* item;
    };

    void buildContents();
    void scrollTo(const QString& anchor);
    void followScrolling();
    void findNext();
    void onLinkClicked(const QUrl& url);

    QLineEdit* m_search = nullptr;
    QLabel* m_notFound = nullptr;
    QTreeWidget* m_contents = nullptr;
    QTextBrowser* m_browser = nullptr;
    std::vector<Section> m_sections; // in document order
};

} // namespace zelvan
