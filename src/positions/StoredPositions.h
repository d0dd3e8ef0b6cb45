#pragma once

#include "DefinePositionResult.h"
#include "LinkStatus.h"
#include "StoredSlots.h"
#include "Position.h"

#include <QString>
#include <functional>
#include <optional>

class DefinePosition;
class ControlLayer;
class Prompts;

// The five stored positions (home, positions 1 to 3, previous) and the ten
// toolbar commands that use them, without widgets: go to a stored position,
// and define one through the Define Position dialog. The positions live in
// StoredSlots::stored (whole micrometres); the settings code writes them
// to Qx410.ini when the main window closes.
//
// "Return" is the go-to of the previous position. Every absolute move first
// records where the marker stood as the previous position, so a Return makes
// the point it leaves the new previous position: two Returns in a row swap
// back and forth between two points.
class StoredPositions
{
public:
    // Shows the Define Position dialog for `dialog` (normally
    // DefinePositionDialog::askWithDialog) and hands back its result.
    using Ask = std::function<DefinePositionResult(DefinePosition& dialog)>;

    StoredPositions(StoredSlots& stored, ControlLayer& control, Prompts& prompts);

    // Below, `which` is a StoredSlots::Stored value (Home .. Previous).

    // The Define Position dialog's title for a stored position.
    static QString dialogTitle(int which);

    // The microsteps a go-to sends: the stored triple times 25. There is no
    // workspace range test, but a value whose microsteps do not fit in 32
    // bits (a hand-edited settings file) gives nothing, with the refusal text
    // set, rather than a wrapped count that would move the other way; so
    // does a position outside the travel limits in force.
    std::optional<Position> target(int which, QString* refusal = nullptr) const;
    // target(), showing the refusal in a warning box when there is one.
    std::optional<Position> checkedTarget(int which);

    // Go To Home Position, Go To Position 1..3, Return: the absolute move to
    // the stored position. Nothing happens (and nothing is handed back) while
    // the busy flag is set, for an index that names no stored position, or
    // for a position that does not fit or lies outside the travel limits
    // (refused with a message).
    std::optional<LinkStatus> goTo(int which);

    // Define Home Position, Define Position 1..3, Define Previous Position:
    // the dialog opens with the stored triple; when it has closed, by either
    // button, its result becomes the stored triple. Nothing happens (and
    // nothing is handed back) while the busy flag is set or for an index that
    // names no stored position.
    std::optional<DefinePositionResult> define(int which, const Ask& ask);

private:
    static bool isStored(int which);

    StoredSlots& m_state;
    ControlLayer& m_control;
    Prompts& m_prompts;
};
