#pragma once

#include "Position.h"

#include <QString>
#include <optional>

// The arithmetic behind the manual move panel's Move and step buttons.
class ManualMoveLogic
{
public:
    enum class Step { Back, Front, Left, Right, Up, Down };
    // A keyboard step may be ten times the step size (Shift) or a tenth of
    // it (Ctrl); the step buttons always take it as it stands.
    enum class Scale { Normal, Tenfold, Tenth };
    // Panel fields and the step-size box are read up to this many characters.
    static constexpr int maxFieldChars = 15;

    // Move: the three field texts in µm, as microsteps. Nothing, with the
    // refusal text set, when a value times 25 does not fit in 32 bits.
    static std::optional<Position> moveTarget(const QString& x, const QString& y, const QString& z,
                                              QString* refusal = nullptr);
    // A step changes one coordinate of the current position (microsteps) by
    // the step size in µm times 25; back, left and up subtract, the others
    // add. Nothing, with the refusal text set, when the result does not fit
    // in 32 bits.
    static std::optional<Position> stepTarget(const Position& current, Step step, const QString& stepSizeText,
                                              QString* refusal = nullptr);
    // The same with the step scaled. A tenth is exact in microsteps where it
    // can be (a step size of 10 µm gives 1 µm); otherwise it is rounded to the
    // nearest microstep, halves away from zero (1 µm gives 3 microsteps,
    // 0.12 µm).
    static std::optional<Position> stepTarget(const Position& current, Step step, const QString& stepSizeText,
                                              Scale scale, QString* refusal = nullptr);
    // The distance of a step in microsteps: the step size in µm times 25,
    // scaled.
    static qint64 stepMicrosteps(const QString& stepSizeText, Scale scale);
    // The step size box's text as whole micrometres.
    static qint32 fieldValue(const QString& text);
};
