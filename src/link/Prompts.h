#pragma once

#include <QString>
#include <optional>

// Every modal question the program asks goes through this interface. The
// desktop program shows real message boxes; the command line answers on its
// own; tests script the answers and record the exact texts.
class Prompts
{
public:
    enum class Icon { None, Warning, Exclamation, Question, Stop, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompts() = default;

    // A message box without owner unless the implementation has one to offer.
    virtual Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) = 0;

    // A message box with a detail line under the fixed text (the device and
    // the system's reason when a port cannot be opened). Without a place for
    // details, the message alone is shown.
    virtual Answer messageWithDetail(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                                     const QString& detail)
    {
        Q_UNUSED(detail);
        return message(text, caption, icon, buttons);
    }

    // File choosers. An empty name means the operator cancelled; prompts
    // without a person (the command line) always cancel. The filter lists
    // the choices as "Name (*.ext);;All Files (*.*)"; defaultSuffix is added
    // to a saved name typed without one.
    virtual QString openFileName(const QString& title, const QString& filter)
    {
        Q_UNUSED(title);
        Q_UNUSED(filter);
        return QString();
    }
    // The open-file chooser starting from a file name (its folder, the name
    // preselected); without such a chooser, the plain one.
    virtual QString openFileNameFrom(const QString& title, const QString& filter, const QString& start)
    {
        Q_UNUSED(start);
        return openFileName(title, filter);
    }
    virtual QString saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix)
    {
        Q_UNUSED(title);
        Q_UNUSED(filter);
        Q_UNUSED(defaultSuffix);
        return QString();
    }

    // A small number dialog: the label above a one-line entry that opens
    // showing initial; OK accepts a whole number from minimum to maximum and
    // refuses anything else with the standard range message, the dialog
    // staying open. Nothing means Cancel; prompts without a person cancel.
    virtual std::optional<int> number(const QString& title, const QString& label, int initial, int minimum,
                                      int maximum)
    {
        Q_UNUSED(title);
        Q_UNUSED(label);
        Q_UNUSED(initial);
        Q_UNUSED(minimum);
        Q_UNUSED(maximum);
        return std::nullopt;
    }

    // Ends the process with the given status. Production implementations do
    // not return; a test implementation records the status and returns, so
    // every caller must stop what it was doing right after this call.
    virtual void endProcess(int status) = 0;
};
