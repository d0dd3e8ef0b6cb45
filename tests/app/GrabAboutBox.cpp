// Saves a picture of the About box, for the documentation:
//   qx410aboutgrab OUTPUT.png [SCALE]
// Run by hand or by qx410pictures (tests/pictures), which checks its size.

#include "AboutBox.h"

#include "GrabTool.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (!GrabTool::prepare(argc, argv, "qx410aboutgrab OUTPUT.png [SCALE]"))
        return 2;
    QApplication app(argc, argv);
    AboutBox box(QUrl::fromLocalFile(QStringLiteral("/usr/share/qx410/user-guide.md")));
    box.show();
    return GrabTool::save(box, argv[1]);
}
