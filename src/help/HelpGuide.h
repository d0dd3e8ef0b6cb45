#pragma once

#include <QList>
#include <QString>

// The user guide as Help shows it, without widgets: where the guide is (the
// installed share folder beside the program, else the sources' docs folder),
// the list of its headings with the anchors that links between sections and
// each dialog's help use, and which section belongs to which window.
class HelpGuide
{
public:
    static const QString fileName; // "user-guide.md"

    struct Heading
    {
        int level = 0; // 1 for "#", 2 for "##", ...
        QString title; // as shown: without the #s, code marks and emphasis
        QString anchor;

        friend bool operator==(const Heading& a, const Heading& b)
        {
            return a.level == b.level && a.title == b.title && a.anchor == b.anchor;
        }
    };

    // The guide's path: APPDIR/../share/qx410/user-guide.md when it exists
    // (the installed program), else SOURCEDOCS/user-guide.md when it exists
    // (the build tree); empty when neither does.
    static QString locate(const QString& applicationDir, const QString& sourceDocsDir);

    // The headings of a Markdown text in their order, outside fenced code
    // blocks. A title that comes again gets -1, -2, ... after its anchor.
    static QList<Heading> headings(const QString& markdown);
    // A heading's anchor: lower case, blanks as hyphens, only letters,
    // digits, hyphens and underscores kept ("Messages and what to do" gives
    // "messages-and-what-to-do").
    static QString anchorFor(const QString& title);
    // The section that is the help of a window, by its class name (the
    // Velocity dialog's is "velocity-and-resolution"); empty for none.
    static QString sectionFor(const QString& windowClass);
};
