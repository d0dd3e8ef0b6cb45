#pragma once

#include "Position.h"
#include "StatusBlock.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class CaptureHost;
class Prompts;
struct PathSlots;

// What the capture editor does, without widgets: the recorded lines with
// their insertion point, the capture count and its display, the saved,
// loaded, last-was-Pause and speed-check flags, the remembered velocity,
// resolution and status, and every button. The dialog (CaptureDialog) binds
// its buttons here and shows the state after each one. Made fresh with each
// new dialog; nothing carries over to the next one.
//
// Each line is held as text, never parsed. The insertion point is the
// selected line: a captured line goes in front of it, or at the end when
// none is selected, and the selection stays on the line it was on.
class CaptureSession
{
public:
    using StatusNumbers = std::array<int, StatusBlock::count>;

    static const QString title;
    static const QString fileDialogTitle;
    static const QString fileFilter;
    static const QString defaultSuffix;

    static const QString editorCaption;
    static const QString warningCaption;
    static const QString clearCaption;
    static const QString appendCaption;

    static const QString settingsChangedText;
    static const QString noSpeedLineText;
    static const QString anotherStatusText;
    static const QString clearText;
    static const QString reverseText;
    static const QString appendText;
    static const QString cannotLoadText;
    static const QString cannotWriteText;
    static const QString quitText;

    // `closed` is called once, when Exit lets the dialog go.
    CaptureSession(PathSlots& paths, CaptureHost& host, Prompts& prompts,
                   std::function<void()> closed);

    const QStringList& lines() const { return m_lines; }
    int count() const { return static_cast<int>(m_lines.size()); }
    // What "Capture Count" shows: the count in decimal, or nothing before the
    // first capture and after Delete Item or Clear List brought it to 0.
    QString countText() const { return m_countShown ? QString::number(count()) : QString(); }

    // The selected line, or -1 for none.
    int selected() const { return m_selected; }
    void select(int row);

    bool saved() const { return m_saved; }
    bool loaded() const { return m_loaded; }
    bool lastWasPause() const { return m_lastWasPause; }
    bool speedCheck() const { return m_speedCheck; }
    quint16 rememberedVelocity() const { return m_rememberedVelocity; }
    int rememberedResolution() const { return m_rememberedResolution; }
    const std::optional<StatusNumbers>& rememberedStatus() const { return m_rememberedStatus; }

    // The buttons. Position and Parameters talk to the controller; they do
    // nothing while the busy flag is set, since an absolute move then awaits
    // its completion byte and lets this window's buttons through.
    void position();
    void speedRes();
    void pause();
    // Without a reply to the status query (the operator reset communication)
    // nothing is recorded; the flags are cleared all the same.
    void parameters();
    // Deletes the selected line, or the last one; nothing is selected after.
    void deleteItem();
    void clearList();
    void reversePath();
    void loadFile();
    // The saved flag is set only once every line has reached the file; a
    // cancelled or failed save leaves it as it was, so that Exit still asks
    // about lines that were never written.
    void saveFile();
    // Exit, the close box and Esc: asks first when there are unsaved lines.
    // True when the dialog may go; the closed notification has then been sent.
    bool exit();

    // "High, " or "Low, " by the main window's resolution setting, then its
    // velocity setting.
    QString speedLine() const;
    static QString moveLine(const Position& microns);
    // "Pause " with its one trailing blank.
    static QString pauseLine();
    // "Status, " and the 19 numbers of the status block joined by commas.
    // Written whole even where it runs past 118 characters.
    static QString statusLine(const StatusNumbers& numbers);
    static bool isSpeedLine(const QString& line);
    // Reverse Path on a list: the blocks that start at speed lines come in
    // reverse order, and inside each block the other lines are reversed
    // while its speed line stays at the head.
    static QStringList reversed(const QStringList& lines);

private:
    bool ask(const QString& text, const QString& caption);
    void record(const QString& line);
    void insertAt(int row, const QString& line);
    QString& pathFile();

    PathSlots& m_paths;
    CaptureHost& m_host;
    Prompts& m_prompts;
    std::function<void()> m_closed;

    QStringList m_lines;
    int m_selected = -1;
    bool m_countShown = false;
    bool m_saved = false;
    bool m_loaded = false;
    bool m_lastWasPause = false;
    bool m_speedCheck = true;
    quint16 m_rememberedVelocity;
    int m_rememberedResolution;
    std::optional<StatusNumbers> m_rememberedStatus;
};
