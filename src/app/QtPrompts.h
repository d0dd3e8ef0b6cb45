#pragma once

#include "Prompts.h"

class QWidget;

// The desktop program's prompts: real message boxes. Ending the process
// leaves at once with the status, skipping the shutdown steps, so the
// settings file keeps its earlier content.
class QtPrompts : public Prompts
{
public:
    // Boxes are owned by this window when one is set, else by none.
    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
    Answer messageWithDetail(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                             const QString& detail) override;
    QString openFileName(const QString& title, const QString& filter) override;
    QString openFileNameFrom(const QString& title, const QString& filter, const QString& start) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix) override;
    std::optional<int> number(const QString& title, const QString& label, int initial, int minimum,
                              int maximum) override;
    void endProcess(int status) override;

private:
    QWidget* m_owner = nullptr;
};
