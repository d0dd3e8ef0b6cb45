// The pictures in docs/ and the tools that make them, in one table:
//   qx410pictures check DOCS   compares the size of each picture a tool grabs
//                              now with the picture in DOCS; lists every one
//                              that differs and fails (run by the test suite)
//   qx410pictures make DOCS    writes every picture into DOCS anew
// Sizes only: the pixels differ with the fonts of the machine, the size of a
// window changes when its layout does, and then its picture must be made again.

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

struct Picture
{
    const char* tool;         // the grab tool's path
    QStringList arguments;    // after the output path
    QStringList files;        // what it writes: one file, or several into a folder
};

const QList<Picture>& pictures()
{
    static const QList<Picture> table {
        { QX410_GRAB_MAINWINDOW, { "1", "start" }, { "main-window.png" } },
        { QX410_GRAB_MAINWINDOW, { "1", "plan" }, { "main-window-plan.png" } },
        { QX410_GRAB_MAINWINDOW, { "1", "negative" }, { "main-window-negative.png" } },
        { QX410_GRAB_MAINWINDOW, { "1", "client" }, { "main-window-client.png" } },
        { QX410_GRAB_MAINWINDOW, { "1", "limits" }, { "main-window-limits.png" } },
        { QX410_GRAB_HOSTEXEC, { "1" }, { "host-execution.png" } },
        { QX410_GRAB_ABOUT, { "2" }, { "about-box.png" } },
        { QX410_GRAB_CAPTURE, { "2" }, { "capture-editor.png" } },
        { QX410_GRAB_POSITIONS, { "2" }, { "define-position.png" } },
        { QX410_GRAB_SETUP, { "1", "comm" }, { "comm-setup.png" } },
        { QX410_GRAB_SETUP, { "2", "velocity" }, { "velocity-dialog.png" } },
        { QX410_GRAB_SETUP, { "2", "resolution" }, { "resolution-dialog.png" } },
        { QX410_GRAB_SETUP, { "2", "hardware" }, { "hardware-setup.png" } },
        { QX410_GRAB_SETUP, { "2", "limits" }, { "travel-limits.png" } },
        { QX410_GRAB_TRAFFIC, { "1" }, { "serial-traffic.png" } },
        { QX410_GRAB_PROGRAMS, { "2" }, { "download.png", "execute-program.png", "upload.png", "transfer-progress.png" } },
    };
    return table;
}

// Runs the picture's tool into folder; false (with the reason) when it fails.
bool grab(const Picture& p, const QDir& folder, QTextStream& err)
{
    const QString output = p.files.size() == 1 ? folder.filePath(p.files.first()) : folder.path();
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    tool.setProcessEnvironment(env);
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(QString::fromLocal8Bit(p.tool), QStringList { output } + p.arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        err << "FAIL " << p.tool << " " << p.arguments.join(QLatin1Char(' ')) << ": did not make its picture\n";
        return false;
    }
    return true;
}

QString sizeText(const QSize& s)
{
    return s.isValid() ? QStringLiteral("%1x%2").arg(s.width()).arg(s.height()) : QStringLiteral("none");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args[1] != QLatin1String("check") && args[1] != QLatin1String("make"))) {
        err << "usage: qx410pictures check|make DOCS\n";
        return 2;
    }
    const bool make = args[1] == QLatin1String("make");
    const QDir docs(args[2]);
    QTemporaryDir scratch;
    const QDir into = make ? docs : QDir(scratch.path());
    int failures = 0;
    for (const Picture& p : pictures()) {
        if (!grab(p, into, err)) {
            ++failures;
            continue;
        }
        for (const QString& file : p.files) {
            if (make) {
                out << "made " << docs.filePath(file) << " " << sizeText(QImageReader(docs.filePath(file)).size()) << "\n";
                continue;
            }
            const QSize now = QImageReader(into.filePath(file)).size();
            const QSize documented = QImageReader(docs.filePath(file)).size();
            if (now == documented && now.isValid()) {
                out << "ok   " << file << " " << sizeText(now) << "\n";
            } else {
                err << "FAIL " << file << ": the window grabs as " << sizeText(now) << ", docs/" << file << " is "
                    << sizeText(documented) << "; make the pictures again (qx410pictures make docs)\n";
                ++failures;
            }
        }
    }
    // A picture that no tool makes would drift unnoticed.
    QStringList made;
    for (const Picture& p : pictures())
        made += p.files;
    for (const QString& file : docs.entryList({ QStringLiteral("*.png") }, QDir::Files)) {
        if (!made.contains(file)) {
            err << "FAIL docs/" << file << ": no tool in the picture table makes it\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
