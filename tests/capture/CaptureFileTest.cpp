// Command files through the capture editor: lines kept as text, written with
// CR LF, read back entry for entry; and the editor's save and load round trip.

#include "CaptureFile.h"
#include "CaptureRig.h"

#include <gtest/gtest.h>

namespace {

using R = CaptureFile::ReadResult;
using W = CaptureFile::WriteResult;

struct Folder
{
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QTemporaryDir dir;
};

TEST(CaptureFileWrite, EveryLineEndsWithCrLf)
{
    Folder f;
    const QString name = f.file("a.dat");
    EXPECT_EQ(CaptureFile::write(name, {"High, 1000", "Move, 1, -2, 3", "Pause ", ""}), W::Written);
    EXPECT_EQ(CaptureRig::contents(name), QByteArray("High, 1000\r\nMove, 1, -2, 3\r\nPause \r\n\r\n"));

    EXPECT_EQ(CaptureFile::write(name, {}), W::Written);
    EXPECT_EQ(CaptureRig::contents(name), QByteArray()) << "an existing file is emptied";
}

TEST(CaptureFileWrite, NoNameOrNoFolderCannotOpen)
{
    Folder f;
    EXPECT_EQ(CaptureFile::write(QString(), {"Pause "}), W::CannotOpen);
    EXPECT_EQ(CaptureFile::write(f.file("missing/a.dat"), {"Pause "}), W::CannotOpen);
    EXPECT_EQ(CaptureFile::write(f.dir.path(), {"Pause "}), W::CannotOpen) << "a folder";
}

TEST(CaptureFileWrite, FullDeviceIsAWriteFailure)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    EXPECT_EQ(CaptureFile::write("/dev/full", QStringList(5000, "Move, 12700, 12700, 12700")), W::WriteFailed);
}

TEST(CaptureFileRead, LinesWithoutTheirLineEnds)
{
    Folder f;
    const QString name = f.file("r.dat");
    CaptureRig::writeFile(name, "High, 5\r\nMove,1,2,3\nPause  \r\n\n\r\nStatus, 1\r\r\nlast line");
    QStringList lines{"kept"};
    EXPECT_EQ(CaptureFile::read(name, &lines), R::Read);
    EXPECT_EQ(lines, QStringList({"kept", "High, 5", "Move,1,2,3", "Pause  ", "", "", "Status, 1\r", "last line"}));
}

