#include "widgets/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "widgets/HelpPage.h"

namespace zelvan {

namespace {

// The link on the help page that opens "Über Zelvan Konverter".
constexpr const char* kAboutScheme = "zelvan";
constexpr const char* kAboutPath = "ueber";

// The first anchor named in a heading block, or "" for none.
QString anchorOf(const QTextBlock& block)
{
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
        const QStringList names = fragment.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.front();
    }
    return {};
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Hilfe"));
    setWindowTitle(QStringLiteral("Hilfe – Zelvan Konverter"));
    // An open help window does not keep the program running after its main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* searchLabel = new QLabel(QStringLiteral("&Suchen:"));
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("HilfeSuche"));
    m_search->setPlaceholderText(QStringLiteral("Wort, dann Eingabetaste"));
    m_search->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_search);
    m_notFound = new QLabel(QStringLiteral("Nicht gefunden."));
    m_notFound->hide();
    connect(m_search, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
    connect(m_search, &QLineEdit::textChanged, m_notFound, &QWidget::hide);

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("HilfeInhalt"));
    m_contents->setHeaderHidden(true);
    m_contents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_contents->header()->setStretchLastSection(false);
    const auto open = [this](QTreeWidgetItem* item) { scrollTo(item->data(0, Qt::UserRole).toString()); };
    connect(m_contents, &QTreeWidget::itemClicked, this, open);
    connect(m_contents, &QTreeWidget::itemActivated, this, open);

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("HilfeText"));
    // Links are followed here: within the page, or to the about box.
    m_browser->setOpenLinks(false);
    m_browser->setHtml(helpPageHtml());
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::onLinkClicked);
    connect(m_browser->verticalScrollBar(), &QScrollBar::valueChanged, this, &HelpWindow::followScrolling);

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    sideLayout->addLayout(searchRow);
    sideLayout->addWidget(m_notFound);
    sideLayout->addWidget(m_contents, 1);
    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({340, 610});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    buildContents();
    resize(950, 680);
}

void HelpWindow::buildContents()
{
    // Headings of levels 1 and 2 are chapters, level 3 their sections.
    QTreeWidgetItem* chapter = nullptr;
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        const QString anchor = anchorOf(block);
        if (level < 1 || level > 3 || anchor.isEmpty())
            continue;
        auto* item = level < 3 || !chapter ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(chapter);
        if (level < 3)
            chapter = item;
        item->setText(0, block.text());
        item->setToolTip(0, block.text());
        item->setData(0, Qt::UserRole, anchor);
        m_sections.push_back({anchor, block.position(), item});
    }
    m_contents->expandAll();
}

void HelpWindow::showSection(const QString& anchor)
{
    show();
    raise();
    activateWindow();
    scrollTo(anchor);
}

void HelpWindow::scrollTo(const QString& anchor)
{
    const bool known = std::any_of(m_sections.begin(), m_sections.end(),
                                   [&](const Section& section) { return section.anchor == anchor; });
    if (!known) {
        m_browser->verticalScrollBar()->setValue(0);
        followScrolling();
        return;
    }
    m_browser->scrollToAnchor(anchor);
    // Near the end the text cannot scroll the section to the top: the list names it all the same.
    for (const Section& section : m_sections) {
        if (section.anchor == anchor)
            m_contents->setCurrentItem(section.item);
    }
}

QString HelpWindow::currentSection() const
{
    const int top = m_browser->verticalScrollBar()->value();
    const QTextDocument* document = m_browser->document();
    QString current;
    for (const Section& section : m_sections) {
        const QRectF heading = document->documentLayout()->blockBoundingRect(document->findBlock(section.position));
        if (!current.isEmpty() && heading.top() > top + 1)
            break;
        current = section.anchor;
    }
    return current;
}

void HelpWindow::followScrolling()
{
    const QString anchor = currentSection();
    for (const Section& section : m_sections) {
        if (section.anchor == anchor) {
            m_contents->setCurrentItem(section.item);
            return;
        }
    }
}

void HelpWindow::findNext()
{
    const QString text = m_search->text();
    if (text.isEmpty())
        return;
    // From the last place found on, then once more from the start.
    bool found = m_browser->find(text);
    if (!found) {
        QTextCursor cursor = m_browser->textCursor();
        cursor.movePosition(QTextCursor::Start);
        m_browser->setTextCursor(cursor);
        found = m_browser->find(text);
    }
    m_notFound->setVisible(!found);
}

void HelpWindow::onLinkClicked(const QUrl& url)
{
    if (url.scheme() == QLatin1String(kAboutScheme) && url.path() == QLatin1String(kAboutPath))
        emit aboutRequested();
    else if (url.scheme().isEmpty() && url.hasFragment())
        scrollTo(url.fragment());
}

} // namespace zelvan
