#pragma once

#include "ControlState.h"
#include "VelocityChoice.h"

#include <QString>
#include <functional>
#include <optional>

class ControlLayer;
class Prompts;

// What OK in the Velocity dialog does, without widgets: checks the entry
// (a whole number 0 to 6550, and at high resolution no more than 1310),
// then sets the velocity setting, rewrites the status panes and sends the
// velocity command. A refusal shows its message and changes nothing, so the
// dialog stays open.
class VelocitySetup {
public:
    static constexpr int maxEntry = ControlState::maxVelocity;
    // At high resolution the velocity may be at most this (inclusive).
    static constexpr int highResolutionLimit = ControlState::highResolutionVelocityLimit;

    static const QString rangeText;
    static const QString highResolutionText;
    static const QString warningCaption;

    // Rewrites the resolution and velocity panes from the main window's
    // settings (CMainFrame::updatePaneTexts).
    using UpdatePanes = std::function<void()>;
    // The dialog's OK: true when the entry was applied and the dialog may close.
    using Apply = std::function<bool(const VelocityChoice&)>;
    // Shows the dialog starting from initial and calls ok on each OK; true
    // when the dialog closed through an OK that was applied.
    using Ask = std::function<bool(const VelocityChoice& initial, const Apply& ok)>;

    VelocitySetup(ControlLayer& control, Prompts& prompts, UpdatePanes updatePanes);

    // The entry the dialog opens with: the velocity setting in decimal.
    VelocityChoice current() const;
    // OK. False (with the message shown) when the entry is refused.
    bool accept(const VelocityChoice& choice);
    // Asks, starting from current(), applying each OK. Nothing opens while an
    // absolute move is awaited (busy flag set). True when a velocity was applied.
    bool run(const Ask& ask);

    // The entry as a whole number 0 to 6550: decimal digits 0-9 only, blanks
    // around them allowed; nothing otherwise.
    static std::optional<int> parseEntry(const QString& entry);

private:
    ControlLayer& m_control;
    const ControlState& m_state; // the control layer's
    Prompts& m_prompts;
    UpdatePanes m_updatePanes;
};
