#pragma once

#include "HostCommand.h"
#include "StepValues.h"
#include "TravelLimits.h"

#include <QString>
#include <cstddef>
#include <vector>

class ProgramExchange;
class ProgramHost;
class ProgramProgress;
class Prompts;

// The "Download to Controller" dialog without its widgets: Select File loads
// a command file into steps, Download File stores them under a program
// number. Created anew at each opening: no steps, no file selected.
class DownloadSession
{
public:
    static const QString title;
    static const QString selectFirstText;
    static const QString selectFirstCaption;
    static const QString destinationTitle;
    static const QString destinationLabel;
    static const QString tooManyStepsText;
    static const QString refusedText; // %1: the line number, %2: HostCommand::refusalText
    // refusedText for a refused line of the file.
    static QString refusedMessage(std::size_t line, HostCommand::Refusal refusal);
    // refusedText for a Move line whose target leaves the travel limits:
    // "Line 3 moves to Z = -6000 µm, below the Z floor of -5000 µm. Nothing has been loaded."
    static QString outsideLimitsMessage(std::size_t line, const TravelLimits::Breach& breach);

    DownloadSession(ProgramExchange& exchange, Prompts& prompts, const ProgramHost& host);

    // Asks for a file and loads it. A file that cannot be read, holds no
    // step, cannot be stored whole or moves outside the host's travel limits
    // keeps the previous selection.
    void selectFile();
    // Loads the named file (Select File after the chooser).
    void load(const QString& path);
    // Asks for the program number and stores the steps; the closing refresh
    // also runs when the number dialog is cancelled. A download that the link
    // gave up on part way says that it failed.
    void downloadFile();
    // Told of each step as it is stored.
    void setProgress(ProgramProgress* progress);

    bool fileSelected() const { return m_fileSelected; }
    int stepCount() const { return static_cast<int>(m_steps.size()); }
    const std::vector<StepValues>& steps() const { return m_steps; }
    // "File contains N" and "downloadable commands" after a load, else empty.
    QString firstLine() const;
    QString secondLine() const;

private:
    ProgramExchange& m_exchange;
    Prompts& m_prompts;
    const ProgramHost& m_host;
    std::vector<StepValues> m_steps;
    bool m_fileSelected = false;
};