TEST(CaptureFileRead, EmptyFileGivesNoLines)
{
    Folder f;
    const QString name = f.file("e.dat");
    CaptureRig::writeFile(name, "");
    QStringList lines;
    EXPECT_EQ(CaptureFile::read(name, &lines), R::Read);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(CaptureFileRead, MissingFileFolderOrNoNameCannotOpen)
{
    Folder f;
    QStringList lines{"untouched"};
    EXPECT_EQ(CaptureFile::read(f.file("none.dat"), &lines), R::CannotOpen);
    EXPECT_EQ(CaptureFile::read(f.dir.path(), &lines), R::CannotOpen);
    EXPECT_EQ(CaptureFile::read(QString(), &lines), R::CannotOpen);
    EXPECT_EQ(lines, QStringList({"untouched"}));
}

// /proc/self/mem opens, but reading it from its start fails with EIO, as a
// pulled USB stick does part way through a file: Load File then warns as for
// a file that cannot be opened, and nothing is half-loaded.
TEST(CaptureFileRead, ReadErrorCannotOpenAndLoadsNothing)
{
    if (!QFile::exists("/proc/self/mem"))
        GTEST_SKIP() << "no /proc/self/mem to fail a read";
    QStringList lines{"untouched"};
    EXPECT_EQ(CaptureFile::read("/proc/self/mem", &lines), R::CannotOpen);
    EXPECT_EQ(lines, QStringList({"untouched"}));
}

TEST(CaptureFileRead, LongLinesAreCutAndOversizedFilesRefused)
{
    Folder f;
    const QString name = f.file("long.dat");
    CaptureRig::writeFile(name, QByteArray(10000, 'A') + "\r\nPause \r\n");
    QStringList lines;
    EXPECT_EQ(CaptureFile::read(name, &lines), R::Read);
    EXPECT_EQ(lines, QStringList({QString(CaptureFile::maxLineChars, 'A'), "Pause "}));

    CaptureRig::writeFile(name, QByteArray(static_cast<qsizetype>(CaptureFile::maxFileBytes) + 1, '\n'));
    lines = QStringList{"untouched"};
    EXPECT_EQ(CaptureFile::read(name, &lines), R::CannotOpen);
    EXPECT_EQ(lines, QStringList({"untouched"}));
}

TEST(CaptureFileRoundTrip, AnyByteComesBackUnchanged)
{
    Folder f;
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\n' && b != '\r')
            bytes.append(static_cast<char>(b));
    const QString odd = QString::fromLatin1(bytes);
    const QString longLine = QString(300, QLatin1Char('x'));
    const QString name = f.file("bytes.dat");
    ASSERT_EQ(CaptureFile::write(name, {odd, longLine, "a\rb"}), W::Written);
    QStringList back;
    ASSERT_EQ(CaptureFile::read(name, &back), R::Read);
    EXPECT_EQ(back, QStringList({odd, longLine, "a\rb"}));
    EXPECT_EQ(CaptureRig::contents(name), bytes + "\r\n" + longLine.toLatin1() + "\r\na\rb\r\n");
}

TEST(CaptureFileRoundTrip, FileWithoutCrLfIsKeptByTheNextSave)
{
    Folder f;
    const QString name = f.file("lf.dat");
    CaptureRig::writeFile(name, "Low, 3\nMove, 1, 1, 1");
    QStringList lines;
    ASSERT_EQ(CaptureFile::read(name, &lines), R::Read);
    ASSERT_EQ(CaptureFile::write(name, lines), W::Written);
    EXPECT_EQ(CaptureRig::contents(name), QByteArray("Low, 3\r\nMove, 1, 1, 1\r\n"));
}

// --- The editor: save, then load into an empty editor ---------------------------

TEST(CaptureEditorRoundTrip, SavedProgramLoadsIntoAnEmptyEditorAsTheSameList)
{
    CaptureRig first;
    first.answer({Answer::Yes}); // the speed line at the top
    first.placeAtMicrons(Position{1200, -350, 40});
    first.session.position();
    first.session.pause();
    first.session.parameters();
    first.frame.ops.state().resolution = ControlState::highResolution;
    first.frame.ops.state().velocity = 800;
    first.session.speedRes();
    first.placeAtMicrons(Position{-12700, 12700, 0});
    first.answer({Answer::Yes}); // use the new settings: a second High line
    first.session.position();
    first.answer({Answer::Yes});
    first.session.reversePath();
    ASSERT_EQ(first.session.count(), 7);
    const QString name = first.file("program.dat");
    first.saveAs(name);
    ASSERT_TRUE(first.session.saved());

    CaptureRig second;
    second.chooseFile(name);
    second.session.loadFile();
    EXPECT_EQ(second.session.lines(), first.session.lines());
    EXPECT_EQ(second.session.count(), first.session.count());
    EXPECT_EQ(second.session.countText(), "7");
    EXPECT_TRUE(second.prompts().shown.isEmpty());

    // Saved again, the file is the same byte for byte.
    second.saveAs(second.file("again.dat"));
    EXPECT_EQ(CaptureRig::contents(second.file("again.dat")), CaptureRig::contents(name));
}

TEST(CaptureEditorRoundTrip, StatusLinesKeptCharacterForCharacter)
{
    // Status lines as recorded, including the longest possible one, and one
    // with more fields than a status block has: none is read as anything.
    const QStringList statusLines{
        "Status, 0,0,0,0,1000,100,-200,1,0,0,0,100,-200,1,0,0,0,0,0",
        "Status, 255,255,255,255,-32768,-32768,-32768,-32768,-32768,255,255,-32768,-32768,-32768,-32768,-32768,"
        "-32768,-32768,-32768",
        "Status,  1 , 2,,x",
    };
    ASSERT_EQ(statusLines[1].size(), 122);
    CaptureRig r;
    const QString name = r.file("status.dat");
    QStringList lines{"Low, 1000"};
    lines += statusLines;
    ASSERT_EQ(CaptureFile::write(name, lines), W::Written);

    r.chooseFile(name);
    r.session.loadFile();
    EXPECT_EQ(r.session.lines(), lines);
    r.saveAs(r.file("back.dat"));
    EXPECT_EQ(CaptureRig::contents(r.file("back.dat")), CaptureRig::contents(name));
}

} // namespace
