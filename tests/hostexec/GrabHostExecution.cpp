// Saves a picture of Execute Host Programs over the main window, after a
// command file of five lines was selected, for the documentation:
//   qx410hostexecgrab OUTPUT.png [SCALE]
// Run by hand or by qx410pictures (tests/pictures), which checks its size.
// The main window sits on
// the in-process simulated controller, so nothing is sent anywhere. Offscreen
// windows have no frames, so the dialog's title bar is drawn here.

#include "CMainFrame.h"
#include "Controller.h"
#include "HostExecutionDialog.h"
#include "ScriptedPrompts.h"
#include "SerialLink.h"
#include "SimPort.h"
#include "VirtualClock.h"

#include "GrabTool.h"

#include <SimController.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410hostexecgrab OUTPUT.png [SCALE]"))
        return 2;
    QApplication app(argc, argv);

    qx410sim::SimController controller;
    VirtualClock clock;
    SimPort port(controller, clock);
    ScriptedPrompts prompts;
    SerialSettings serial;
    SerialLink link(port, clock, prompts, serial);
    link.open();
    ControlLayer control(link, clock);
    MainFrameState state;
    CMainFrame frame(state, control, serial, prompts);
    frame.initialExchange();
    frame.resize(870, 670);
    frame.show();

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("sample.dat"));
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write("High, 1000\r\nMove, 1200, -350, 40\r\nPause \r\n"
              "Status, 0,0,0,0,1000,0,0,0,0,1,1,0,0,0,0,0,0,0,0\r\nMove, 0, 0, 0\r\n");
    out.close();

    ScriptedPrompts boxes;
    boxes.fileNames.push_back(file);
    HostExecutionDialog dialog(frame.control(), boxes, &frame);
    dialog.show();
    dialog.button(QStringLiteral("selectFileButton"))->click();
    QApplication::processEvents();

    // The main window, and the dialog in a drawn frame over its middle.
    QPixmap picture = frame.grab();
    const QPixmap inside = dialog.grab();
    const qreal ratio = picture.devicePixelRatio();
    const int titleHeight = 26;
    const QSize outer(inside.width() / ratio + 2, inside.height() / ratio + titleHeight + 1);
    const QPoint at((picture.width() / ratio - outer.width()) / 2, (picture.height() / ratio - outer.height()) / 2);
    QPainter p(&picture);
    const QRect box(at, outer);
    p.fillRect(box.adjusted(4, 4, 4, 4), QColor(0, 0, 0, 60)); // shadow
    p.fillRect(box, dialog.palette().color(QPalette::Window));
    const QRect title(at + QPoint(1, 1), QSize(outer.width() - 2, titleHeight));
    p.fillRect(title, dialog.palette().color(QPalette::Highlight));
    const int iconSize = 16;
    p.drawPixmap(title.left() + 5, title.top() + (titleHeight - iconSize) / 2,
                 dialog.windowIcon().pixmap(iconSize, iconSize));
    p.setPen(dialog.palette().color(QPalette::HighlightedText));
    p.drawText(title.adjusted(5 + iconSize + 4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, dialog.windowTitle());
    p.drawPixmap(at + QPoint(1, titleHeight + 1), inside);
    p.setPen(dialog.palette().color(QPalette::Dark));
    p.drawRect(box.adjusted(0, 0, -1, -1));
    p.end();

    if (picture.save(QString::fromLocal8Bit(argv[1])))
        return 0;
    return 1;
}
