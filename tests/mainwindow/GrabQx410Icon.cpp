// Writes the program's icon as bitmaps, for installation:
//   qx410icongrab FOLDER
// makes FOLDER/qx410-SIZE.png for every installed size (data/icons holds
// the ones in use). Run by hand; nothing in the test suite calls it.

#include "Qx410Icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        QTextStream(stderr) << "usage: qx410icongrab FOLDER\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int size : Qx410Icon::sizes()) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Qx410Icon::paint(painter, size);
        painter.end();
        const QString path = folder.filePath(QStringLiteral("qx410-%1.png").arg(size));
        if (!image.save(path)) {
            QTextStream(stderr) << "cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
