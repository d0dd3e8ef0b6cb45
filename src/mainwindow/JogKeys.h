#pragma once

#include "ManualMoveLogic.h"

#include <QObject>
#include <optional>

class QWidget;

// The keyboard jog. While the workspace plan or the manual move panel has
// the focus, the arrow keys and Page Up / Page Down step the manipulator as
// the step buttons do: Left and Right step X, Up and Down step Y as the plan
// draws it (Y grows downwards: Up is Step Back), Page Up and Page Down step Z
// as Step Up and Step Down. Shift takes ten times the step size, Ctrl a
// tenth of it. A text field, spin box or the step-size box keeps its keys.
// One press is one step: the repeats of a held key are taken and ignored.
class JogKeys : public QObject
{
    Q_OBJECT
public:
    struct Jog
    {
        ManualMoveLogic::Step step;
        ManualMoveLogic::Scale scale;
    };

    explicit JogKeys(QObject* parent = nullptr);

    // The step a key with its modifiers asks for; nothing for any other key,
    // for Shift and Ctrl together, or with Alt or Meta.
    static std::optional<Jog> forKey(int key, Qt::KeyboardModifiers modifiers);

    // The keys jog while this widget, or one inside it that takes no text,
    // has the focus.
    void watch(QWidget* widget);

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void jog(ManualMoveLogic::Step step, ManualMoveLogic::Scale scale);

private:
    // A widget that uses the arrow and page keys itself.
    static bool takesText(const QWidget* widget);
};
