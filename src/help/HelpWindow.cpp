#include "HelpWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

const QString HelpWindow::title = QStringLiteral("Qx410 Help");
const QString HelpWindow::missingText = QStringLiteral(
    "The user guide (user-guide.md) was not found beside the program (../share/qx410) nor in the sources.");

namespace {

// The guide's browser: its own Back and Forward keys (Alt+Left, Alt+Right,
// and the mouse's side buttons) go through the window's history of sections.
class GuideBrowser : public QTextBrowser
{
public:
    GuideBrowser(QWidget* parent, std::function<void()> back, std::function<void()> forward)
        : QTextBrowser(parent)
        , m_back(std::move(back))
        , m_forward(std::move(forward))
    {
    }
    void backward() override { m_back(); }
    void forward() override { m_forward(); }

private:
    std::function<void()> m_back;
    std::function<void()> m_forward;
};

// Pictures wider than this are shown smaller, keeping their proportions.
constexpr int widestPicture = 640;

QToolButton* toolButton(QWidget* parent, const QString& text, const QString& tip, const QKeySequence& key)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(key.isEmpty() ? tip : QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
    button->setAutoRaise(true);
    if (!key.isEmpty())
        button->setShortcut(key);
    return button;
}

} // namespace

HelpWindow::HelpWindow(const QString& guidePath, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("helpWindow"));

    m_back = toolButton(this, tr("Back"), tr("Back to the section shown before"), QKeySequence::Back);
    m_back->setObjectName(QStringLiteral("back"));
    m_forward = toolButton(this, tr("Forward"), tr("Forward again"), QKeySequence::Forward);
    m_forward->setObjectName(QStringLiteral("forward"));
    QToolButton* top = toolButton(this, tr("Contents"), tr("The top of the guide"), QKeySequence());
    QToolButton* find = toolButton(this, tr("Find"), tr("Find words in the guide"), QKeySequence());
    find->setToolTip(tr("Find words in the guide (%1)").arg(QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText)));
    connect(m_back, &QToolButton::clicked, this, [this] { go(m_history.back()); });
    connect(m_forward, &QToolButton::clicked, this, [this] { go(m_history.forward()); });
    connect(top, &QToolButton::clicked, this, [this] { showSection(QString()); });
    connect(find, &QToolButton::clicked, this, &HelpWindow::showFindBar);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 2);
    for (QToolButton* b : { m_back, m_forward, top, find })
        buttons->addWidget(b);
    buttons->addStretch(1);

    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setHeaderHidden(true);
    m_contents->setColumnCount(1);
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showSection(item->data(0, Qt::UserRole).toString()); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showSection(item->data(0, Qt::UserRole).toString()); });

    m_browser = new GuideBrowser(
        this, [this] { go(m_history.back()); }, [this] { go(m_history.forward()); });
    m_browser->setObjectName(QStringLiteral("guide"));
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 240, 760 });

    // The search bar, under the guide: Enter finds the next place,
    // Shift+Enter the one before, Escape closes the bar.
    m_findBar = new QWidget(this);
    m_findText = new QLineEdit(m_findBar);
    m_findText->setObjectName(QStringLiteral("findText"));
    m_findText->setPlaceholderText(tr("Find in the guide"));
    m_findText->setClearButtonEnabled(true);
    m_findNote = new QLabel(m_findBar);
    QToolButton* next = toolButton(m_findBar, tr("Next"), tr("The next place"), QKeySequence::FindNext);
    QToolButton* previous = toolButton(m_findBar, tr("Previous"), tr("The place before"), QKeySequence::FindPrevious);
    QToolButton* close = toolButton(m_findBar, tr("Close"), tr("Close the search bar"), QKeySequence());
    connect(m_findText, &QLineEdit::returnPressed, this, [this] { findNext(false); });
    connect(next, &QToolButton::clicked, this, [this] { findNext(false); });
    connect(previous, &QToolButton::clicked, this, [this] { findNext(true); });
    connect(close, &QToolButton::clicked, m_findBar, &QWidget::hide);
    auto* shiftEnter = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), m_findText);
    shiftEnter->setContext(Qt::WidgetShortcut);
    connect(shiftEnter, &QShortcut::activated, this, [this] { findNext(true); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_findBar);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, m_findBar, &QWidget::hide);
    auto* findBar = new QHBoxLayout(m_findBar);
    findBar->setContentsMargins(4, 2, 4, 2);
    findBar->addWidget(new QLabel(tr("Find:"), m_findBar));
    findBar->addWidget(m_findText, 1);
    findBar->addWidget(previous);
    findBar->addWidget(next);
    findBar->addWidget(m_findNote);
    findBar->addWidget(close);
    m_findBar->hide();
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    findKey->setContext(Qt::WindowShortcut);
    connect(findKey, &QShortcut::activated, this, &HelpWindow::showFindBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_findBar);
    resize(1000, 720);

    load(guidePath);
    showSection(QString());
    // The keys scroll the guide from the start.
    m_browser->setFocus();
}

