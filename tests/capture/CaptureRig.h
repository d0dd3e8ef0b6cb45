#pragma once

// A capture session on the main window's state and operations, with the
// in-process simulated controller behind them (virtual clock, scripted
// prompts), and a folder for the files it saves and loads.

#include "CaptureSession.h"
#include "SimFrame.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Answer = Prompts::Answer;

struct CaptureRig
{
    explicit CaptureRig(qx410sim::Faults faults = {})
        : frame(faults)
        , session(frame.state, frame.ops, frame.prompts, [this] { ++closed; })
    {
        frame.start();
    }

    ScriptedPrompts& prompts() { return frame.prompts; }

    // Scripts the answers of the next message boxes, in order.
    void answer(std::initializer_list<Answer> answers)
    {
        for (Answer a : answers)
            frame.prompts.answers.push_back(a);
    }
    // Scripts the name the next file chooser returns (empty: cancelled).
    void chooseFile(const QString& name) { frame.prompts.fileNames.push_back(name); }

    // The texts of the message boxes shown so far, then forgets them.
    QStringList takeShown()
    {
        QStringList texts;
        for (const ScriptedPrompts::Shown& s : frame.prompts.shown)
            texts << s.text;
        frame.prompts.shown.clear();
        return texts;
    }

    QString file(const QString& name) const { return QDir(folder.path()).filePath(name); }

    static QByteArray contents(const QString& name)
    {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<cannot read>");
    }
    static void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // Puts the controller at a position in whole micrometres.
    void placeAtMicrons(const Position& microns)
    {
        frame.placeController(Position{microns.x * 25, microns.y * 25, microns.z * 25});
    }

    // Save File with the file chooser answering `name`; any questions
    // before it must have been scripted.
    void saveAs(const QString& name)
    {
        chooseFile(name);
        session.saveFile();
    }

    SimFrame frame;
    int closed = 0;
    QTemporaryDir folder;
    CaptureSession session;
};

// The session's flags in one line, for readable comparisons:
// "saved loaded pause check" with a 1 or 0 each, then the count display.
inline QString flagsOf(const CaptureSession& s)
{
    return QStringLiteral("saved%1 loaded%2 pause%3 check%4 count'%5'")
        .arg(int(s.saved()))
        .arg(int(s.loaded()))
        .arg(int(s.lastWasPause()))
        .arg(int(s.speedCheck()))
        .arg(s.countText());
}
