#pragma once

#include "Prompts.h"

// The questions of a run a local client started: nobody sits at them. The
// Pause question "Continue Execution?" is answered as the client asked;
// every other question is answered No and every message Ok. The last
// message is kept, so that the client can be told what stopped the run.
class ClientPrompts : public Prompts
{
public:
    explicit ClientPrompts(bool continueAtPause)
        : m_continue(continueAtPause)
    {
    }

    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
    // Nobody to end: the desktop program goes on.
    void endProcess(int) override { }

    QString lastMessage() const { return m_last; }

private:
    bool m_continue;
    QString m_last;
};
