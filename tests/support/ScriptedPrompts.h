#pragma once

#include "Prompts.h"

#include <QList>
#include <QStringList>
#include <QString>
#include <deque>

// Prompts with scripted answers. Every message is recorded with its exact
// text, caption, icon and buttons; endProcess records the status and returns.
class ScriptedPrompts : public Prompts
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override
    {
        shown.append({text, caption, icon, buttons});
        if (answers.empty())
            return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No : Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    Answer messageWithDetail(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                             const QString& detail) override
    {
        details.append(detail);
        return message(text, caption, icon, buttons);
    }
    void endProcess(int status) override { endedWith.append(status); }

    QString openFileName(const QString& title, const QString& filter) override
    {
        fileDialogs.append({title, filter});
        return nextFileName();
    }
    QString saveFileName(const QString& title, const QString& filter, const QString&) override
    {
        fileDialogs.append({title, filter});
        return nextFileName();
    }
    QString nextFileName()
    {
        if (fileNames.empty())
            return QString();
        const QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }

    std::optional<int> number(const QString& title, const QString& label, int initial, int minimum,
                              int maximum) override
    {
        numberDialogs.append({title, label, initial, minimum, maximum});
        if (numbers.empty())
            return std::nullopt;
        const std::optional<int> n = numbers.front();
        numbers.pop_front();
        return n;
    }

    struct NumberDialog
    {
        QString title;
        QString label;
        int initial;
        int minimum;
        int maximum;
    };

    struct FileDialog
    {
        QString title;
        QString filter;
    };

    std::deque<Answer> answers;
    // Names the file choosers return, in order; empty when none is left (Cancel).
    std::deque<QString> fileNames;
    QList<FileDialog> fileDialogs;
    // Answers of the number dialogs, in order; nothing (Cancel) when none is left.
    std::deque<std::optional<int>> numbers;
    QList<NumberDialog> numberDialogs;
    QList<Shown> shown;
    QList<int> endedWith;
    QStringList details; // the detail lines of messages that had one
};
