#pragma once

#include "DefinePositionResult.h"
#include "Position.h"

#include <QString>
#include <array>
#include <optional>

class ControlLayer;
class Prompts;

// What the Define Position dialog does, without widgets: the title, the X, Y,
// Z it holds (whole micrometres), "Get Current Position" and the check made
// on OK. The dialog (DefinePositionDialog) shows the held values and hands
// the operator's texts here. Made anew for each opening.
class DefinePosition
{
public:
    enum Field { X = 0, Y, Z, FieldCount };
    using Texts = std::array<QString, FieldCount>;

    static constexpr qint32 minimum = -12700;
    static constexpr qint32 maximum = 12700;
    static const QString warningCaption;

    // How a field's text reads on OK.
    enum class Check { Valid, NotInteger, OutOfRange };

    DefinePosition(const QString& title, const Position& microns, ControlLayer& control, Prompts& prompts);

    QString title() const { return m_title; }
    // The X, Y, Z the dialog holds: what it was opened with, the position
    // last fetched with "Get Current Position", or the values taken on OK.
    Position held() const { return m_held; }
    qint32 held(Field field) const;

    // "Get Current Position": the position query; on a reply the held values
    // become the controller's position in whole micrometres (no range test)
    // and the marker is refreshed. True when the held values changed, so the
    // fields are to show them again. Without a reply (recovery prompt, or the
    // program ending) the held values stay as they were.
    bool getCurrentPosition();

    // OK: checks X, Y, Z in that order. The first field that is not an
    // integer in minimum..maximum gets a warning naming the allowed range and
    // is handed back, for the focus to go there; the held values then stay
    // as they were. With all three valid they become the held values, the
    // result counts as accepted, and nothing is handed back.
    std::optional<Field> accept(const Texts& texts);

    // What the dialog hands back when it closes (OK or Cancel).
    DefinePositionResult result() const { return {m_held, m_accepted}; }

    // An optional sign and decimal digits, blanks allowed around them.
    // *value is set only for Valid.
    static Check check(const QString& text, qint32* value = nullptr);
    static QString fieldName(Field field);
    static QString notIntegerText(Field field);
    static QString outOfRangeText(Field field);

private:
    QString m_title;
    Position m_held;
    bool m_accepted = false;
    ControlLayer& m_control;
    Prompts& m_prompts;
};
