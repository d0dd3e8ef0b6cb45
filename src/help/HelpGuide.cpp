#include "HelpGuide.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

const QString HelpGuide::fileName = QStringLiteral("user-guide.md");

QString HelpGuide::locate(const QString& applicationDir, const QString& sourceDocsDir)
{
    const QString installed = QDir::cleanPath(applicationDir + QStringLiteral("/../share/qx410/") + fileName);
    if (QFileInfo(installed).isFile())
        return installed;
    const QString inSources = QDir(sourceDocsDir).filePath(fileName);
    if (!sourceDocsDir.isEmpty() && QFileInfo(inSources).isFile())
        return inSources;
    return QString();
}

namespace {

// A title as the rendered guide shows it: links keep their text; code marks
// and emphasis go.
QString plainTitle(QString text)
{
    static const QRegularExpression link(QStringLiteral("\\[([^\\]]*)\\]\\([^)]*\\)"));
    text.replace(link, QStringLiteral("\\1"));
    text.remove(QLatin1Char('`'));
    text.remove(QLatin1Char('*'));
    return text.trimmed();
}

} // namespace

QList<HelpGuide::Heading> HelpGuide::headings(const QString& markdown)
{
    static const QRegularExpression heading(QStringLiteral("^ {0,3}(#{1,6})[ \\t]+(.*?)(?:[ \\t]+#+)?[ \\t]*$"));
    static const QRegularExpression fence(QStringLiteral("^ {0,3}(```|~~~)"));
    QList<Heading> found;
    QHash<QString, int> seen;
    QString openFence;
    for (const QString& rawLine : markdown.split(QLatin1Char('\n'))) {
        QString line = rawLine;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QRegularExpressionMatch f = fence.match(line);
        if (f.hasMatch()) {
            if (openFence.isEmpty())
                openFence = f.captured(1);
            else if (f.captured(1) == openFence)
                openFence.clear();
            continue;
        }
        if (!openFence.isEmpty())
            continue;
        const QRegularExpressionMatch m = heading.match(line);
        if (!m.hasMatch())
            continue;
        Heading h;
        h.level = static_cast<int>(m.capturedLength(1));
        h.title = plainTitle(m.captured(2));
        const QString base = anchorFor(h.title);
        const int times = seen.value(base);
        seen[base] = times + 1;
        h.anchor = times == 0 ? base : QStringLiteral("%1-%2").arg(base).arg(times);
        found.append(h);
    }
    return found;
}

QString HelpGuide::anchorFor(const QString& title)
{
    QString anchor;
    for (const QChar c : title.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor += c;
        else if (c.isSpace())
            anchor += QLatin1Char('-');
    }
    return anchor;
}

QString HelpGuide::sectionFor(const QString& windowClass)
{
    static const QHash<QString, QString> sections {
        { QStringLiteral("CommSetupDialog"), QStringLiteral("choosing-the-port") },
        { QStringLiteral("VelocityDialog"), QStringLiteral("velocity-and-resolution") },
        { QStringLiteral("ResolutionDialog"), QStringLiteral("velocity-and-resolution") },
        { QStringLiteral("HardwareSetupDialog"), QStringLiteral("hardware-setup") },
        { QStringLiteral("TravelLimitsDialog"), QStringLiteral("travel-limits") },
        { QStringLiteral("DefinePositionDialog"), QStringLiteral("moves-and-stored-positions") },
        { QStringLiteral("CaptureDialog"), QStringLiteral("the-capture-editor") },
        { QStringLiteral("HostExecutionDialog"), QStringLiteral("running-command-files-from-the-host") },
        { QStringLiteral("DownloadDialog"), QStringLiteral("controller-programs") },
        { QStringLiteral("ExecuteProgramDialog"), QStringLiteral("controller-programs") },
        { QStringLiteral("UploadDialog"), QStringLiteral("controller-programs") },
        { QStringLiteral("NumberEntryDialog"), QStringLiteral("controller-programs") },
        { QStringLiteral("TrafficWindow"), QStringLiteral("the-serial-traffic-log") },
        { QStringLiteral("AboutBox"), QStringLiteral("the-main-window") },
    };
    return sections.value(windowClass);
}
