// Saves a picture of the capture editor holding a recorded program, for the
// documentation:
//   qx410capturegrab OUTPUT.png [SCALE]
// Run by hand or by qx410pictures (tests/pictures), which checks its size.
// The editor sits on the
// in-process simulated controller, so nothing is sent anywhere.

#include "CaptureDialog.h"
#include "SimFrame.h"
#include "VelocityWord.h"

#include "GrabTool.h"

#include <QApplication>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTextStream>

#include <memory>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410capturegrab OUTPUT.png [SCALE]"))
        return 2;
    QApplication app(argc, argv);

    SimFrame frame;
    frame.start();
    auto owned = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts& prompts = *owned;
    QPointer<CaptureDialog> dialog
        = new CaptureDialog(frame.state, frame.ops, std::move(owned), nullptr);
    dialog->show();
    auto press = [&dialog](const char* name) { dialog->findChild<QPushButton*>(QLatin1String(name))->click(); };

    // The operator drives the manipulator (microsteps) and records each stop.
    prompts.answers.push_back(Prompts::Answer::Yes); // the speed line at the top
    frame.ops.absoluteMove(Position{-125000, 62500, 0});
    press("positionButton");
    frame.ops.absoluteMove(Position{-125000, -62500, 0});
    press("positionButton");
    press("pauseButton");
    frame.ops.state().resolution = ControlState::highResolution;
    frame.ops.state().velocity = 250;
    frame.control.setVelocity(VelocityWord::encode(250, true)); // as the Velocity dialog does
    press("speedButton");
    frame.ops.absoluteMove(Position{37500, -62500, -12500});
    prompts.answers.push_back(Prompts::Answer::No); // already recorded by Speed +Res
    press("positionButton");
    frame.ops.absoluteMove(Position{37500, 30000, -12500});
    press("positionButton");
    press("parametersButton");
    frame.ops.state().resolution = ControlState::lowResolution;
    frame.ops.state().velocity = 1000;
    frame.ops.restoreVelocity();
    press("speedButton");
    frame.ops.absoluteMove(Position{0, 0, 0});
    prompts.answers.push_back(Prompts::Answer::No);
    press("positionButton");
    // The Pause line picked as the insertion point.
    dialog->lineList()->setCurrentRow(3);

    QApplication::processEvents();
    const int status = GrabTool::save(*dialog, argv[1]);
    delete dialog;
    return status;
}