void HelpWindow::load(const QString& guidePath)
{
    QFile file(guidePath);
    if (guidePath.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        m_browser->setPlainText(missingText);
        updateButtons();
        return;
    }
    const QString markdown = QString::fromUtf8(file.readAll());
    const QString folder = QFileInfo(guidePath).absolutePath();
    // The pictures are named relative to the guide's folder.
    m_browser->setSearchPaths({ folder });
    m_browser->document()->setBaseUrl(QUrl::fromLocalFile(folder + QLatin1Char('/')));
    m_browser->document()->setMarkdown(markdown);
    m_headings = HelpGuide::headings(markdown);
    anchorHeadings();
    fitPictures(folder);
    buildContents();
    // The text went in at the browser's cursor, which now stands at the end.
    m_browser->moveCursor(QTextCursor::Start);
}

void HelpWindow::anchorHeadings()
{
    // Markdown gives headings no anchors: each heading block gets the anchor
    // of the heading it renders, in order.
    int index = 0;
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() <= 0)
            continue;
        const QString anchor = index < m_headings.size() ? m_headings[index].anchor : HelpGuide::anchorFor(block.text());
        ++index;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({ anchor });
        cursor.mergeCharFormat(format);
    }
}

void HelpWindow::fitPictures(const QString& folder)
{
    QTextDocument* document = m_browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (!image.isValid())
                continue;
            const QSize size = QImageReader(QDir(folder).filePath(image.name())).size();
            if (!size.isValid() || size.width() <= widestPicture)
                continue;
            image.setWidth(widestPicture);
            image.setHeight(static_cast<double>(size.height()) * widestPicture / size.width());
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

void HelpWindow::buildContents()
{
    m_contents->clear();
    QList<QTreeWidgetItem*> parents; // the latest item of each level
    for (const HelpGuide::Heading& h : m_headings) {
        while (!parents.isEmpty() && parents.size() >= h.level)
            parents.removeLast();
        auto* item = parents.isEmpty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.last());
        item->setText(0, h.title);
        item->setData(0, Qt::UserRole, h.anchor);
        while (parents.size() < h.level - 1)
            parents.append(item);
        parents.append(item);
    }
    m_contents->expandAll();
}

void HelpWindow::followLink(const QUrl& url)
{
    // Links between sections name only an anchor; everything else (web
    // addresses) goes to the system's browser.
    if (url.isRelative() && url.path().isEmpty()) {
        showSection(url.fragment());
        return;
    }
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).fileName() == HelpGuide::fileName) {
        showSection(url.fragment());
        return;
    }
    QDesktopServices::openUrl(url);
}

void HelpWindow::showSection(const QString& anchor)
{
    bool known = false;
    for (const HelpGuide::Heading& h : m_headings)
        known = known || h.anchor == anchor;
    const QString target = known ? anchor : (m_headings.isEmpty() ? QString() : m_headings.first().anchor);
    m_history.visit(target);
    go(target);
}

void HelpWindow::go(const QString& anchor)
{
    if (m_headings.isEmpty() || anchor == m_headings.first().anchor) {
        m_browser->moveCursor(QTextCursor::Start);
        m_browser->verticalScrollBar()->setValue(0);
    }
    else
        m_browser->scrollToAnchor(anchor);
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == anchor) {
            QSignalBlocker quiet(m_contents);
            m_contents->setCurrentItem(*it);
            break;
        }
    }
    updateButtons();
}

void HelpWindow::updateButtons()
{
    m_back->setEnabled(m_history.canGoBack());
    m_forward->setEnabled(m_history.canGoForward());
}

void HelpWindow::showFindBar()
{
    m_findBar->show();
    m_findText->setFocus();
    m_findText->selectAll();
}

bool HelpWindow::findNext(bool backwards)
{
    const QString text = m_findText->text();
    m_findNote->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags))
        return true;
    // From the other end again.
    QTextCursor cursor = m_browser->textCursor();
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(cursor);
    if (m_browser->find(text, flags))
        return true;
    m_findNote->setText(tr("Not found"));
    return false;
}
