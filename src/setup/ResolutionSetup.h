#pragma once

#include "ControlState.h"
#include "ResolutionChoice.h"

#include <QString>
#include <functional>

class ControlLayer;
class Prompts;

// What OK in the Resolution dialog does, without widgets: sets the
// resolution setting, refuses high resolution while the velocity setting is
// above 1310, rewrites the status panes, draws the note over the message bar
// and sends the velocity command with the new resolution.
class ResolutionSetup {
public:
    static const QString highRefusedText;
    static const QString warningCaption;
    static const QString noteText;

    // Rewrites the resolution and velocity panes from the main window's
    // settings (CMainFrame::updatePaneTexts).
    using UpdatePanes = std::function<void()>;
    // Draws a one-line note over the main window's message bar
    // (ResolutionNote::show).
    using ShowNote = std::function<void(const QString& text)>;
    // The dialog's OK: true when the choice was applied and the dialog may close.
    using Apply = std::function<bool(const ResolutionChoice&)>;
    // Shows the dialog starting from initial and calls ok on each OK; true
    // when the dialog closed through an OK that was applied.
    using Ask = std::function<bool(const ResolutionChoice& initial, const Apply& ok)>;

    ResolutionSetup(
        ControlLayer& control, Prompts& prompts, UpdatePanes updatePanes, ShowNote showNote);

    // The choice the dialog opens with: the resolution setting.
    ResolutionChoice current() const;
    // OK. High with the velocity setting above 1310 is refused: the message
    // is shown, the resolution setting becomes low, nothing is sent and false
    // comes back (the dialog stays open). The resolution pane is rewritten
    // only when that refusal changed the setting, so that it never shows a
    // resolution other than the setting's.
    bool accept(const ResolutionChoice& choice);
    // Asks, starting from current(), applying each OK. Nothing opens while an
    // absolute move is awaited (busy flag set). True when a resolution was applied.
    bool run(const Ask& ask);

private:
    void updatePanes();

    ControlLayer& m_control;
    const ControlState& m_state; // the control layer's
    Prompts& m_prompts;
    UpdatePanes m_updatePanes;
    ShowNote m_showNote;
};
