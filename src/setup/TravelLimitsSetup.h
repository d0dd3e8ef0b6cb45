#pragma once

#include "TravelLimits.h"
#include "TravelLimitsChoice.h"

#include <QString>
#include <functional>
#include <optional>

class ControlLayer;
class Prompts;

// What Setup ▸ Travel Limits does, without widgets: the fields it opens with
// (the limits in force), "Set from current position", the line that checks
// where the manipulator stands against the values shown, and OK, which
// checks the six fields, replaces the limits file in the settings folder and
// puts the new limits in force. A refusal or a failed write shows its
// message and changes nothing, so the dialog stays open.
class TravelLimitsSetup {
public:
    static const QString caption;
    static const QString noLimitsText;
    static const QString withinText;

    // The dialog's OK: true when the limits were applied and the dialog may
    // close; otherwise *badField names the field to correct, or -1.
    using Apply = std::function<bool(const TravelLimitsChoice&, int* badField)>;
    // Shows the dialog starting from initial, calling ok on each OK; true
    // when it closed through an OK that was applied.
    using Ask = std::function<bool(const TravelLimitsChoice& initial, const Apply& ok)>;

    // The limits are saved through the layer, to its limits folder.
    TravelLimitsSetup(ControlLayer& control, Prompts& prompts);

    // The fields for the limits in force: micrometres, empty where none is set.
    TravelLimitsChoice current() const;
    // "Set from current position": the position query, then the field's axis
    // of the reported position in micrometres. Nothing without a reply, or
    // while a move is awaited (no query may cross it).
    std::optional<QString> fromCurrentPosition(int field);
    // The check line: whether the manipulator, where the controller last
    // reported it, stands within the values shown; or what is wrong with them.
    QString positionCheck(const TravelLimitsChoice& choice) const;
    // OK. False (with the message shown) when a field is refused or the file
    // cannot be written; the limits in force then stay as they were.
    bool accept(const TravelLimitsChoice& choice, int* badField = nullptr);
    // Asks, starting from current(), applying each OK. Nothing opens while a
    // move is awaited. True when limits were applied.
    bool run(const Ask& ask);

    // The six fields as limits; nothing, with *error naming the field and
    // *badField its index, when one is not a number of micrometres or a
    // lower limit lies above its upper one.
    static std::optional<TravelLimits> parse(
        const TravelLimitsChoice& choice, QString* error = nullptr, int* badField = nullptr);
    // "The X lower limit", "The Z floor", ... for the messages.
    static QString fieldName(int field);

private:
    ControlLayer& m_control;
    Prompts& m_prompts;
};
