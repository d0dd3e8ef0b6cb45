#pragma once

#include "HelpGuide.h"
#include "HelpHistory.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

// Help: the user guide rendered from its Markdown with its pictures, the
// contents list of its headings, Back and Forward, links between sections
// and a search bar (Ctrl+F). The guide's logic lives in HelpGuide and
// HelpHistory; this window shows it.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    static const QString title; // "Qx410 Help"
    static const QString missingText;

    // guidePath: the guide's Markdown file (HelpGuide::locate); empty or
    // unreadable shows missingText instead.
    explicit HelpWindow(const QString& guidePath, QWidget* parent = nullptr);

    // Shows the section with that anchor (the top for an empty or unknown
    // one), remembered for Back.
    void showSection(const QString& anchor);
    QString currentSection() const { return m_history.current(); }
    const QList<HelpGuide::Heading>& headings() const { return m_headings; }
    QTextBrowser* browser() const { return m_browser; }
    // Finds the next (or previous) place of the search bar's text, from the
    // top again after the end; false when the guide does not hold it.
    bool findNext(bool backwards = false);
    void showFindBar();

private:
    void load(const QString& guidePath);
    void anchorHeadings();
    void fitPictures(const QString& folder);
    void buildContents();
    void followLink(const QUrl& url);
    void go(const QString& anchor);
    void updateButtons();

    QList<HelpGuide::Heading> m_headings;
    HelpHistory m_history;
    QTextBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
    QWidget* m_findBar = nullptr;
    QLineEdit* m_findText = nullptr;
    QLabel* m_findNote = nullptr;
};
